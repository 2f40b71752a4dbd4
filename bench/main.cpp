// marbletrellis_bench: a developer's measuring tool for Marbletrellis.
//
//   marbletrellis_bench generate OUT.json [--mb 100] [--seed 1]
//   marbletrellis_bench run SCENARIO FILE [--runs 5]
//   marbletrellis_bench report [--data DIR] [--sizes small,1,10,100,500] [--runs 5]
//                              [--large-runs 3] [--scenarios a,b] [--seed 1] [--markdown]
//
// `report` runs each scenario through `run` in a process of its own and
// prints one table; `run` prints one line of JSON.

#include "app/startup.h"
#include "benchapplication.h"
#include "benchdriver.h"
#include "documentgenerator.h"
#include "scenario.h"
#include "scenarioworker.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QTextStream>

#include <memory>

namespace {

int usage()
{
    QTextStream(stderr)
            << "usage:\n"
               "  marbletrellis_bench generate OUT.json [--mb 100] [--seed 1]\n"
               "  marbletrellis_bench run SCENARIO FILE [--runs 5]\n"
               "  marbletrellis_bench report [--data DIR] [--sizes small,1,10,100,500]\n"
               "                             [--runs 5] [--large-runs 3] [--scenarios a,b]\n"
               "                             [--seed 1] [--markdown]\n"
               "scenarios:";
    for (const Scenario &scenario : allScenarios())
        QTextStream(stderr) << ' ' << scenario.name;
    QTextStream(stderr) << '\n';
    return 2;
}

// "--name value" pairs and "--flag"s after the positional arguments.
struct Arguments
{
    QStringList positional;
    QHash<QString, QString> options;

    static Arguments parse(const QStringList &list)
    {
        Arguments arguments;
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString &argument = list[i];
            if (argument == QLatin1String("--markdown"))
                arguments.options.insert(argument, QString());
            else if (argument.startsWith(QLatin1String("--")) && i + 1 < list.size())
                arguments.options.insert(argument, list[++i]);
            else
                arguments.positional << argument;
        }
        return arguments;
    }

    QString value(const char *name, const QString &fallback) const
    {
        return options.value(QLatin1String(name), fallback);
    }
};

int generate(const Arguments &arguments)
{
    if (arguments.positional.size() != 1)
        return usage();
    const double megabytes = arguments.value("--mb", QStringLiteral("100")).toDouble();
    DocumentGenerator generator(arguments.value("--seed", QStringLiteral("1")).toULongLong());
    QString error;
    if (megabytes <= 0
        || !generator.writeFile(arguments.positional[0], qint64(megabytes * 1e6), &error)) {
        QTextStream(stderr) << "cannot generate: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << arguments.positional[0] << ": " << generator.bytesWritten() << " bytes, "
                        << generator.recordCount() << " records\n";
    return 0;
}

int report(const Arguments &arguments)
{
    BenchDriver::Options options;
    options.dataFolder = arguments.value("--data", QStringLiteral("build-bench/data"));
    options.sizes = arguments.value("--sizes", QStringLiteral("small,1,10,100,500"))
                            .split(QLatin1Char(','), Qt::SkipEmptyParts);
    options.scenarios
            = arguments.value("--scenarios", QString()).split(QLatin1Char(','), Qt::SkipEmptyParts);
    options.runs = arguments.value("--runs", QStringLiteral("5")).toInt();
    options.largeRuns = arguments.value("--large-runs", QStringLiteral("3")).toInt();
    options.seed = arguments.value("--seed", QStringLiteral("1")).toULongLong();
    options.markdown = arguments.options.contains(QStringLiteral("--markdown"));
    for (const QString &name : options.scenarios)
        if (!findScenario(name))
            return usage();
    if (options.runs < 1 || options.largeRuns < 1 || options.sizes.isEmpty())
        return usage();
    return BenchDriver(options).run();
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList list;
    for (int i = 1; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    const QString command = list.value(0);
    const Arguments arguments = Arguments::parse(list.mid(1));

    if (command == QLatin1String("run")) {
        const Scenario *scenario = findScenario(arguments.positional.value(0));
        const int runs = arguments.value("--runs", QStringLiteral("5")).toInt();
        if (!scenario || arguments.positional.size() != 2 || runs < 1)
            return usage();
        // Measured offscreen always: the clipboard stays in the process and
        // no display's speed enters the figures.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Set up as the program sets itself up; the peers run as they come.
        if (!scenario->peer)
            tuneMemoryAllocator();
        std::unique_ptr<QCoreApplication> application;
        if (scenario->needsWidgets)
            application = std::make_unique<BenchApplication>(argc, argv);
        else
            application = std::make_unique<QCoreApplication>(argc, argv);
        const QJsonObject result = ScenarioWorker::run(*scenario, arguments.positional[1], runs);
        QTextStream(stdout) << QJsonDocument(result).toJson(QJsonDocument::Compact) << '\n';
        if (result.contains(QLatin1String("error"))) {
            QTextStream(stderr) << scenario->name << ": "
                                << result.value(QLatin1String("error")).toString() << '\n';
            return 1;
        }
        return 0;
    }

    QCoreApplication application(argc, argv);
    if (command == QLatin1String("generate"))
        return generate(arguments);
    if (command == QLatin1String("report"))
        return report(arguments);
    return usage();
}
