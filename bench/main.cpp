// marbletrellis_bench, behind scripts/bench: `report` makes the documents it
// lacks, runs each scenario on each through `run` in processes of its own and
// prints one table of times, peak memory, ratios and targets.

#include "scenario.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const char usage[] = "usage:\n"
                     "  marbletrellis_bench report [--data DIR] [--sizes small,1,10,100,1000]\n"
                     "      [--runs 5] [--large-runs 3] [--scenarios a,b] [--markdown]\n"
                     "  marbletrellis_bench run SCENARIO FILE [--runs 5]\n";
constexpr quint64 seed = 1;
constexpr qint64 largeBytes = 500 * 1000 * 1000; // measured --large-runs times

// "small" is the size a user opens every day; the others are megabytes.
const auto targetBytes = [](const QString &size) {
    return size == QLatin1String("small") ? 300 * 1000
                                          : qint64(std::max(0.0, size.toDouble()) * 1e6);
};
const auto sizeLabel = [](const QString &size) {
    return size == QLatin1String("small") || size.endsWith(QLatin1String(".json"))
            ? size
            : size + QStringLiteral(" MB");
};
const auto milliseconds = [](double ms) {
    return QString::number(ms, 'f', ms < 10 ? 2 : ms < 100 ? 1 : 0) + QStringLiteral(" ms");
};
const auto megabytes
        = [](double bytes) { return QString::number(bytes / 1e6, 'f', 0) + QStringLiteral(" MB"); };
const auto times = [](double ratio) {
    return QString::number(ratio, 'f', ratio < 0.1 ? 4 : 2) + QStringLiteral("×");
};
const auto perValue = [](double bytes) { return QString::number(bytes, 'f', 1); };
const auto perResult = [](double bytes) { return perValue(bytes) + QStringLiteral(" B/result"); };
const auto perValueWithUnit
        = [](double bytes) { return perValue(bytes) + QStringLiteral(" B/value"); };

// What the workers of one scenario reported on one document.
struct Cell
{
    QList<double> timesMs;
    qint64 peakBytes = -1;
    double perValue = -1;
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

// A scenario's median time ("open"), peak memory ("open peak"), memory held
// per JSON value ("open held") or a ratio of medians ("close/open").
std::optional<double> figure(const Cells &cells, const QString &what, const QString &size)
{
    if (const qsizetype slash = what.indexOf(QLatin1Char('/')); slash >= 0) {
        const std::optional<double> top = figure(cells, what.left(slash), size);
        const std::optional<double> bottom = figure(cells, what.mid(slash + 1), size);
        return top && bottom && *bottom > 0 ? std::optional(*top / *bottom) : std::nullopt;
    }
    if (what == QLatin1String("file")) // the document's own size
        return double(targetBytes(size));
    const QStringList words = what.split(QLatin1Char(' '));
    const auto cell = cells.constFind(words[0] + QLatin1Char('@') + size);
    if (cell == cells.cend() || !cell->error.isEmpty())
        return std::nullopt;
    if (words.value(1) == QLatin1String("peak"))
        return double(cell->peakBytes);
    if (words.value(1) == QLatin1String("held"))
        return cell->perValue >= 0 ? std::optional(cell->perValue) : std::nullopt;
    return cell->medianMs();
}

// What the program is held to; the ratios are shown at every size too.
struct Target
{
    const char *description;
    const char *figure;
    const char *size;
    double limit;
    QString (*format)(double);
};
const Target targets[] = {
        {"100 MB: open ≤ 1.5× yyjson-read", "open/yyjson-read", "100", 1.5, times},
        {"100 MB: peak while opening ≤ 3× the file", "open peak/file", "100", 3, times},
        {"1 GB: peak while opening ≤ 3× the file", "open peak/file", "1000", 3, times},
        {"2 GB: peak while opening ≤ 3× the file", "open peak/file", "2000", 3, times},
        {"1 GB: first-paint ≤ 1.6× yyjson-read", "first-paint/yyjson-read", "1000", 1.6, times},
        {"2 GB: first-paint ≤ 1.6× yyjson-read", "first-paint/yyjson-read", "2000", 1.6, times},
        {"1 GB: open-gap ≤ 100 ms", "open-gap", "1000", 100, milliseconds},
        {"2 GB: open-gap ≤ 100 ms", "open-gap", "2000", 100, milliseconds},
        {"100 MB: close ≤ 0.1× open", "close/open", "100", 0.1, times},
        {"1 GB: open-lines ≤ 1.2× open", "open-lines/open", "1000", 1.2, times},
        {"1 GB: open-lines peak ≤ 1.2× open's", "open-lines peak/open peak", "1000", 1.2, times},
        {"100 MB: search-values ≤ 0.3× open", "search-values/open", "100", 0.3, times},
        {"100 MB: search-regex ≤ 1× open", "search-regex/open", "100", 1, times},
        {"100 MB: query-nomatch ≤ 0.3× open", "query-nomatch/open", "100", 0.3, times},
        {"100 MB: query-nomatch peak ≤ 1.1× first-paint's", "query-nomatch peak/first-paint peak",
         "100", 1.1, times},
        {"100 MB: query-all holds ≤ 32 B/result", "query-all held", "100", 32, perResult},
        {"100 MB: query-filter ≤ 0.5× open", "query-filter/open", "100", 0.5, times},
        // Against a window that holds the document and does next to nothing.
        {"100 MB: search-values peak ≤ 1.1× first-paint's", "search-values peak/first-paint peak",
         "100", 1.1, times},
        {"100 MB: save-indented ≤ 1.5× yyjson-write", "save-indented/yyjson-write", "100", 1.5,
         times},
        {"100 MB: save-indented peak ≤ 1.1× open's", "save-indented peak/open peak", "100", 1.1,
         times},
        {"expand-million ≤ 0.5 s", "expand-million", millionDocument, 500, milliseconds},
        {"scroll-million ≤ 0.5 s", "scroll-million", millionDocument, 500, milliseconds},
        {"100 MB: open ≤ 0.35× qjsontree-open", "open/qjsontree-open", "100", 0.35, times},
        {"100 MB: held ≤ 150 B/value", "open held", "100", 150, perValueWithUnit},
        {"100 MB: save-compact ≤ 2× yyjson-write", "save-compact/yyjson-write", "100", 2, times},
        {"100 MB: copy ≤ 2× yyjson-write", "copy/yyjson-write", "100", 2, times},
        {"100 MB: delete-top ≤ 1/5 open", "delete-top/open", "100", 1.0 / 5, times},
        {"100 MB: undo-delete-top ≤ 1/5 open", "undo-delete-top/open", "100", 1.0 / 5, times},
        {"100 MB: delete-top peak ≤ 1.1× copy-path's", "delete-top peak/copy-path peak", "100", 1.1,
         times},
        {"100 MB: undo-delete-top peak ≤ 1.1× copy-path's", "undo-delete-top peak/copy-path peak",
         "100", 1.1, times},
        // The largest double below 10: under 10 ms, not up to it.
        {"small document opens < 10 ms", "open", "small", std::nextafter(10.0, 0.0), milliseconds},
};

// Columns padded to their widest cell, or a markdown table; numbers align right.
QString grid(QList<QStringList> rows, bool markdown)
{
    QList<qsizetype> widths(rows[0].size());
    for (const QStringList &row : rows)
        for (qsizetype column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    QStringList rules; // in markdown, a cell has a space either side
    for (qsizetype column = 0; column < widths.size(); ++column) {
        rules << QString(widths[column] + (markdown ? 1 : 0), QLatin1Char('-'))
                        + QLatin1String(!markdown        ? ""
                                                : column ? ":"
                                                         : "-");
        for (QStringList &row : rows)
            row[column] = column ? row[column].rightJustified(widths[column])
                                 : row[column].leftJustified(widths[column]);
    }
    rows.insert(1, rules);
    QString text;
    for (qsizetype line = 0; line < rows.size(); ++line)
        text += !markdown ? rows[line].join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n')
                : line == 1
                ? QStringLiteral("|%1|\n").arg(rows[line].join(QLatin1Char('|')))
                : QStringLiteral("| %1 |\n").arg(rows[line].join(QStringLiteral(" | ")));
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
    const auto measured = [&cells](const char *name, const QString &size) {
        const Cell cell = cells.value(QLatin1String(name) + QLatin1Char('@') + size);
        return cell.error.isEmpty() && !cell.timesMs.isEmpty() ? milliseconds(cell.medianMs())
                        + QStringLiteral(" / ") + megabytes(double(cell.peakBytes))
                                                               : QStringLiteral("failed");
    };
    QList<QStringList> fixed {{QStringLiteral("scenario"), QStringLiteral("fixed document"),
                               QStringLiteral("time / peak")}};
    for (const Scenario &scenario : scenarios) {
        if (scenario.document) {
            fixed << QStringList {QLatin1String(scenario.name), QLatin1String(scenario.document),
                                  measured(scenario.name, QLatin1String(scenario.document))};
            continue;
        }
        timings << QStringList(QLatin1String(scenario.name));
        for (const QString &size : sizes)
            timings.last() << measured(scenario.name, size);
    }
    QList<QStringList> goals {
            {QStringLiteral("target"), QStringLiteral("measured"), QStringLiteral("result")}};
    for (const Target &target : targets) {
        const QString what = QLatin1String(target.figure);
        const QString ratio = QString(what).replace(QLatin1Char('/'), QStringLiteral(" / "));
        if (what.contains(QLatin1Char('/'))
            && std::none_of(ratios.cbegin(), ratios.cend(),
                            [&ratio](const QStringList &row) { return row[0] == ratio; })) {
            ratios << QStringList(ratio);
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
            + (timings.size() > 1 ? grid(timings, markdown) + QLatin1Char('\n') : QString())
            + (fixed.size() > 1 ? grid(fixed, markdown) + QLatin1Char('\n') : QString())
            + (timings.size() == 1 ? QString()
                                   : grid(ratios, markdown) + QLatin1Char('\n')
                               + grid(goals, markdown) + QLatin1Char('\n'))
            + QStringLiteral("Held bytes: resident memory (VmRSS) after the first opening minus "
                             "before, over the number of JSON values. MB = 10^6 bytes.\n");
}

// The document of that size, or the fixed document of that file name,
// generated when missing; empty on failure.
QString document(const QString &folder, const QString &size, QString *error)
{
    const QByteArray fixed = fixedDocument(size);
    const QString path = QDir(folder).filePath(
            !fixed.isEmpty() ? size
                             : (size == QLatin1String("small") ? size : size + QStringLiteral("mb"))
                            + QStringLiteral("-s%1.json").arg(seed));
    if (QFileInfo::exists(path))
        return path;
    QTextStream(stderr) << "generating " << path << Qt::endl;
    // Written under another name first, so an interrupted run leaves no
    // truncated document to be taken for a finished one later.
    const QString partial = path + QStringLiteral(".part");
    QFile file(partial);
    if ((fixed.isEmpty() && targetBytes(size) <= 0) || !QDir().mkpath(folder)
        || !(fixed.isEmpty() ? generateDocument(partial, targetBytes(size), seed, error)
                             : file.open(QIODevice::WriteOnly) && file.write(fixed) == fixed.size()
                             && file.flush())
        || !QFile::rename(partial, path)) {
        *error = QStringLiteral("cannot generate %1: %2")
                         .arg(path, fixed.isEmpty() ? *error : file.errorString());
        return {};
    }
    return path;
}

void runWorker(const QString &scenario, const QString &path, int runs, Cell &cell)
{
    // Settings of the worker's own: the user's (a compact prettyPrint, say)
    // must not change what is measured.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    QProcess worker;
    worker.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("run"), scenario, path, QStringLiteral("--runs"),
                  QString::number(runs)});
    worker.waitForFinished(-1);
    const QList<QByteArray> fields = worker.readAllStandardOutput().simplified().split(' ');
    if (worker.exitStatus() != QProcess::NormalExit || worker.exitCode() != 0
        || fields.size() != runs + 2) {
        cell.error = QString::fromLocal8Bit(worker.readAllStandardError()).trimmed();
        return;
    }
    for (qsizetype i = 0; i < runs; ++i)
        cell.timesMs << fields[i].toDouble();
    cell.peakBytes = std::max(cell.peakBytes, fields[runs].toLongLong());
    cell.perValue = fields[runs + 1].toDouble();
}

int report(const QString &folder, const QStringList &sizes, const QList<Scenario> &scenarios,
           int runs, int largeRuns, bool markdown)
{
    Cells cells;
    bool failed = false;
    QTextStream progress(stderr);
    // Each size, then the fixed documents: a scenario of one runs on it alone.
    QStringList documents;
    for (const Scenario &scenario : scenarios)
        for (const QString &size :
             scenario.document ? QStringList(QLatin1String(scenario.document)) : sizes)
            if (!documents.contains(size))
                documents << size;
    for (const QString &size : documents) {
        QString error;
        const QString path = document(folder, size, &error);
        if (path.isEmpty()) {
            progress << error << Qt::endl;
            failed = true;
            continue;
        }
        const int sizeRuns = targetBytes(size) >= largeBytes ? largeRuns : runs;
        for (const Scenario &scenario : scenarios) {
            if (scenario.document ? size != QLatin1String(scenario.document)
                                  : !sizes.contains(size))
                continue;
            const QString name = QLatin1String(scenario.name);
            Cell &cell = cells[name + QLatin1Char('@') + size];
            for (int run = 0; run < (scenario.coldStart ? sizeRuns : 1) && cell.error.isEmpty();
                 ++run)
                runWorker(name, path, scenario.coldStart ? 1 : sizeRuns, cell);
            progress << sizeLabel(size) << ' ' << name << ": "
                     << (cell.error.isEmpty() ? milliseconds(cell.medianMs())
                                              : QStringLiteral("FAILED: ") + cell.error)
                     << Qt::endl;
            failed = failed || !cell.error.isEmpty();
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
        if (!argument.startsWith(QLatin1String("--")))
            positional << argument;
        else
            options[argument] = argument == QLatin1String("--markdown") || i + 1 == argc
                    ? QString()
                    : QString::fromLocal8Bit(argv[++i]);
    }
    const auto option = [&](const char *name, const char *fallback) {
        return options.value(QLatin1String(name), QLatin1String(fallback));
    };
    const QStringList names = option("--scenarios", "").split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QStringList sizes
            = option("--sizes", "small,1,10,100,1000").split(QLatin1Char(','), Qt::SkipEmptyParts);
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
    QTextStream(stderr) << usage;
    return 2;
}
