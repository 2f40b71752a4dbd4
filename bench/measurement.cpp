#include "measurement.h"

#include <QJsonObject>

Measurement Measurement::fromReport(const QJsonObject &report)
{
    Measurement measurement;
    measurement.error = report.value(QLatin1String("error")).toString();
    measurement.medianMs = report.value(QLatin1String("medianMs")).toDouble(-1);
    measurement.peakBytes = report.value(QLatin1String("peakBytes")).toInteger(-1);
    measurement.values = report.value(QLatin1String("values")).toInteger(-1);
    measurement.heldBytes = report.value(QLatin1String("heldBytes")).toInteger(-1);
    measurement.ok = measurement.error.isEmpty() && measurement.medianMs >= 0;
    if (!measurement.ok && measurement.error.isEmpty())
        measurement.error = QStringLiteral("no time reported");
    return measurement;
}
