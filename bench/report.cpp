#include "report.h"

#include "documentgenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// A few hundred kilobytes: the size a user opens every day.
constexpr qint64 smallBytes = 300 * 1000;
constexpr qint64 largeBytes = 500 * 1000 * 1000;
constexpr quint64 seed = 1;
// The document the targets are set for.
const QString targetSize = QStringLiteral("100");
const QString smallSize = QStringLiteral("small");

// What the workers of one scenario reported on one document.
struct Cell
{
    QList<double> timesMs;
    qint64 peakBytes = -1;
    qint64 values = -1;
    qint64 heldBytes = -1;
    QString error;

    double medianMs() const
    {
        QList<double> sorted = timesMs;
        std::sort(sorted.begin(), sorted.end());
        const qsizetype middle = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }
};

qint64 targetBytes(const QString &size)
{
    bool ok = false;
    const double megabytes = size.toDouble(&ok);
    return size == smallSize ? smallBytes : ok && megabytes > 0 ? qint64(megabytes * 1e6) : -1;
}

QString sizeLabel(const QString &size)
{
    return size == smallSize ? size : size + QStringLiteral(" MB");
}

// The document of that size in the folder, generated first when it is missing.
QString document(const QString &folder, const QString &size, QString *error)
{
    if (targetBytes(size) < 0) {
        *error = QStringLiteral("unknown size \"%1\"").arg(size);
        return {};
    }
    const QString path = QDir(folder).filePath(
            QStringLiteral("%1-s%2.json")
                    .arg(size == smallSize ? size : size + QStringLiteral("mb"))
                    .arg(seed));
    if (QFileInfo::exists(path))
        return path;
    // Written under another name first, so an interrupted run leaves no
    // truncated document to be taken for a finished one later.
    const QString partial = path + QStringLiteral(".part");
    QTextStream(stderr) << "generating " << path << Qt::endl;
    if (!QDir().mkpath(folder)
        || !DocumentGenerator(seed).writeFile(partial, targetBytes(size), error)
        || !QFile::rename(partial, path)) {
        *error = QStringLiteral("cannot generate %1: %2").arg(path, *error);
        QFile::remove(partial);
        return {};
    }
    return path;
}

// One worker process: its times are added to the cell, its peak taken when
// higher.
void runWorker(const QString &scenario, const QString &path, int runs, Cell &cell)
{
    // Settings of the worker's own: the user's (a compact prettyPrint, say)
    // must not change what is measured.
    QTemporaryDir configHome;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome.path());
    QProcess worker;
    worker.setProcessEnvironment(environment);
    worker.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("run"), scenario, path, QStringLiteral("--runs"),
                  QString::number(runs)});
    worker.waitForFinished(-1);
    const QJsonObject report
            = QJsonDocument::fromJson(worker.readAllStandardOutput().trimmed().split('\n').last())
                      .object();
    if (report.isEmpty()) {
        cell.error = QStringLiteral("the worker ended without a report: %1")
                             .arg(QString::fromLocal8Bit(worker.readAllStandardError().right(500)));
        return;
    }
    cell.error = report.value(QLatin1String("error")).toString();
    for (const QJsonValue ms : report.value(QLatin1String("timesMs")).toArray())
        cell.timesMs << ms.toDouble();
    if (cell.error.isEmpty() && cell.timesMs.isEmpty())
        cell.error = QStringLiteral("no time reported");
    cell.peakBytes = std::max(cell.peakBytes, report.value(QLatin1String("peakBytes")).toInteger());
    if (cell.values < 0) {
        cell.values = report.value(QLatin1String("values")).toInteger(-1);
        cell.heldBytes = report.value(QLatin1String("heldBytes")).toInteger(-1);
    }
}

QString milliseconds(double ms)
{
    return QString::number(ms, 'f', ms < 10 ? 2 : ms < 100 ? 1 : 0) + QStringLiteral(" ms");
}

QString megabytes(double bytes)
{
    return QString::number(bytes / 1e6, 'f', 0) + QStringLiteral(" MB");
}

QString times(double ratio)
{
    return QString::number(ratio, 'f', ratio < 0.1 ? 4 : 2) + QStringLiteral("×");
}

// Columns padded to their widest cell, or a markdown table; numbers align right.
QString grid(const QList<QStringList> &rows, bool markdown)
{
    QList<qsizetype> widths(rows.first().size());
    for (const QStringList &row : rows)
        for (qsizetype column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    QString text;
    for (qsizetype line = 0; line < rows.size(); ++line) {
        QStringList cells, rules;
        for (qsizetype column = 0; column < widths.size(); ++column) {
            const qsizetype width = widths[column];
            cells << (column == 0 ? rows[line][column].leftJustified(width)
                                  : rows[line][column].rightJustified(width));
            // A markdown cell has a space either side.
            rules << (!markdown ? QString(width, QLatin1Char('-'))
                              : column == 0
                              ? QString(width + 2, QLatin1Char('-'))
                              : QString(width + 1, QLatin1Char('-')) + QLatin1Char(':'));
        }
        text += markdown ? QStringLiteral("| %1 |\n").arg(cells.join(QStringLiteral(" | ")))
                         : cells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
        if (line == 0)
            text += markdown ? QStringLiteral("|%1|\n").arg(rules.join(QLatin1Char('|')))
                             : rules.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    return text;
}

QString render(const QHash<QString, Cell> &cells, const ReportOptions &options)
{
    // The cell of a scenario that ran without failing; null otherwise.
    const auto measured = [&](const char *scenario, const QString &size) -> const Cell * {
        const auto it = cells.constFind(QLatin1String(scenario) + QLatin1Char('@') + size);
        return it != cells.cend() && it->error.isEmpty() ? &*it : nullptr;
    };
    const auto ratio = [&](const char *top, const char *bottom,
                           const QString &size) -> std::optional<double> {
        const Cell *numerator = measured(top, size), *denominator = measured(bottom, size);
        if (!numerator || !denominator || denominator->medianMs() <= 0)
            return std::nullopt;
        return numerator->medianMs() / denominator->medianMs();
    };
    const auto perValue = [&](const QString &size) -> std::optional<double> {
        const Cell *open = measured("open", size);
        if (!open || open->values <= 0 || open->heldBytes < 0)
            return std::nullopt;
        return double(open->heldBytes) / double(open->values);
    };

    QStringList header {QStringLiteral("scenario")};
    for (const QString &size : options.sizes)
        header << sizeLabel(size);
    QList<QStringList> timings {header};
    for (const Scenario &scenario : options.scenarios) {
        QStringList row {QLatin1String(scenario.name)};
        for (const QString &size : options.sizes) {
            const auto it = cells.constFind(row.first() + QLatin1Char('@') + size);
            row << (it == cells.cend()             ? QStringLiteral("-")
                            : !it->error.isEmpty() ? QStringLiteral("failed")
                                                   : milliseconds(it->medianMs())
                                    + QStringLiteral(" / ") + megabytes(double(it->peakBytes)));
        }
        timings << row;
    }

    header.first() = QStringLiteral("ratio");
    QList<QStringList> ratios {header};
    const char *const ratioRows[][2] = {
            {"open", "yyjson-parse"},          {"open", "qjsontree-open"},
            {"save-indented", "yyjson-write"}, {"save-compact", "yyjson-write"},
            {"copy", "yyjson-write"},          {"close", "open"},
            {"search-keys", "open"},           {"search-values", "open"},
    };
    for (const auto &pair : ratioRows) {
        ratios << QStringList(
                QStringLiteral("%1 / %2").arg(QLatin1String(pair[0]), QLatin1String(pair[1])));
        for (const QString &size : options.sizes) {
            const std::optional<double> value = ratio(pair[0], pair[1], size);
            ratios.last() << (value ? times(*value) : QStringLiteral("-"));
        }
    }
    ratios << QStringList(QStringLiteral("held bytes per value"));
    for (const QString &size : options.sizes) {
        const std::optional<double> value = perValue(size);
        ratios.last() << (value ? QString::number(*value, 'f', 1) : QStringLiteral("-"));
    }

    QList<QStringList> targets {{QStringLiteral("target (100 MB document)"),
                                 QStringLiteral("measured"), QStringLiteral("result")}};
    const auto target = [&](const QString &description, std::optional<double> value, double limit,
                            QString (*shown)(double)) {
        targets << QStringList {description, value ? shown(*value) : QStringLiteral("-"),
                                !value                    ? QStringLiteral("not measured")
                                        : *value <= limit ? QStringLiteral("met")
                                                          : QStringLiteral("not met")};
    };
    const Cell *open = measured("open", targetSize);
    const Cell *smallOpen = measured("open", smallSize);
    target(QStringLiteral("open ≤ 3× yyjson-parse"), ratio("open", "yyjson-parse", targetSize), 3,
           times);
    target(QStringLiteral("open ≤ 0.35× qjsontree-open"),
           ratio("open", "qjsontree-open", targetSize), 0.35, times);
    target(QStringLiteral("peak while opening ≤ 1.3 GB"),
           open ? std::optional(double(open->peakBytes)) : std::nullopt, 1.3e9, megabytes);
    target(QStringLiteral("held ≤ 150 B/value"), perValue(targetSize), 150, [](double bytes) {
        return QString::number(bytes, 'f', 1) + QStringLiteral(" B/value");
    });
    for (const char *scenario : {"save-indented", "save-compact", "copy"})
        target(QStringLiteral("%1 ≤ 2× yyjson-write").arg(QLatin1String(scenario)),
               ratio(scenario, "yyjson-write", targetSize), 2, times);
    target(QStringLiteral("close ≤ 1/5 open"), ratio("close", "open", targetSize), 1.0 / 5, times);
    target(QStringLiteral("search-keys ≤ 1/10 open"), ratio("search-keys", "open", targetSize),
           1.0 / 10, times);
    target(QStringLiteral("search-values ≤ 1/4 open"), ratio("search-values", "open", targetSize),
           1.0 / 4, times);
    // The largest double below 10: under 10 ms, not up to it.
    target(QStringLiteral("small document opens < 10 ms"),
           smallOpen ? std::optional(smallOpen->medianMs()) : std::nullopt,
           std::nextafter(10.0, 0.0), milliseconds);

    return QStringLiteral(
                   "Median time of the runs / peak resident memory (VmHWM) of the worker\n\n")
            + grid(timings, options.markdown) + QLatin1Char('\n') + grid(ratios, options.markdown)
            + QLatin1Char('\n') + grid(targets, options.markdown)
            + QStringLiteral("\nHeld bytes: resident memory (VmRSS) after the first opening minus "
                             "before, over the number of JSON values. MB = 10^6 bytes.\n");
}

} // namespace

int report(const ReportOptions &options)
{
    QHash<QString, Cell> cells;
    QStringList failures;
    QTextStream progress(stderr);
    for (const QString &size : options.sizes) {
        QString error;
        const QString path = document(options.dataFolder, size, &error);
        if (path.isEmpty()) {
            failures << error;
            continue;
        }
        const int runs = targetBytes(size) >= largeBytes ? options.largeRuns : options.runs;
        for (const Scenario &scenario : options.scenarios) {
            const QString name = QLatin1String(scenario.name);
            QElapsedTimer wall;
            wall.start();
            Cell &cell = cells[name + QLatin1Char('@') + size];
            for (int run = 0; run < (scenario.coldStart ? runs : 1) && cell.error.isEmpty(); ++run)
                runWorker(name, path, scenario.coldStart ? 1 : runs, cell);
            progress << sizeLabel(size) << ' ' << name << ": ";
            if (cell.error.isEmpty()) {
                progress << QString::number(cell.medianMs(), 'f', 2) << " ms, peak "
                         << cell.peakBytes / 1000000 << " MB";
            } else {
                progress << "FAILED: " << cell.error;
                failures << sizeLabel(size) + QLatin1Char(' ') + name + QStringLiteral(": ")
                                + cell.error;
            }
            progress << " (" << wall.elapsed() / 1000 << " s)" << Qt::endl;
        }
    }
    QTextStream out(stdout);
    out << '\n' << render(cells, options);
    if (!failures.isEmpty())
        out << "\nFailures:\n- " << failures.join(QStringLiteral("\n- ")) << '\n';
    return failures.isEmpty() ? 0 : 1;
}
