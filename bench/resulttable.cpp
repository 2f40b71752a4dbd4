#include "resulttable.h"

#include "scenario.h"

#include <QTextStream>

#include <algorithm>

namespace {

// The document the targets are set for.
const QString targetSize = QStringLiteral("100");
const QString smallSize = QStringLiteral("small");

struct RatioRow
{
    const char *numerator;
    const char *denominator;
};

const RatioRow ratioRows[] = {
        {"open", "yyjson-parse"},          {"open", "qjsontree-open"},
        {"save-indented", "yyjson-write"}, {"save-compact", "yyjson-write"},
        {"copy", "yyjson-write"},          {"close", "open"},
        {"search-keys", "open"},           {"search-values", "open"},
};

QString cellKey(const QString &scenario, const QString &size)
{
    return scenario + QLatin1Char('@') + size;
}

QString milliseconds(double ms)
{
    return QString::number(ms, 'f', ms < 10 ? 2 : ms < 100 ? 1 : 0) + QStringLiteral(" ms");
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / 1e6, 'f', 0) + QStringLiteral(" MB");
}

QString times(double ratio)
{
    return QString::number(ratio, 'f', ratio < 0.1 ? 4 : 2) + QStringLiteral("×");
}

// Columns padded to their widest cell, or a markdown table.
QString grid(const QList<QStringList> &rows, bool markdown)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows)
        for (qsizetype column = 0; column < row.size(); ++column) {
            if (widths.size() <= column)
                widths.append(0);
            widths[column] = std::max(widths[column], row[column].size());
        }
    QString text;
    for (qsizetype line = 0; line < rows.size(); ++line) {
        QStringList cells;
        for (qsizetype column = 0; column < rows[line].size(); ++column) {
            const QString &cell = rows[line][column];
            cells << (column == 0 ? cell.leftJustified(widths[column])
                                  : cell.rightJustified(widths[column]));
        }
        text += markdown ? QStringLiteral("| %1 |\n").arg(cells.join(QStringLiteral(" | ")))
                         : cells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
        if (line == 0) {
            QStringList rules;
            // A markdown cell has a space either side; numbers align right.
            for (qsizetype column = 0; column < widths.size(); ++column)
                rules << (!markdown             ? QString(widths[column], QLatin1Char('-'))
                                  : column == 0 ? QString(widths[column] + 2, QLatin1Char('-'))
                                                : QString(widths[column] + 1, QLatin1Char('-'))
                                          + QLatin1Char(':'));
            text += markdown ? QStringLiteral("|%1|\n").arg(rules.join(QStringLiteral("|")))
                             : rules.join(QStringLiteral("  ")) + QLatin1Char('\n');
        }
    }
    return text;
}

} // namespace

ResultTable::ResultTable(const QStringList &sizes)
    : sizes(sizes)
{
}

QString ResultTable::sizeLabel(const QString &size)
{
    return size == smallSize ? size : size + QStringLiteral(" MB");
}

void ResultTable::add(const QString &scenario, const QString &size, const Measurement &measurement)
{
    if (!scenarioOrder.contains(scenario))
        scenarioOrder << scenario;
    cells.insert(cellKey(scenario, size), measurement);
}

const Measurement *ResultTable::find(const QString &scenario, const QString &size) const
{
    const auto it = cells.constFind(cellKey(scenario, size));
    return it == cells.cend() ? nullptr : &*it;
}

std::optional<double> ResultTable::ratio(const QString &numerator, const QString &denominator,
                                         const QString &size) const
{
    const Measurement *top = find(numerator, size);
    const Measurement *bottom = find(denominator, size);
    if (!top || !bottom || !top->ok || !bottom->ok || bottom->medianMs <= 0)
        return std::nullopt;
    return top->medianMs / bottom->medianMs;
}

std::optional<double> ResultTable::bytesPerValue(const QString &size) const
{
    const Measurement *open = find(QStringLiteral("open"), size);
    if (!open || !open->ok || open->values <= 0 || open->heldBytes < 0)
        return std::nullopt;
    return double(open->heldBytes) / double(open->values);
}

ResultTable::Target ResultTable::ratioTarget(const QString &numerator, const QString &denominator,
                                             double limit, const QString &description) const
{
    const std::optional<double> value = ratio(numerator, denominator, targetSize);
    if (!value)
        return {description, QStringLiteral("-"), std::nullopt};
    return {description, times(*value), *value <= limit};
}

QList<ResultTable::Target> ResultTable::targets() const
{
    QList<Target> list;
    list << ratioTarget(QStringLiteral("open"), QStringLiteral("yyjson-parse"), 3,
                        QStringLiteral("open ≤ 3× yyjson-parse"));
    list << ratioTarget(QStringLiteral("open"), QStringLiteral("qjsontree-open"), 0.35,
                        QStringLiteral("open ≤ 0.35× qjsontree-open"));

    Target peak {QStringLiteral("peak while opening ≤ 1.3 GB"), QStringLiteral("-"), {}};
    if (const Measurement *open = find(QStringLiteral("open"), targetSize); open && open->ok) {
        peak.measured = megabytes(open->peakBytes);
        peak.met = open->peakBytes <= qint64(1.3e9);
    }
    list << peak;

    Target held {QStringLiteral("held ≤ 150 B/value"), QStringLiteral("-"), {}};
    if (const std::optional<double> perValue = bytesPerValue(targetSize)) {
        held.measured = QString::number(*perValue, 'f', 1) + QStringLiteral(" B/value");
        held.met = *perValue <= 150;
    }
    list << held;

    for (const char *scenario : {"save-indented", "save-compact", "copy"})
        list << ratioTarget(QLatin1String(scenario), QStringLiteral("yyjson-write"), 2,
                            QStringLiteral("%1 ≤ 2× yyjson-write").arg(QLatin1String(scenario)));
    list << ratioTarget(QStringLiteral("close"), QStringLiteral("open"), 1.0 / 5,
                        QStringLiteral("close ≤ 1/5 open"));
    list << ratioTarget(QStringLiteral("search-keys"), QStringLiteral("open"), 1.0 / 10,
                        QStringLiteral("search-keys ≤ 1/10 open"));
    list << ratioTarget(QStringLiteral("search-values"), QStringLiteral("open"), 1.0 / 4,
                        QStringLiteral("search-values ≤ 1/4 open"));

    Target small {QStringLiteral("small document opens < 10 ms"), QStringLiteral("-"), {}};
    if (const Measurement *open = find(QStringLiteral("open"), smallSize); open && open->ok) {
        small.measured = milliseconds(open->medianMs);
        small.met = open->medianMs < 10;
    }
    list << small;
    return list;
}

QStringList ResultTable::scenarioRows() const
{
    // The scenarios' own order, ours before the peers, whatever order they ran in.
    QStringList rows;
    for (const Scenario &scenario : allScenarios())
        if (scenarioOrder.contains(scenario.name))
            rows << scenario.name;
    return rows;
}

QString ResultTable::render(bool markdown) const
{
    QStringList header {QStringLiteral("scenario")};
    for (const QString &size : sizes)
        header << sizeLabel(size);

    QList<QStringList> measured {header};
    for (const QString &scenario : scenarioRows()) {
        QStringList row {scenario};
        for (const QString &size : sizes) {
            const Measurement *cell = find(scenario, size);
            row << (!cell               ? QStringLiteral("-")
                            : !cell->ok ? QStringLiteral("failed")
                                        : milliseconds(cell->medianMs) + QStringLiteral(" / ")
                                    + megabytes(cell->peakBytes));
        }
        measured << row;
    }

    QList<QStringList> ratios {header};
    ratios.first()[0] = QStringLiteral("ratio");
    for (const RatioRow &pair : ratioRows) {
        QStringList row {QStringLiteral("%1 / %2").arg(QLatin1String(pair.numerator),
                                                       QLatin1String(pair.denominator))};
        for (const QString &size : sizes) {
            const std::optional<double> value
                    = ratio(QLatin1String(pair.numerator), QLatin1String(pair.denominator), size);
            row << (value ? times(*value) : QStringLiteral("-"));
        }
        ratios << row;
    }
    QStringList perValue {QStringLiteral("held bytes per value")};
    for (const QString &size : sizes) {
        const std::optional<double> value = bytesPerValue(size);
        perValue << (value ? QString::number(*value, 'f', 1) : QStringLiteral("-"));
    }
    ratios << perValue;

    QList<QStringList> goals {{QStringLiteral("target (100 MB document)"),
                               QStringLiteral("measured"), QStringLiteral("result")}};
    for (const Target &target : targets())
        goals << QStringList {target.description, target.measured,
                              !target.met           ? QStringLiteral("not measured")
                                      : *target.met ? QStringLiteral("met")
                                                    : QStringLiteral("not met")};

    QString text;
    QTextStream out(&text);
    out << "Median time of the runs / peak resident memory (VmHWM) of the worker\n\n"
        << grid(measured, markdown) << '\n'
        << grid(ratios, markdown) << '\n'
        << grid(goals, markdown) << '\n'
        << "Held bytes: resident memory (VmRSS) after the first opening minus before, "
           "over the number of JSON values. MB = 10^6 bytes.\n";
    return text;
}
