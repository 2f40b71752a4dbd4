// marbletrellis_bench, the measuring tool behind scripts/bench (usage below).
// `report` makes the documents it lacks, runs each scenario on each through
// `run` in processes of its own and prints one table of times, peak memory,
// ratios and targets.

#include "documentgenerator.h"
#include "scenario.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const char usageText[] = "usage:\n"
                         "  marbletrellis_bench report [--data DIR] [--sizes small,1,10,100,500]\n"
                         "      [--runs 5] [--large-runs 3] [--scenarios a,b] [--markdown]\n"
                         "  marbletrellis_bench run SCENARIO FILE [--runs 5]\n"
                         "scenarios:";
// A few hundred kilobytes: the size a user opens every day.
constexpr qint64 smallBytes = 300 * 1000;
constexpr qint64 largeBytes = 500 * 1000 * 1000; // measured --large-runs times
constexpr quint64 seed = 1;
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
using Cells = QHash<QString, Cell>; // by "scenario@size"

// "small", or megabytes ("1", "100").
qint64 targetBytes(const QString &size)
{
    const double megabytes = size.toDouble();
    return size == smallSize ? smallBytes : megabytes > 0 ? qint64(megabytes * 1e6) : -1;
}

QString sizeLabel(const QString &size)
{
    return size == smallSize ? size : size + QStringLiteral(" MB");
}

// The document of that size in the folder, generated first when it is missing.
QString document(const QString &folder, const QString &size, QString *error)
{
    const QString path = QDir(folder).filePath(
            QStringLiteral("%1-s%2.json")
                    .arg(size == smallSize ? size : size + QStringLiteral("mb"))
                    .arg(seed));
    // Written under another name first, so an interrupted run leaves no
    // truncated document to be taken for a finished one later.
    const QString partial = path + QStringLiteral(".part");
    if (QFileInfo::exists(path))
        return path;
    QTextStream(stderr) << "generating " << path << Qt::endl;
    if (targetBytes(size) < 0 || !QDir().mkpath(folder)
        || !generateDocument(partial, targetBytes(size), seed, error)
        || !QFile::rename(partial, path)) {
        *error = QStringLiteral("cannot generate %1: %2").arg(path, *error);
        return {};
    }
    return path;
}

// One worker process: its times go into the cell, its peak when higher.
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
    const QList<QByteArray> fields = worker.readAllStandardOutput().simplified().split(' ');
    if (worker.exitStatus() != QProcess::NormalExit || worker.exitCode() != 0
        || fields.size() != 3 + runs) {
        const QByteArray errors = worker.readAllStandardError().trimmed();
        cell.error = errors.isEmpty() ? QStringLiteral("the worker ended without a report")
                                      : QString::fromLocal8Bit(errors.split('\n').last());
        return;
    }
    cell.peakBytes = std::max(cell.peakBytes, fields[0].toLongLong());
    if (cell.values < 0) {
        cell.values = fields[1].toLongLong();
        cell.heldBytes = fields[2].toLongLong();
    }
    for (qsizetype i = 3; i < fields.size(); ++i)
        cell.timesMs << fields[i].toDouble();
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

QString perValue(double bytes)
{
    return QString::number(bytes, 'f', 1);
}

QString perValueWithUnit(double bytes)
{
    return perValue(bytes) + QStringLiteral(" B/value");
}

// A figure at one size: a scenario's median time ("open"), its peak memory
// ("open peak"), the memory it holds per JSON value ("open held"), or the
// ratio of two medians ("close/open"). Empty unless measured.
std::optional<double> figure(const Cells &cells, const QString &what, const QString &size)
{
    if (const qsizetype slash = what.indexOf(QLatin1Char('/')); slash >= 0) {
        const std::optional<double> top = figure(cells, what.left(slash), size);
        const std::optional<double> bottom = figure(cells, what.mid(slash + 1), size);
        return top && bottom && *bottom > 0 ? std::optional(*top / *bottom) : std::nullopt;
    }
    const QStringList words = what.split(QLatin1Char(' '));
    const auto cell = cells.constFind(words[0] + QLatin1Char('@') + size);
    if (cell == cells.cend() || !cell->error.isEmpty())
        return std::nullopt;
    if (words.value(1) == QLatin1String("peak"))
        return double(cell->peakBytes);
    if (words.value(1) == QLatin1String("held"))
        return cell->values > 0 && cell->heldBytes >= 0
                ? std::optional(double(cell->heldBytes) / double(cell->values))
                : std::nullopt;
    return cell->medianMs();
}

// What the program is held to, each target a figure at a size with its limit;
// the ratios among them are shown at every size too.
struct Target
{
    const char *description;
    const char *figure;
    const char *size;
    double limit;
    QString (*format)(double);
};
const Target targets[] = {
        {"open ≤ 3× yyjson-parse", "open/yyjson-parse", "100", 3, times},
        {"open ≤ 0.35× qjsontree-open", "open/qjsontree-open", "100", 0.35, times},
        {"peak while opening ≤ 1.3 GB", "open peak", "100", 1.3e9, megabytes},
        {"held ≤ 150 B/value", "open held", "100", 150, perValueWithUnit},
        {"save-indented ≤ 2× yyjson-write", "save-indented/yyjson-write", "100", 2, times},
        {"save-compact ≤ 2× yyjson-write", "save-compact/yyjson-write", "100", 2, times},
        {"copy ≤ 2× yyjson-write", "copy/yyjson-write", "100", 2, times},
        {"close ≤ 1/5 open", "close/open", "100", 1.0 / 5, times},
        {"search-keys ≤ 1/10 open", "search-keys/open", "100", 1.0 / 10, times},
        {"search-values ≤ 1/4 open", "search-values/open", "100", 1.0 / 4, times},
        // The largest double below 10: under 10 ms, not up to it.
        {"small document opens < 10 ms", "open", "small", std::nextafter(10.0, 0.0), milliseconds},
};

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

QString render(const Cells &cells, const QStringList &sizes, const QList<Scenario> &scenarios,
               bool markdown)
{
    const auto shown = [](std::optional<double> value, QString (*format)(double)) {
        return value ? format(*value) : QStringLiteral("-");
    };
    QList<QStringList> timings {{QStringLiteral("scenario")}};
    for (const QString &size : sizes)
        timings[0] << sizeLabel(size);
    QList<QStringList> ratios {timings[0]};
    ratios[0][0] = QStringLiteral("ratio");
    for (const Scenario &scenario : scenarios) {
        timings << QStringList(QLatin1String(scenario.name));
        for (const QString &size : sizes) {
            const Cell cell = cells.value(timings.last()[0] + QLatin1Char('@') + size);
            timings.last() << (cell.peakBytes < 0 && cell.error.isEmpty() ? QStringLiteral("-")
                                       : !cell.error.isEmpty()
                                       ? QStringLiteral("failed")
                                       : milliseconds(cell.medianMs()) + QStringLiteral(" / ")
                                               + megabytes(double(cell.peakBytes)));
        }
    }
    QList<QStringList> goals {{QStringLiteral("target (100 MB document)"),
                               QStringLiteral("measured"), QStringLiteral("result")}};
    for (const Target &target : targets) {
        const QString what = QLatin1String(target.figure);
        if (what.contains(QLatin1Char('/'))) {
            ratios << QStringList(QString(what).replace(QLatin1Char('/'), QStringLiteral(" / ")));
            for (const QString &size : sizes)
                ratios.last() << shown(figure(cells, what, size), times);
        }
        const std::optional<double> value = figure(cells, what, QLatin1String(target.size));
        goals << QStringList {QString::fromUtf8(target.description), shown(value, target.format),
                              !value                           ? QStringLiteral("not measured")
                                      : *value <= target.limit ? QStringLiteral("met")
                                                               : QStringLiteral("not met")};
    }
    ratios << QStringList(QStringLiteral("held bytes per value"));
    for (const QString &size : sizes)
        ratios.last() << shown(figure(cells, QStringLiteral("open held"), size), perValue);

    return QStringLiteral(
                   "Median time of the runs / peak resident memory (VmHWM) of the worker\n\n")
            + grid(timings, markdown) + QLatin1Char('\n') + grid(ratios, markdown)
            + QLatin1Char('\n') + grid(goals, markdown)
            + QStringLiteral("\nHeld bytes: resident memory (VmRSS) after the first opening minus "
                             "before, over the number of JSON values. MB = 10^6 bytes.\n");
}

// The exit code: 0 when every scenario ran.
int report(const QString &folder, const QStringList &sizes, const QList<Scenario> &scenarios,
           int runs, int largeRuns, bool markdown)
{
    Cells cells;
    bool failed = false;
    QTextStream progress(stderr);
    for (const QString &size : sizes) {
        QString error;
        const QString path = document(folder, size, &error);
        if (path.isEmpty()) {
            progress << error << Qt::endl;
            failed = true;
            continue;
        }
        const int sizeRuns = targetBytes(size) >= largeBytes ? largeRuns : runs;
        for (const Scenario &scenario : scenarios) {
            const QString name = QLatin1String(scenario.name);
            QElapsedTimer wall;
            wall.start();
            Cell &cell = cells[name + QLatin1Char('@') + size];
            for (int run = 0; run < (scenario.coldStart ? sizeRuns : 1) && cell.error.isEmpty();
                 ++run)
                runWorker(name, path, scenario.coldStart ? 1 : sizeRuns, cell);
            failed = failed || !cell.error.isEmpty();
            progress << sizeLabel(size) << ' ' << name << ": "
                     << (cell.error.isEmpty()
                                 ? milliseconds(cell.medianMs()) + QStringLiteral(", peak ")
                                         + megabytes(double(cell.peakBytes))
                                 : QStringLiteral("FAILED: ") + cell.error)
                     << " (" << wall.elapsed() / 1000 << " s)" << Qt::endl;
        }
    }
    QTextStream(stdout) << '\n' << render(cells, sizes, scenarios, markdown);
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QList<Scenario> all = allScenarios();
    QStringList positional;
    QHash<QString, QString> options; // "--name value", and "--markdown" alone
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith(QLatin1String("--")))
            options[argument] = argument == QLatin1String("--markdown") || i + 1 == argc
                    ? QString()
                    : QString::fromLocal8Bit(argv[++i]);
        else
            positional << argument;
    }
    const auto option = [&](const char *name, const char *fallback) {
        return options.value(QLatin1String(name), QLatin1String(fallback));
    };
    const QStringList names = option("--scenarios", "").split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QStringList sizes
            = option("--sizes", "small,1,10,100,500").split(QLatin1Char(','), Qt::SkipEmptyParts);
    const int runs = option("--runs", "5").toInt();
    const int largeRuns = option("--large-runs", "3").toInt();
    QList<Scenario> chosen;
    for (const Scenario &scenario : all)
        if (names.isEmpty() || names.contains(QLatin1String(scenario.name)))
            chosen << scenario;

    if (positional.value(0) == QLatin1String("run") && positional.size() == 3 && runs >= 1) {
        for (const Scenario &scenario : all)
            if (positional[1] == QLatin1String(scenario.name))
                return runScenario(scenario, positional[2], runs, argc, argv);
    } else if (positional == QStringList(QStringLiteral("report")) && !sizes.isEmpty() && runs >= 1
               && largeRuns >= 1
               && chosen.size() == (names.isEmpty() ? all.size() : names.size())) {
        QCoreApplication application(argc, argv);
        return report(option("--data", "build-bench/data"), sizes, chosen, runs, largeRuns,
                      options.contains(QStringLiteral("--markdown")));
    }
    QTextStream error(stderr);
    error << usageText;
    for (const Scenario &scenario : all)
        error << ' ' << scenario.name;
    error << '\n';
    return 2;
}
