// The scenarios: Marbletrellis's document model alone, the main window's
// commands on an open document, then the peers to compare with.

#include "scenario.h"

#include "documentgenerator.h"

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
#include <QMessageBox>
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
[[noreturn]] void fail(const QString &why)
{
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
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

// The application of the scenarios that need widgets. It can watch every
// event after its receiver has handled it, so a scenario can stop its clock
// when a paint is done rather than when it starts.
class BenchApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        const bool handled = QApplication::notify(receiver, event);
        if (afterEvent)
            afterEvent(receiver, type);
        return handled;
    }

    // Called after each event with its receiver, which the event may have
    // destroyed (a deferred delete): compare it, never use it.
    std::function<void(const QObject *receiver, QEvent::Type type)> afterEvent;
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
    if (!model.loadFromFile(path))
        fail(QStringLiteral("cannot open %1: %2").arg(path, model.parseError()));
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
        if (!QTest::qWaitForWindowExposed(&main))
            fail(QStringLiteral("the window was never exposed"));
        if (!path.isEmpty())
            open(path);
    }

    QAction *action(const char *name) { return main.findChild<QAction *>(QLatin1String(name)); }
    QModelIndex current() const { return tree->currentIndex(); }

    // File > Open, the file dialog answered as a user would; `beforeAccept`
    // runs just before the dialog is accepted.
    void open(const QString &path, const std::function<void()> &beforeAccept = {})
    {
        QString refusal;
        // trigger() waits in the dialogs' event loops; the timer answers them.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            auto *name = modal ? modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                               : nullptr;
            if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && name) {
                name->setText(path);
                if (beforeAccept)
                    beforeAccept();
                // Protected in QFileDialog; its override still runs.
                static_cast<QDialog *>(dialog)->accept();
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                refusal = box->text();
                box->reject();
            }
        });
        poll.start(5);
        action("actionOpen")->trigger();
        if (model->rowCount() == 0)
            fail(QStringLiteral("opening %1 failed %2").arg(path, refusal));
    }

    // A search sent as the Find dialog sends it.
    void search(const SearchOptions &options)
    {
        action("actionFind")->trigger();
        emit main.findChild<SearchDialog *>()->findRequested(options);
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

ScenarioRun closeModel(const QString &path)
{
    return [path] {
        auto model = std::make_unique<JsonTreeModel>();
        load(*model, path);
        return timeMs([&] { model.reset(); });
    };
}

template<bool pretty> ScenarioRun saveModel(const QString &path)
{
    auto model = std::make_shared<JsonTreeModel>();
    load(*model, path);
    model->setPrettyPrint(pretty);
    auto folder = std::make_shared<QTemporaryDir>();
    return [model, folder] {
        const QString target = folder->filePath(QStringLiteral("saved.json"));
        bool saved = false;
        const double ms = timeMs([&] { saved = model->saveToFile(target); });
        if (!saved || !QFile::remove(target))
            fail(QStringLiteral("saving to %1 failed").arg(target));
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
        if (clipboard->text().size() < 2)
            fail(QStringLiteral("Copy left the clipboard empty"));
        return ms;
    };
}

// Duplicate as the context menu does it on an array element, timed; the
// copy is taken out again untimed.
ScenarioRun duplicateRun(const std::shared_ptr<Window> &window, const QModelIndex &index)
{
    return [window, element = QPersistentModelIndex(index)] {
        JsonTreeModel *model = window->model;
        const QModelIndex array = model->parent(element);
        const int rows = model->rowCount(array);
        const double ms = timeMs(
                [&] { model->appendNode(array, JsonTreeModel::nodeForIndex(element)->clone()); });
        if (model->rowCount(array) != rows + 1)
            fail(QStringLiteral("the duplicate was not appended"));
        settle();
        model->removeRows(rows, 1, array);
        settle();
        return ms;
    };
}

// Duplicate-large: the whole document, as the only element of an array.
// Duplicate-small: the last record of the large top-level array.
template<bool large> ScenarioRun duplicate(const QString &path)
{
    QTemporaryDir folder;
    QFile wrapped(folder.filePath(QStringLiteral("wrapped.json")));
    if (large
        && (!wrapped.open(QIODevice::WriteOnly)
            || wrapped.write('[' + readWholeFile(path) + ']') < 0 || !wrapped.flush()))
        fail(QStringLiteral("cannot write %1").arg(wrapped.fileName()));
    auto window = std::make_shared<Window>(large ? wrapped.fileName() : path);
    JsonTreeModel *model = window->model;
    const QModelIndex top = model->index(0, 0);
    return duplicateRun(window, model->index(large ? 0 : model->rowCount(top) - 1, 0, top));
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
    return [window, options] {
        window->tree->setCurrentIndex({});
        settle();
        const double ms = timeMs([&] { window->search(options); });
        if (window->current().isValid())
            fail(QStringLiteral("the search found a match"));
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
    window->search(options);
    settle();
    return [window] {
        const QModelIndex before = window->current();
        const double ms = timeMs([&] { window->action("actionFindNext")->trigger(); });
        if (!before.isValid() || !window->current().isValid() || window->current() == before)
            fail(QStringLiteral("Find Next found no next match"));
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
        const QObject *viewport = window.tree->viewport();
        QElapsedTimer timer;
        bool loaded = false;
        double paintedMs = -1;
        QObject::connect(window.model, &QAbstractItemModel::modelReset, [&] { loaded = true; });
        application->afterEvent = [&](const QObject *receiver, QEvent::Type type) {
            if (loaded && paintedMs < 0 && receiver == viewport && type == QEvent::Paint)
                paintedMs = double(timer.nsecsElapsed()) / 1e6;
        };
        const auto unhook = qScopeGuard([application] { application->afterEvent = nullptr; });
        window.open(path, [&timer] { timer.start(); });
        for (const QDeadlineTimer deadline(600 * 1000); paintedMs < 0 && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (paintedMs < 0)
            fail(QStringLiteral("the tree was never painted"));
        return paintedMs;
    };
}

// The yardsticks: yyjson alone, QJsonDocument alone, and a tree of items
// built from a QJsonDocument.

std::shared_ptr<yyjson_doc> parseWithYyjson(const QByteArray &bytes)
{
    std::shared_ptr<yyjson_doc> document(yyjson_read(bytes.constData(), size_t(bytes.size()), 0),
                                         yyjson_doc_free);
    if (!document)
        fail(QStringLiteral("yyjson cannot parse the document"));
    return document;
}

QJsonDocument parseWithQt(const QByteArray &bytes)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (document.isNull())
        fail(QStringLiteral("QJsonDocument: %1").arg(error.errorString()));
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
            {"close", Scenario::Model, false, closeModel},
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
            {"yyjson-parse", Scenario::Peer, true,
             [](const QString &path) -> ScenarioRun {
                 return [bytes = readWholeFile(path)] {
                     std::shared_ptr<yyjson_doc> document;
                     return timeMs([&] { document = parseWithYyjson(bytes); });
                 };
             }},
            {"yyjson-write", Scenario::Peer, false,
             [](const QString &path) -> ScenarioRun {
                 return [document = parseWithYyjson(readWholeFile(path))] {
                     std::unique_ptr<char, decltype(&std::free)> text(nullptr, std::free);
                     const double ms = timeMs([&] {
                         text.reset(yyjson_write(document.get(), YYJSON_WRITE_PRETTY, nullptr));
                     });
                     if (!text)
                         fail(QStringLiteral("yyjson cannot write the document"));
                     return ms;
                 };
             }},
            {"qjson-parse", Scenario::Peer, true,
             [](const QString &path) -> ScenarioRun {
                 return [bytes = readWholeFile(path)] {
                     QJsonDocument document;
                     return timeMs([&] { document = parseWithQt(bytes); });
                 };
             }},
            {"qjson-write", Scenario::Peer, false,
             [](const QString &path) -> ScenarioRun {
                 return [document = parseWithQt(readWholeFile(path))] {
                     QByteArray text;
                     return timeMs([&] { text = document.toJson(QJsonDocument::Indented); });
                 };
             }},
            {"qjsontree-open", Scenario::Peer, true,
             [](const QString &path) -> ScenarioRun {
                 return [path] {
                     std::unique_ptr<PeerItem> root;
                     return timeMs([&] { root = peerTree(path); });
                 };
             }},
            {"qjsontree-close", Scenario::Peer, false,
             [](const QString &path) -> ScenarioRun {
                 return [path] {
                     std::unique_ptr<PeerItem> root = peerTree(path);
                     return timeMs([&] { root.reset(); });
                 };
             }},
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
    QList<double> times;
    try {
        const ScenarioRun run = scenario.setup(path);
        for (int i = 0; i < runs; ++i)
            times << run();
    } catch (const std::runtime_error &failure) {
        QTextStream(stderr) << scenario.name << ": " << failure.what() << '\n';
        return 1;
    }
    QTextStream out(stdout);
    out << qSetRealNumberPrecision(12) << memoryStatus("VmHWM") << ' ' << valueCount << ' '
        << heldBytes;
    for (double ms : times)
        out << ' ' << ms;
    out << '\n';
    return 0;
}
