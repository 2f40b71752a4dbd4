#include "fuzzchecks.h"

// Each target runs in a QApplication, offscreen, off the user's settings (the fixture).
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);
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
        FUZZ_CHECK(reloaded.loadFromFile(path) && reloaded.toJsonString() == text
                   && dumpTree(reloaded) == dumpTree(model));
    }
}
