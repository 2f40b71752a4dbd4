// The scenarios: Marbletrellis's document model alone, the main window's
// commands on an open document, then the peers to compare with.

#include "bench.h"

#include "app/mainwindow.h"
#include "app/startup.h"
#include "dialogs/searchdialog.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <yyjson.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace {

// What the worker finds besides its times, for the scenario that holds a
// whole document: the memory it keeps and its number of JSON values.
qint64 heldBytes = -1;
qint64 valueCount = -1;

using ScenarioRun = std::function<double()>;

// Setups and runs fail by throwing; the worker reports why.
void check(bool ok, const QString &why)
{
    if (!ok)
        throw std::runtime_error(why.toStdString());
}

template<typename Timed> double timeMs(Timed &&timed)
{
    QElapsedTimer timer;
    timer.start();
    timed();
    return double(timer.nsecsElapsed()) / 1e6;
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    check(opened, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

// The application of the scenarios that need widgets. It notes when the
// first paint of `watched` has been handled, rather than when it starts.
class BenchApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        // The event may destroy its receiver: compared, never used after.
        const bool paint = receiver == watched && event->type() == QEvent::Paint;
        const bool handled = QApplication::notify(receiver, event);
        if (paint && paintedMs < 0)
            paintedMs = double(clock.nsecsElapsed()) / 1e6;
        return handled;
    }

    const QObject *watched = nullptr;
    QElapsedTimer clock;
    double paintedMs = -1;
};

// A field of /proc/self/status ("VmRSS", "VmHWM") in bytes.
qint64 memoryStatus(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field)) // "VmHWM:	  123456 kB"
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

// Lets the window lay out and paint what is pending.
void settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

void load(JsonTreeModel &model, const QString &path)
{
    const bool loaded = model.loadFromFile(path);
    check(loaded, QStringLiteral("cannot open %1: %2").arg(path, model.parseError()));
}

std::unique_ptr<JsonTreeModel> loadedModel(const QString &path)
{
    auto model = std::make_unique<JsonTreeModel>();
    load(*model, path);
    return model;
}

QString pathItself(const QString &path)
{
    return path;
}

// Times making a thing from what `input` gives, untimed, for the document;
// the thing is destroyed once the clock has stopped.
template<auto make, auto input> ScenarioRun making(const QString &path)
{
    return [in = input(path)] {
        decltype(make(in)) made;
        return timeMs([&] { made = make(in); });
    };
}

// Times destroying what `make` made of the document.
template<auto make> ScenarioRun destroying(const QString &path)
{
    return [path] {
        auto made = make(path);
        return timeMs([&] { made.reset(); });
    };
}

qint64 countValues(const JsonTreeModel &model, const QModelIndex &parent = {})
{
    qint64 count = parent.isValid() ? 1 : 0;
    for (int row = 0, rows = model.rowCount(parent); row < rows; ++row)
        count += countValues(model, model.index(row, 0, parent));
    return count;
}

// The real main window, shown offscreen.
struct Window
{
    // With a path, the document opened as open() opens it.
    explicit Window(const QString &path = {})
    {
        main.show();
        check(QTest::qWaitForWindowExposed(&main), QStringLiteral("the window was never exposed"));
        if (!path.isEmpty())
            open(path);
    }

    QAction *action(const char *name) { return main.findChild<QAction *>(QLatin1String(name)); }
    QModelIndex current() const { return tree->currentIndex(); }

    // File > Open, the file dialog answered as a user would; `beforeAccept`
    // runs just before the dialog is accepted.
    void open(const QString &path, const std::function<void()> &beforeAccept = {})
    {
        // trigger() waits in the dialogs' event loops; the timer answers them.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
                if (beforeAccept)
                    beforeAccept();
                // Protected in QFileDialog; its override still runs.
                static_cast<QDialog *>(dialog)->accept();
            } else if (modal) {
                modal->close(); // the message of a failed opening
            }
        });
        poll.start(5);
        action("actionOpen")->trigger();
        check(model->rowCount() > 0, QStringLiteral("opening %1 failed").arg(path));
    }

    // The Find dialog, shown as Edit > Find shows it.
    SearchDialog *findDialog()
    {
        action("actionFind")->trigger();
        return main.findChild<SearchDialog *>();
    }

    MainWindow main;
    QTreeView *tree = main.findChild<QTreeView *>();
    JsonTreeModel *model = qobject_cast<JsonTreeModel *>(tree->model());
};

ScenarioRun openModel(const QString &path)
{
    return [path] {
        // Each run opens into a fresh model, so no run pays for destroying
        // the document of the one before.
        auto model = std::make_unique<JsonTreeModel>();
        const qint64 residentBefore = memoryStatus("VmRSS");
        const double ms = timeMs([&] { load(*model, path); });
        if (valueCount < 0) {
            heldBytes = memoryStatus("VmRSS") - residentBefore;
            valueCount = countValues(*model);
        }
        return ms;
    };
}

template<bool pretty> ScenarioRun saveModel(const QString &path)
{
    std::shared_ptr<JsonTreeModel> model = loadedModel(path);
    model->setPrettyPrint(pretty);
    auto folder = std::make_shared<QTemporaryDir>();
    return [model, folder] {
        const QString target = folder->filePath(QStringLiteral("saved.json"));
        bool saved = false;
        const double ms = timeMs([&] { saved = model->saveToFile(target); });
        check(saved && QFile::remove(target), QStringLiteral("saving to %1 failed").arg(target));
        return ms;
    };
}

ScenarioRun copyTopRow(const QString &path)
{
    auto window = std::make_shared<Window>(path);
    window->tree->setCurrentIndex(window->model->index(0, 0));
    settle();
    return [window] {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const double ms = timeMs([&] { window->action("actionCopy")->trigger(); });
        // A document has at least "[]" to copy.
        check(clipboard->text().size() >= 2, QStringLiteral("Copy left the clipboard empty"));
        return ms;
    };
}

// Duplicate as the context menu does it, on the last record of the large
// top-level array, or on the whole document as the only element of an array;
// timed, then the copy is taken out again untimed.
template<bool large> ScenarioRun duplicate(const QString &path)
{
    QTemporaryDir folder;
    QFile wrapped(folder.filePath(QStringLiteral("wrapped.json")));
    check(!large
                  || (wrapped.open(QIODevice::WriteOnly)
                      && wrapped.write('[' + readWholeFile(path) + ']') >= 0 && wrapped.flush()),
          QStringLiteral("cannot write %1").arg(wrapped.fileName()));
    auto window = std::make_shared<Window>(large ? wrapped.fileName() : path);
    const QModelIndex top = window->model->index(0, 0);
    const int row = large ? 0 : window->model->rowCount(top) - 1;
    return [window, element = QPersistentModelIndex(window->model->index(row, 0, top))] {
        JsonTreeModel *model = window->model;
        const QModelIndex array = model->parent(element);
        const int rows = model->rowCount(array);
        const double ms = timeMs(
                [&] { model->appendNode(array, JsonTreeModel::nodeForIndex(element)->clone()); });
        check(model->rowCount(array) == rows + 1, QStringLiteral("the duplicate was not appended"));
        settle();
        model->removeRows(rows, 1, array);
        settle();
        return ms;
    };
}

// A search that matches nothing, from no current row: the whole document.
template<bool inValues, bool regex> ScenarioRun search(const QString &path)
{
    auto window = std::make_shared<Window>(path);
    SearchOptions options;
    // Found nowhere in a generated document, as key or as value.
    options.text = regex ? QStringLiteral("^zz[0-9]+qq$|no such text: \\d{5}")
                         : QStringLiteral("no such text: 7f3c");
    options.searchInValue = inValues;
    options.useRegex = regex;
    return [window, options, dialog = window->findDialog()] {
        window->tree->setCurrentIndex({});
        settle();
        const double ms = timeMs([&] { emit dialog->findRequested(options); });
        check(!window->current().isValid(), QStringLiteral("the search found a match"));
        return ms;
    };
}

ScenarioRun findNextNearby(const QString &path)
{
    auto window = std::make_shared<Window>(path);
    const QModelIndex top = window->model->index(0, 0);
    window->tree->setCurrentIndex(window->model->index(window->model->rowCount(top) / 2, 0, top));
    settle();
    // The first search, untimed, makes a match in the middle current and
    // leaves the options for Find Next.
    SearchOptions options;
    options.text = QLatin1String(recordIdKey);
    emit window->findDialog()->findRequested(options);
    settle();
    return [window] {
        const QModelIndex before = window->current();
        const double ms = timeMs([&] { window->action("actionFindNext")->trigger(); });
        check(before.isValid() && window->current().isValid() && window->current() != before,
              QStringLiteral("Find Next found no next match"));
        settle();
        return ms;
    };
}

// From accepting File > Open's dialog to the end of the tree's first paint.
ScenarioRun firstPaint(const QString &path)
{
    // A Window scenario: the worker made a BenchApplication.
    auto *application = static_cast<BenchApplication *>(QCoreApplication::instance());
    return [application, path] {
        // A fresh window each run: the first paint of a new document is what
        // is measured, not a repaint over the last one.
        Window window;
        settle();
        application->paintedMs = -1;
        QObject::connect(window.model, &QAbstractItemModel::modelReset,
                         [&] { application->watched = window.tree->viewport(); });
        const auto unwatch = qScopeGuard([application] { application->watched = nullptr; });
        window.open(path, [application] { application->clock.start(); });
        for (const QDeadlineTimer deadline(600 * 1000);
             application->paintedMs < 0 && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        check(application->paintedMs >= 0, QStringLiteral("the tree was never painted"));
        return application->paintedMs;
    };
}

// The yardsticks: yyjson alone, QJsonDocument alone, and a tree of items
// built from a QJsonDocument.

std::shared_ptr<yyjson_doc> parseWithYyjson(const QByteArray &bytes)
{
    std::shared_ptr<yyjson_doc> document(yyjson_read(bytes.constData(), size_t(bytes.size()), 0),
                                         yyjson_doc_free);
    check(document != nullptr, QStringLiteral("yyjson cannot parse the document"));
    return document;
}

QJsonDocument parseWithQt(const QByteArray &bytes)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    check(!document.isNull(), QStringLiteral("QJsonDocument: %1").arg(error.errorString()));
    return document;
}

// An item of the tree JSON viewers commonly build from a QJsonDocument.
struct PeerItem
{
    ~PeerItem() { qDeleteAll(children); }

    QString key;
    QVariant value;
    QJsonValue::Type type;
    QList<PeerItem *> children;
    PeerItem *parent;
};

PeerItem *buildItem(const QJsonValue &value, QString key, PeerItem *parent)
{
    auto *item = new PeerItem {std::move(key), {}, value.type(), {}, parent};
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            item->children.append(buildItem(it.value(), it.key(), item));
    } else if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i)
            item->children.append(buildItem(array.at(i), QString::number(i), item));
    } else if (!value.isNull()) {
        item->value = value.toVariant();
    }
    return item;
}

// The whole opening: reading the file, parsing, building the tree.
std::unique_ptr<PeerItem> peerTree(const QString &path)
{
    const QJsonDocument document = parseWithQt(readWholeFile(path));
    return std::unique_ptr<PeerItem>(buildItem(document.isArray() ? QJsonValue(document.array())
                                                                  : QJsonValue(document.object()),
                                               QString(), nullptr));
}

} // namespace

QList<Scenario> allScenarios()
{
    return {
            {"open", Scenario::Model, true, openModel},
            {"close", Scenario::Model, false, destroying<loadedModel>},
            {"save-indented", Scenario::Model, false, saveModel<true>},
            {"save-compact", Scenario::Model, false, saveModel<false>},
            {"copy", Scenario::Window, false, copyTopRow},
            {"duplicate-small", Scenario::Window, false, duplicate<false>},
            {"duplicate-large", Scenario::Window, false, duplicate<true>},
            {"search-keys", Scenario::Window, false, search<false, false>},
            {"search-values", Scenario::Window, false, search<true, false>},
            {"search-regex", Scenario::Window, false, search<true, true>},
            {"find-next-nearby", Scenario::Window, false, findNextNearby},
            {"first-paint", Scenario::Window, true, firstPaint},
            {"yyjson-parse", Scenario::Peer, true, making<parseWithYyjson, readWholeFile>},
            {"yyjson-write", Scenario::Peer, false,
             [](const QString &path) -> ScenarioRun {
                 return [document = parseWithYyjson(readWholeFile(path))] {
                     char *text = nullptr;
                     const double ms = timeMs([&] {
                         text = yyjson_write(document.get(), YYJSON_WRITE_PRETTY, nullptr);
                     });
                     check(text != nullptr, QStringLiteral("yyjson cannot write the document"));
                     std::free(text);
                     return ms;
                 };
             }},
            {"qjson-parse", Scenario::Peer, true, making<parseWithQt, readWholeFile>},
            {"qjson-write", Scenario::Peer, false,
             [](const QString &path) -> ScenarioRun {
                 return [document = parseWithQt(readWholeFile(path))] {
                     QByteArray text;
                     return timeMs([&] { text = document.toJson(QJsonDocument::Indented); });
                 };
             }},
            {"qjsontree-open", Scenario::Peer, true, making<peerTree, pathItself>},
            {"qjsontree-close", Scenario::Peer, false, destroying<peerTree>},
    };
}

int runScenario(const Scenario &scenario, const QString &path, int runs, int &argc, char **argv)
{
    // Measured offscreen always: the clipboard stays in the process and no
    // display's speed enters the figures.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Set up as the program sets itself up; the peers run as they come.
    if (scenario.kind != Scenario::Peer)
        tuneMemoryAllocator();
    const std::unique_ptr<QCoreApplication> application(scenario.kind == Scenario::Window
                                                                ? new BenchApplication(argc, argv)
                                                                : new QCoreApplication(argc, argv));
    QTextStream out(stdout);
    out << qSetRealNumberPrecision(12);
    try {
        const ScenarioRun run = scenario.setup(path);
        for (int i = 0; i < runs; ++i)
            out << run() << ' ';
    } catch (const std::runtime_error &failure) {
        QTextStream(stderr) << scenario.name << ": " << failure.what() << '\n';
        return 1;
    }
    out << memoryStatus("VmHWM") << ' '
        << (valueCount > 0 ? double(heldBytes) / double(valueCount) : -1.0) << '\n';
    return 0;
}
