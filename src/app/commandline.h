#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The program's command line: marbletrellis [FILE], with --help and --version.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    // The file named in `arguments` (the program's own name first), made
    // absolute, or empty when none is named. --help and --version print their
    // text and end the program; so do arguments it cannot take, with an error.
    static QString fileToOpen(const QStringList &arguments);
};
