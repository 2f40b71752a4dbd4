// From accepting File > Open's dialog to the first frame of the tree painted.

#include "scenariofunctions.h"

#include "benchapplication.h"
#include "windowhandle.h"

#include "model/jsontreemodel.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTreeView>

#include <memory>

namespace {

constexpr int paintTimeoutMs = 600 * 1000;

} // namespace

void runFirstPaint(const QString &path, int runs, ScenarioResult &result)
{
    auto *application = qobject_cast<BenchApplication *>(QCoreApplication::instance());
    if (!application) {
        result.error = QStringLiteral("first-paint needs the bench's own application");
        return;
    }
    for (int run = 0; run < runs; ++run) {
        // A fresh window each run: the first paint of a new document is what
        // is measured, not a repaint over the last one.
        auto handle = std::make_unique<WindowHandle>();
        handle->settle();
        const QObject *viewport = handle->tree->viewport();
        QElapsedTimer timer;
        bool loaded = false;
        double paintedMs = -1;
        QObject::connect(handle->model, &QAbstractItemModel::modelReset,
                         [&loaded] { loaded = true; });
        application->afterEvent = [&](const QObject *receiver, QEvent::Type type) {
            if (loaded && paintedMs < 0 && receiver == viewport && type == QEvent::Paint)
                paintedMs = elapsedMs(timer);
        };
        const bool opened = handle->openFile(path, &result.error, [&timer] { timer.start(); });
        const QDeadlineTimer deadline(paintTimeoutMs);
        while (opened && paintedMs < 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        application->afterEvent = nullptr;
        if (!opened)
            return;
        if (paintedMs < 0) {
            result.error = QStringLiteral("the tree was never painted");
            return;
        }
        result.timesMs << paintedMs;
    }
}
