#pragma once

#include "scenario.h"

#include <QStringList>

// The driver side: makes the documents it lacks, runs every scenario on every
// size in worker processes of their own, and prints one table of times, peak
// memory, ratios and targets.
struct ReportOptions
{
    QString dataFolder;
    // "small" or megabytes ("1", "100").
    QStringList sizes;
    QList<Scenario> scenarios;
    int runs = 5;
    // For the documents of 500 MB and more.
    int largeRuns = 3;
    bool markdown = false;
};

// The exit code: 0 when every scenario ran.
int report(const ReportOptions &options);
