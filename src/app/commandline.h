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
    // text and exit; so do invalid arguments, with an error.
    static QString fileToOpen(const QStringList &arguments);

    // Whether the arguments ask for --help or --version, which print and
    // exit: they need no display, so no window system is opened for them.
    static bool onlyPrints(const QStringList &arguments);
};
