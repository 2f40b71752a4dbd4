// marbletrellis_bench: a developer's measuring tool for Marbletrellis.
//
//   marbletrellis_bench report [--data DIR] [--sizes small,1,10,100,500] [--runs 5]
//                              [--large-runs 3] [--scenarios a,b] [--markdown]
//   marbletrellis_bench run SCENARIO FILE [--runs 5]
//
// `report` runs each scenario through `run` in processes of its own and
// prints one table; `run` prints one line of JSON.

#include "app/startup.h"
#include "benchapplication.h"
#include "report.h"
#include "scenario.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <memory>

namespace {

int usage(const QList<Scenario> &scenarios)
{
    QTextStream error(stderr);
    error << "usage:\n"
             "  marbletrellis_bench report [--data DIR] [--sizes small,1,10,100,500] [--runs 5]\n"
             "                             [--large-runs 3] [--scenarios a,b] [--markdown]\n"
             "  marbletrellis_bench run SCENARIO FILE [--runs 5]\n"
             "scenarios:";
    for (const Scenario &scenario : scenarios)
        error << ' ' << scenario.name;
    error << '\n';
    return 2;
}

// One scenario in this process, so that its peak memory is its own and no run
// inherits the heap of another: its times, peak and findings as JSON.
int work(const Scenario &scenario, const QString &path, int runs, int &argc, char **argv)
{
    // Measured offscreen always: the clipboard stays in the process and no
    // display's speed enters the figures.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Set up as the program sets itself up; the peers run as they come.
    if (scenario.kind != Scenario::Peer)
        tuneMemoryAllocator();
    const std::unique_ptr<QCoreApplication> application(scenario.kind == Scenario::Window
                                                                ? new BenchApplication(argc, argv)
                                                                : new QCoreApplication(argc, argv));
    WorkerFindings findings;
    QJsonArray times;
    QJsonObject result;
    try {
        const ScenarioRun run = scenario.setup(path, findings);
        for (int i = 0; i < runs; ++i)
            times.append(run());
    } catch (const ScenarioFailure &failure) {
        result[QStringLiteral("error")] = QString::fromStdString(failure.what());
        QTextStream(stderr) << scenario.name << ": " << failure.what() << '\n';
    }
    result[QStringLiteral("timesMs")] = times;
    result[QStringLiteral("peakBytes")] = memoryStatus("VmHWM");
    if (findings.values >= 0) {
        result[QStringLiteral("values")] = findings.values;
        result[QStringLiteral("heldBytes")] = findings.heldBytes;
    }
    QTextStream(stdout) << QJsonDocument(result).toJson(QJsonDocument::Compact) << '\n';
    return result.contains(QLatin1String("error")) ? 1 : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QList<Scenario> scenarios = ownScenarios() + peerScenarios();
    // Positional arguments, "--name value" pairs and the one flag.
    QStringList positional;
    QHash<QString, QString> options;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith(QLatin1String("--")) && argument != QLatin1String("--markdown"))
            options.insert(argument, i + 1 < argc ? QString::fromLocal8Bit(argv[++i]) : QString());
        else if (argument.startsWith(QLatin1String("--")))
            options.insert(argument, QString());
        else
            positional << argument;
    }
    const auto option = [&](const char *name, const char *fallback) {
        return options.value(QLatin1String(name), QLatin1String(fallback));
    };
    const auto list = [&](const char *name, const char *fallback) {
        return option(name, fallback).split(QLatin1Char(','), Qt::SkipEmptyParts);
    };
    const int runs = option("--runs", "5").toInt();

    if (positional.value(0) == QLatin1String("run") && positional.size() == 3 && runs >= 1) {
        for (const Scenario &scenario : scenarios)
            if (positional[1] == QLatin1String(scenario.name))
                return work(scenario, positional[2], runs, argc, argv);
    } else if (positional == QStringList(QStringLiteral("report"))) {
        ReportOptions request;
        request.dataFolder = option("--data", "build-bench/data");
        request.sizes = list("--sizes", "small,1,10,100,500");
        request.runs = runs;
        request.largeRuns = option("--large-runs", "3").toInt();
        request.markdown = options.contains(QStringLiteral("--markdown"));
        const QStringList names = list("--scenarios", "");
        for (const Scenario &scenario : scenarios)
            if (names.isEmpty() || names.contains(QLatin1String(scenario.name)))
                request.scenarios << scenario;
        if (!request.sizes.isEmpty() && runs >= 1 && request.largeRuns >= 1
            && request.scenarios.size() == (names.isEmpty() ? scenarios.size() : names.size())) {
            QCoreApplication application(argc, argv);
            return report(request);
        }
    }
    return usage(scenarios);
}
