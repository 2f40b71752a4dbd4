#include "benchdriver.h"

#include "documentgenerator.h"
#include "measurement.h"
#include "resulttable.h"
#include "scenario.h"
#include "scenarioworker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// A few hundred kilobytes: the size a user opens every day.
constexpr qint64 smallBytes = 300 * 1000;
constexpr int largeMegabytes = 500;

QTextStream &progress()
{
    static QTextStream stream(stderr);
    return stream;
}

} // namespace

BenchDriver::BenchDriver(const Options &options)
    : options(options)
{
}

qint64 BenchDriver::targetBytes(const QString &size)
{
    if (size == QLatin1String("small"))
        return smallBytes;
    bool ok = false;
    const double megabytes = size.toDouble(&ok);
    return ok && megabytes > 0 ? qint64(megabytes * 1e6) : -1;
}

QString BenchDriver::document(const QString &folder, const QString &size, quint64 seed,
                              QString *error)
{
    const qint64 bytes = targetBytes(size);
    if (bytes < 0) {
        *error = QStringLiteral("unknown size \"%1\"").arg(size);
        return {};
    }
    const QString name = size == QLatin1String("small")
            ? QStringLiteral("small-s%1.json").arg(seed)
            : QStringLiteral("%1mb-s%2.json").arg(size).arg(seed);
    const QString path = QDir(folder).filePath(name);
    if (QFileInfo::exists(path))
        return path;

    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return {};
    }
    // Written under another name first, so an interrupted run leaves no
    // truncated document to be taken for a finished one later.
    const QString partial = path + QStringLiteral(".part");
    progress() << "generating " << path << Qt::endl;
    DocumentGenerator generator(seed);
    if (!generator.writeFile(partial, bytes, error) || !QFile::rename(partial, path)) {
        if (error->isEmpty())
            *error = QStringLiteral("cannot rename %1").arg(partial);
        QFile::remove(partial);
        return {};
    }
    return path;
}

Measurement BenchDriver::measure(const Scenario &scenario, const QString &path, int runs) const
{
    if (!scenario.coldStart)
        return runWorker(scenario.name, path, runs);
    QList<Measurement> parts;
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        const Measurement part = runWorker(scenario.name, path, 1);
        if (!part.ok)
            return part;
        parts << part;
        times << part.medianMs;
    }
    Measurement combined = parts.first();
    combined.medianMs = ScenarioWorker::median(times);
    for (const Measurement &part : parts)
        combined.peakBytes = qMax(combined.peakBytes, part.peakBytes);
    return combined;
}

Measurement BenchDriver::runWorker(const QString &scenario, const QString &path, int runs) const
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
    Measurement measurement;
    if (!worker.waitForFinished(-1)) {
        measurement.error = worker.errorString();
        return measurement;
    }
    const QList<QByteArray> lines = worker.readAllStandardOutput().trimmed().split('\n');
    const QJsonObject report = QJsonDocument::fromJson(lines.last()).object();
    if (report.isEmpty()) {
        measurement.error = QStringLiteral("the worker ended without a report (exit %1): %2")
                                    .arg(worker.exitCode())
                                    .arg(QString::fromLocal8Bit(
                                            worker.readAllStandardError().trimmed().right(500)));
        return measurement;
    }
    return Measurement::fromReport(report);
}

int BenchDriver::run()
{
    ResultTable table(options.sizes);
    QStringList failures;
    for (const QString &size : options.sizes) {
        QString error;
        const QString path = document(options.dataFolder, size, options.seed, &error);
        if (path.isEmpty()) {
            failures << QStringLiteral("%1: %2").arg(size, error);
            continue;
        }
        const int runs = targetBytes(size) >= qint64(largeMegabytes) * 1000 * 1000
                ? options.largeRuns
                : options.runs;
        for (const Scenario &scenario : allScenarios()) {
            if (!options.scenarios.isEmpty() && !options.scenarios.contains(scenario.name))
                continue;
            QElapsedTimer wall;
            wall.start();
            const Measurement measurement = measure(scenario, path, runs);
            table.add(scenario.name, size, measurement);
            progress() << ResultTable::sizeLabel(size) << ' ' << scenario.name << ": ";
            if (measurement.ok) {
                progress() << QString::number(measurement.medianMs, 'f', 2) << " ms, peak "
                           << measurement.peakBytes / 1000000 << " MB";
            } else {
                progress() << "FAILED: " << measurement.error;
                failures << QStringLiteral("%1 %2: %3")
                                    .arg(ResultTable::sizeLabel(size), scenario.name,
                                         measurement.error);
            }
            progress() << " (" << wall.elapsed() / 1000 << " s)" << Qt::endl;
        }
    }

    QTextStream out(stdout);
    out << '\n' << table.render(options.markdown);
    if (!failures.isEmpty())
        out << "\nFailures:\n- " << failures.join(QStringLiteral("\n- ")) << '\n';
    return failures.isEmpty() ? 0 : 1;
}
