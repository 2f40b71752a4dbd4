#pragma once

// The scenarios behind the table, grouped by the file that holds them. Each
// takes the document's path and the number of runs and fills a ScenarioResult.

#include "scenario.h"

class QByteArray;
class QElapsedTimer;

// modelscenarios.cpp
void runOpen(const QString &path, int runs, ScenarioResult &result);
void runClose(const QString &path, int runs, ScenarioResult &result);
void runSaveIndented(const QString &path, int runs, ScenarioResult &result);
void runSaveCompact(const QString &path, int runs, ScenarioResult &result);

// windowscenarios.cpp
void runCopy(const QString &path, int runs, ScenarioResult &result);
void runDuplicateSmall(const QString &path, int runs, ScenarioResult &result);
void runDuplicateLarge(const QString &path, int runs, ScenarioResult &result);

// searchscenarios.cpp
void runSearchKeys(const QString &path, int runs, ScenarioResult &result);
void runSearchValues(const QString &path, int runs, ScenarioResult &result);
void runSearchRegex(const QString &path, int runs, ScenarioResult &result);
void runFindNextNearby(const QString &path, int runs, ScenarioResult &result);

// firstpaint.cpp
void runFirstPaint(const QString &path, int runs, ScenarioResult &result);

// peerscenarios.cpp
void runYyjsonParse(const QString &path, int runs, ScenarioResult &result);
void runYyjsonWrite(const QString &path, int runs, ScenarioResult &result);
void runQJsonParse(const QString &path, int runs, ScenarioResult &result);
void runQJsonWrite(const QString &path, int runs, ScenarioResult &result);
void runQJsonTreeOpen(const QString &path, int runs, ScenarioResult &result);
void runQJsonTreeClose(const QString &path, int runs, ScenarioResult &result);

// Shared by the files above.
QByteArray readWholeFile(const QString &path, ScenarioResult &result);
double elapsedMs(const QElapsedTimer &timer);
