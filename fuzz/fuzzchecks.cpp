#include "fuzzchecks.h"

#include "fixture.h"

#include <QApplication>

// Every target runs in a QApplication on the offscreen platform with a
// settings store of its own, made once and never destroyed.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    static int argc = 1;
    static char *argv[] = {const_cast<char *>("fuzz"), nullptr};
    new QApplication(argc, argv);
    return 0;
}

void checkRoundTrip(JsonTreeModel &model)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.json"));
    for (const bool pretty : {true, false}) {
        model.setPrettyPrint(pretty);
        const QString text = model.toJsonString();
        FUZZ_CHECK(!text.isEmpty() && model.saveToFile(path) && readFile(path) == text.toUtf8());
        JsonTreeModel reloaded;
        reloaded.setPrettyPrint(pretty);
        FUZZ_CHECK(reloaded.loadFromFile(path) && reloaded.toJsonString() == text);
        FUZZ_CHECK(dumpTree(reloaded) == dumpTree(model));
    }
}
