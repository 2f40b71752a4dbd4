// The document model on its own: opening, closing and saving.

#include "scenariofunctions.h"

#include "processmemory.h"

#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

// Every value of the document: the nodes under the invisible root.
qint64 countValues(const JsonTreeModel &model)
{
    qint64 count = 0;
    std::vector<const JsonNode *> pending;
    for (int row = 0; row < model.rowCount(); ++row)
        pending.push_back(JsonTreeModel::nodeForIndex(model.index(row, 0)));
    while (!pending.empty()) {
        const JsonNode *node = pending.back();
        pending.pop_back();
        ++count;
        for (int row = 0; row < node->childCount(); ++row)
            pending.push_back(node->child(row));
    }
    return count;
}

std::unique_ptr<JsonTreeModel> loadedModel(const QString &path, ScenarioResult &result)
{
    auto model = std::make_unique<JsonTreeModel>();
    if (!model->loadFromFile(path)) {
        result.error = QStringLiteral("cannot open %1: %2").arg(path, model->parseError());
        return nullptr;
    }
    return model;
}

void runSave(const QString &path, int runs, bool pretty, ScenarioResult &result)
{
    const std::unique_ptr<JsonTreeModel> model = loadedModel(path, result);
    QTemporaryDir folder;
    if (!model || !folder.isValid())
        return;
    model->setPrettyPrint(pretty);
    const QString target = folder.filePath(QStringLiteral("saved.json"));
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const bool saved = model->saveToFile(target);
        result.timesMs << elapsedMs(timer);
        if (!saved) {
            result.error = QStringLiteral("saving to %1 failed").arg(target);
            return;
        }
        QFile::remove(target);
    }
}

} // namespace

void runOpen(const QString &path, int runs, ScenarioResult &result)
{
    for (int run = 0; run < runs; ++run) {
        // Each run opens into a fresh model, so no run pays for destroying
        // the document of the one before.
        auto *model = new JsonTreeModel;
        const qint64 residentBefore = ProcessMemory::resident();
        QElapsedTimer timer;
        timer.start();
        const bool loaded = model->loadFromFile(path);
        result.timesMs << elapsedMs(timer);
        if (!loaded) {
            result.error = QStringLiteral("cannot open %1: %2").arg(path, model->parseError());
            delete model;
            return;
        }
        if (run == 0) {
            const qint64 residentAfter = ProcessMemory::resident();
            if (residentBefore >= 0 && residentAfter >= 0)
                result.heldBytes = residentAfter - residentBefore;
            result.values = countValues(*model);
        }
        delete model;
    }
}

void runClose(const QString &path, int runs, ScenarioResult &result)
{
    for (int run = 0; run < runs; ++run) {
        std::unique_ptr<JsonTreeModel> model = loadedModel(path, result);
        if (!model)
            return;
        QElapsedTimer timer;
        timer.start();
        model.reset();
        result.timesMs << elapsedMs(timer);
    }
}

void runSaveIndented(const QString &path, int runs, ScenarioResult &result)
{
    runSave(path, runs, true, result);
}

void runSaveCompact(const QString &path, int runs, ScenarioResult &result)
{
    runSave(path, runs, false, result);
}
