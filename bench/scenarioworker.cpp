#include "scenarioworker.h"

#include "processmemory.h"
#include "scenario.h"

#include <QJsonArray>

#include <algorithm>

double ScenarioWorker::median(QList<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QJsonObject ScenarioWorker::run(const Scenario &scenario, const QString &path, int runs)
{
    ScenarioResult result;
    scenario.run(path, runs, result);

    QJsonObject report;
    report[QLatin1String("scenario")] = scenario.name;
    report[QLatin1String("file")] = path;
    QJsonArray times;
    for (double ms : result.timesMs)
        times.append(ms);
    report[QLatin1String("timesMs")] = times;
    report[QLatin1String("medianMs")] = median(result.timesMs);
    report[QLatin1String("peakBytes")] = ProcessMemory::peakResident();
    if (result.values >= 0)
        report[QLatin1String("values")] = result.values;
    if (result.heldBytes >= 0)
        report[QLatin1String("heldBytes")] = result.heldBytes;
    if (result.error.isEmpty() && result.timesMs.size() != runs)
        result.error = QStringLiteral("%1 of %2 runs timed").arg(result.timesMs.size()).arg(runs);
    if (!result.error.isEmpty())
        report[QLatin1String("error")] = result.error;
    return report;
}
