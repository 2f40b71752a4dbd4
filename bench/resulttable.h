#pragma once

#include "measurement.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <optional>

// The driver's results: scenarios by document size, the ratios between
// pairs of them, and the targets they are held to.
class ResultTable
{
public:
    // Sizes as the driver names them: "small", or megabytes ("1", "100").
    explicit ResultTable(const QStringList &sizes);

    void add(const QString &scenario, const QString &size, const Measurement &measurement);
    // Null when the scenario did not run at that size.
    const Measurement *find(const QString &scenario, const QString &size) const;

    // numerator's median time over denominator's; empty unless both succeeded.
    std::optional<double> ratio(const QString &numerator, const QString &denominator,
                                const QString &size) const;
    // The memory an open document keeps per JSON value.
    std::optional<double> bytesPerValue(const QString &size) const;

    struct Target
    {
        QString description;
        QString measured;
        // Empty when not measured.
        std::optional<bool> met;
    };
    QList<Target> targets() const;

    // Times and peaks, ratios, then the targets; aligned text or markdown.
    QString render(bool markdown) const;

    static QString sizeLabel(const QString &size);

private:
    QStringList scenarioRows() const;
    Target ratioTarget(const QString &numerator, const QString &denominator, double limit,
                       const QString &description) const;

    QStringList sizes;
    QStringList scenarioOrder;
    QHash<QString, Measurement> cells;
};
