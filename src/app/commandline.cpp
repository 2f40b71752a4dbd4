#include "app/commandline.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

QString CommandLine::fileToOpen(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("View, search and edit JSON documents as a tree."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(tr("FILE"), tr("The JSON file to open."), tr("[FILE]"));
    parser.process(arguments);

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "%s\n\n", qPrintable(tr("Only one file can be opened at a time.")));
        parser.showHelp(1);
    }
    return files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
}

bool CommandLine::onlyPrints(const QStringList &arguments)
{
    static const QStringList printing {QStringLiteral("-h"), QStringLiteral("--help"),
                                       QStringLiteral("-?"), QStringLiteral("--help-all"),
                                       QStringLiteral("-v"), QStringLiteral("--version")};
    for (qsizetype i = 1; i < arguments.size() && arguments.at(i) != QStringLiteral("--"); ++i) {
        if (printing.contains(arguments.at(i)))
            return true;
    }
    return false;
}
