#include "scenario.h"

#include "scenariofunctions.h"

#include <QElapsedTimer>
#include <QFile>

const QList<Scenario> &allScenarios()
{
    static const QList<Scenario> scenarios = {
            {QStringLiteral("open"), false, false, true, runOpen},
            {QStringLiteral("close"), false, false, false, runClose},
            {QStringLiteral("save-indented"), false, false, false, runSaveIndented},
            {QStringLiteral("save-compact"), false, false, false, runSaveCompact},
            {QStringLiteral("copy"), false, true, false, runCopy},
            {QStringLiteral("duplicate-small"), false, true, false, runDuplicateSmall},
            {QStringLiteral("duplicate-large"), false, true, false, runDuplicateLarge},
            {QStringLiteral("search-keys"), false, true, false, runSearchKeys},
            {QStringLiteral("search-values"), false, true, false, runSearchValues},
            {QStringLiteral("search-regex"), false, true, false, runSearchRegex},
            {QStringLiteral("find-next-nearby"), false, true, false, runFindNextNearby},
            {QStringLiteral("first-paint"), false, true, true, runFirstPaint},
            {QStringLiteral("yyjson-parse"), true, false, true, runYyjsonParse},
            {QStringLiteral("yyjson-write"), true, false, false, runYyjsonWrite},
            {QStringLiteral("qjson-parse"), true, false, true, runQJsonParse},
            {QStringLiteral("qjson-write"), true, false, false, runQJsonWrite},
            {QStringLiteral("qjsontree-open"), true, false, true, runQJsonTreeOpen},
            {QStringLiteral("qjsontree-close"), true, false, false, runQJsonTreeClose},
    };
    return scenarios;
}

const Scenario *findScenario(const QString &name)
{
    for (const Scenario &scenario : allScenarios())
        if (scenario.name == name)
            return &scenario;
    return nullptr;
}

QByteArray readWholeFile(const QString &path, ScenarioResult &result)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return {};
    }
    return file.readAll();
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}
