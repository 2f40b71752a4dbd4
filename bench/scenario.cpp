#include "scenario.h"

#include "scenariofunctions.h"

#include <QElapsedTimer>
#include <QFile>

const QList<Scenario> &allScenarios()
{
    static const QList<Scenario> scenarios = {
            {QStringLiteral("open"), false, false, runOpen},
            {QStringLiteral("close"), false, false, runClose},
            {QStringLiteral("save-indented"), false, false, runSaveIndented},
            {QStringLiteral("save-compact"), false, false, runSaveCompact},
            {QStringLiteral("copy"), false, true, runCopy},
            {QStringLiteral("duplicate-small"), false, true, runDuplicateSmall},
            {QStringLiteral("duplicate-large"), false, true, runDuplicateLarge},
            {QStringLiteral("search-keys"), false, true, runSearchKeys},
            {QStringLiteral("search-values"), false, true, runSearchValues},
            {QStringLiteral("search-regex"), false, true, runSearchRegex},
            {QStringLiteral("find-next-nearby"), false, true, runFindNextNearby},
            {QStringLiteral("first-paint"), false, true, runFirstPaint},
            {QStringLiteral("yyjson-parse"), true, false, runYyjsonParse},
            {QStringLiteral("yyjson-write"), true, false, runYyjsonWrite},
            {QStringLiteral("qjson-parse"), true, false, runQJsonParse},
            {QStringLiteral("qjson-write"), true, false, runQJsonWrite},
            {QStringLiteral("qjsontree-open"), true, false, runQJsonTreeOpen},
            {QStringLiteral("qjsontree-close"), true, false, runQJsonTreeClose},
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
