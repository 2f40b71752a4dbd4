#pragma once

#include <QString>

class QJsonObject;

// One cell of the table: what one worker reported.
struct Measurement
{
    bool ok = false;
    double medianMs = -1;
    qint64 peakBytes = -1;
    // Only from scenarios that hold a whole document; -1 otherwise.
    qint64 values = -1;
    qint64 heldBytes = -1;
    QString error;

    static Measurement fromReport(const QJsonObject &report);
};
