// The scenarios: the document model, the main window, then the peers.

#include "scenario.h"

#include "app/mainwindow.h"
#include "app/startup.h"
#include "dialogs/searchdialog.h"
#include "io/parseddocument.h"
#include "io/pasteparser.h"
#include "model/jsontreemodel.h"
#include "tree/jsonnode.h"

#include <yyjson.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace {

// What opening a document keeps in memory, and its number of JSON values.
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
    check(file.open(QIODevice::ReadOnly), QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

// Stops its clock when the first paint of the object it filters has been
// handled, not when it starts: it takes the event and hands it on itself.
struct PaintWatch : QObject
{
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        watched->removeEventFilter(this);
        QCoreApplication::sendEvent(watched, event);
        paintedMs = double(clock.nsecsElapsed()) / 1e6;
        return true;
    }

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
const auto settle = [] {
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
};

std::unique_ptr<JsonTreeModel> loadedModel(const QString &path)
{
    auto model = std::make_unique<JsonTreeModel>();
    const bool loaded = model->loadFromFile(path);
    check(loaded, QStringLiteral("cannot open %1: %2").arg(path, model->parseError()));
    return model;
}

QString pathItself(const QString &path)
{
    return path;
}

// Times making a thing of what `input` gives; destroyed after the clock stops.
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

// The document's JSON values, member names not counted. An opened file is
// counted on its parsed values, so that counting makes no node.
qint64 countValues(const JsonTreeModel &model, const QModelIndex &parent = {})
{
    const JsonNode *node = JsonTreeModel::nodeForIndex(parent);
    if (yyjson_val *root = node ? ParsedDocument::unmadeValue(node) : nullptr) {
        yyjson_val *end = root + ParsedDocument::subtreeSize(root);
        qint64 names = 0;
        for (yyjson_val *value = root; value < end; ++value)
            names += yyjson_is_obj(value) ? qint64(yyjson_get_len(value)) : 0;
        return qint64(end - root) - names;
    }
    qint64 count = parent.isValid() ? 1 : 0;
    for (int row = 0, rows = model.rowCount(parent); row < rows; ++row)
        count += countValues(model, model.index(row, 0, parent));
    return count;
}

// The real main window, shown offscreen.
struct Window
{
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
            } else if (modal && !qobject_cast<QProgressDialog *>(modal)) {
                modal->close(); // the message of a failed opening
            }
        });
        poll.start(5);
        action("actionOpen")->trigger();
        check(model->rowCount() > 0, QStringLiteral("opening %1 failed").arg(path));
    }

    MainWindow main;
    QTreeView *tree = main.findChild<QTreeView *>();
    JsonTreeModel *model = qobject_cast<JsonTreeModel *>(tree->model());
};

ScenarioRun openModel(const QString &path)
{
    return [path] {
        // A fresh model each run: none pays for destroying the one before.
        auto model = std::make_unique<JsonTreeModel>();
        const qint64 residentBefore = memoryStatus("VmRSS");
        bool loaded = false;
        const double ms = timeMs([&] { loaded = model->loadFromFile(path); });
        check(loaded, QStringLiteral("cannot open %1").arg(path));
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

// The same records as JSON Lines, written once beside the document: the
// document is an array with one record on each line.
QString linesDocument(const QString &path)
{
    const QString linesPath = path + QStringLiteral("l");
    if (QFileInfo(linesPath).exists())
        return linesPath;
    QFile in(path);
    QFile out(linesPath + QStringLiteral(".part"));
    bool ok = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    while (ok && !in.atEnd()) {
        QByteArray line = in.readLine();
        if (line == "[\n" || line == "]\n")
            continue;
        if (line.endsWith(",\n"))
            line.remove(line.size() - 2, 1);
        ok = out.write(line) == line.size();
    }
    check(ok && out.flush() && out.rename(linesPath),
          QStringLiteral("cannot write %1").arg(linesPath));
    return linesPath;
}

ScenarioRun openLines(const QString &path)
{
    return openModel(linesDocument(path));
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

// Copy Path of the document's last and deepest row: the path is built from the
// row's ancestors alone, so it takes as long on any size of document.
ScenarioRun copyDeepestPath(const QString &path)
{
    auto window = std::make_shared<Window>(path);
    QModelIndex row = window->model->index(0, 0);
    while (window->model->rowCount(row) > 0)
        row = window->model->index(window->model->rowCount(row) - 1, 0, row);
    window->tree->setCurrentIndex(row);
    settle();
    return [window] {
        QGuiApplication::clipboard()->clear();
        const double ms = timeMs([&] { window->action("actionCopyPath")->trigger(); });
        check(QGuiApplication::clipboard()->text().startsWith(QLatin1Char('.')),
              QStringLiteral("Copy Path left no path on the clipboard"));
        return ms;
    };
}

// Duplicate as the context menu does it, of the last record, or of the whole
// document as the only element of an array; the copy goes again untimed.
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
        // The history would keep the copy; it goes with it.
        model->removeRows(rows, 1, array);
        model->undoStack()->clear();
        settle();
        return ms;
    };
}

// Delete of the top-level row, the call the context menu's Delete makes, and
// Edit > Undo of it: the history keeps the rows it takes, so neither copies
// nor destroys the document.
template<bool timeUndo> ScenarioRun deleteTopRow(const QString &path)
{
    auto window = std::make_shared<Window>(path);
    return [window] {
        JsonTreeModel *model = window->model;
        QAction *undo = window->action("actionUndo");
        double ms = 0;
        if (timeUndo) {
            model->removeRows(0, 1);
            settle();
            ms = timeMs([undo] { undo->trigger(); });
        } else {
            ms = timeMs([model] { model->removeRows(0, 1); });
            check(model->rowCount() == 0, QStringLiteral("the row was not deleted"));
            settle();
            undo->trigger();
        }
        check(model->rowCount() == 1, QStringLiteral("Undo did not bring the row back"));
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
    options.text = regex ? QStringLiteral("zz+q") : QStringLiteral("no such text: 7f3c");
    options.searchInValue = inValues;
    options.useRegex = regex;
    window->action("actionFind")->trigger(); // the dialog, as a user opens it
    return [window, options, dialog = window->main.findChild<SearchDialog *>()] {
        window->tree->setCurrentIndex({});
        settle();
        const double ms = timeMs([&] { emit dialog->findRequested(options); });
        check(!window->current().isValid(), QStringLiteral("the search found a match"));
        return ms;
    };
}

// A query over the whole document from the Query panel, as Enter runs it:
// one that selects nothing, one that selects every value (what its results
// hold is measured per result), and a filter over the top-level records.
enum class QueryKind { NoMatch, All, Filter };
template<QueryKind kind> ScenarioRun query(const QString &path)
{
    auto window = std::make_shared<Window>(path);
    window->action("actionQuery")->trigger();
    auto *field = window->main.findChild<QLineEdit *>(QStringLiteral("queryField"));
    auto *status = window->main.findChild<QLabel *>(QStringLiteral("queryStatus"));
    check(field && status, QStringLiteral("there is no Query panel"));
    const QString text = kind == QueryKind::NoMatch ? QStringLiteral("$..nomatch")
            : kind == QueryKind::All                ? QStringLiteral("$..*")
                                                    : QStringLiteral("$[?@.id > 100]");
    return [window, field, status, text] {
        field->setText(text);
        const qint64 residentBefore = memoryStatus("VmRSS");
        const double ms = timeMs([&] { emit field->returnPressed(); });
        settle();
        const qint64 results = status->text().section(u' ', 0, 0).toLongLong();
        if (kind == QueryKind::NoMatch)
            check(status->text() == QLatin1String("No results"),
                  QStringLiteral("the query found %1").arg(status->text()));
        else
            check(results > 0, QStringLiteral("the query found %1").arg(status->text()));
        if (kind == QueryKind::All && valueCount < 0) {
            heldBytes = memoryStatus("VmRSS") - residentBefore;
            valueCount = results;
        }
        return ms;
    };
}

ScenarioRun findNextNearby(const QString &path)
{
    auto window = std::make_shared<Window>(path);
    const QModelIndex top = window->model->index(0, 0);
    window->tree->setCurrentIndex(window->model->index(window->model->rowCount(top) / 2, 0, top));
    settle();
    // An untimed first search finds a match in the middle for Find Next.
    SearchOptions options;
    options.text = QStringLiteral("id"); // the first key of every record
    window->action("actionFind")->trigger();
    emit window->main.findChild<SearchDialog *>()->findRequested(options);
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
    return [path] {
        // A fresh window each run: a first paint, not a repaint.
        Window window;
        settle();
        PaintWatch watch;
        QObject::connect(window.model, &QAbstractItemModel::modelReset,
                         [&] { window.tree->viewport()->installEventFilter(&watch); });
        window.open(path, [&watch] { watch.clock.start(); });
        for (const QDeadlineTimer deadline(600 * 1000);
             watch.paintedMs < 0 && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        check(watch.paintedMs >= 0, QStringLiteral("the tree was never painted"));
        return watch.paintedMs;
    };
}

// The longest the GUI thread went without handling events, from accepting
// the file dialog to the first paint of the opened document.
ScenarioRun openGap(const QString &path)
{
    return [path] {
        Window window;
        settle();
        QElapsedTimer since;
        qint64 longestNs = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestNs = std::max(longestNs, since.nsecsElapsed());
            since.restart();
        });
        window.open(path, [&] {
            since.start();
            tick.start(1);
        });
        settle();
        longestNs = std::max(longestNs, since.nsecsElapsed());
        return double(longestNs) / 1e6;
    };
}

// Expanding the array of a million elements in the window, up to its paint;
// with `scroll`, then scrolling to its last element, up to that paint.
template<bool scroll> ScenarioRun expandMillion(const QString &path)
{
    return [path] {
        Window window(path);
        settle();
        const QModelIndex top = window.model->index(0, 0);
        const QModelIndex array = window.model->index(0, 0, window.model->index(0, 0, top));
        // Painted at once, not when the event loop gets to it.
        const auto paint = [&window] { window.tree->viewport()->repaint(); };
        const double expandMs = timeMs([&] {
            window.tree->expand(array);
            paint();
        });
        check(window.model->rowCount(array) == 1000000, QStringLiteral("no million elements"));
        if (!scroll)
            return expandMs;
        return timeMs([&] {
            window.tree->scrollToBottom();
            paint();
        });
    };
}

// The paste document's member as Copy writes it: the file without its braces.
QString pasteText(const QString &path)
{
    return QString::fromUtf8(readWholeFile(path)).trimmed().chopped(1).mid(1).trimmed();
}

// Paste over the object's member of the same key, the question whether to
// overwrite it answered Yes at once: parsing the text and replacing the member.
ScenarioRun overwritePaste(const QString &path)
{
    auto window = std::make_shared<Window>(path);
    QGuiApplication::clipboard()->setText(pasteText(path));
    return [window] {
        JsonTreeModel *model = window->model;
        const QModelIndex top = model->index(0, 0);
        const int elements = model->rowCount(model->index(0, 0, top));
        window->tree->setCurrentIndex(top); // the object, not the member pasted last
        settle();
        bool asked = false;
        QTimer answer; // runs first in the question's own event loop
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                answer.stop();
                asked = true;
                box->button(QMessageBox::Yes)->click();
            }
        });
        answer.start(0);
        const double ms = timeMs([&] { window->action("actionPaste")->trigger(); });
        check(asked && model->rowCount(top) == 1
                      && model->rowCount(model->index(0, 0, top)) == elements,
              QStringLiteral("the paste did not overwrite the member"));
        model->undoStack()->clear(); // and the member it replaced with it
        settle();
        return ms;
    };
}

// The peers: yyjson, QJsonDocument, and a tree built from a QJsonDocument.

std::shared_ptr<yyjson_doc> parseWithYyjson(const QByteArray &bytes)
{
    std::shared_ptr<yyjson_doc> document(yyjson_read(bytes.constData(), size_t(bytes.size()), 0),
                                         yyjson_doc_free);
    check(document != nullptr, QStringLiteral("yyjson cannot parse the document"));
    return document;
}

// Reading the file and parsing it, as a read-only viewer opens a document.
std::shared_ptr<yyjson_doc> readWithYyjson(const QString &path)
{
    std::shared_ptr<yyjson_doc> document(
            yyjson_read_file(QFile::encodeName(path).constData(), 0, nullptr, nullptr),
            yyjson_doc_free);
    check(document != nullptr, QStringLiteral("yyjson cannot read the document"));
    return document;
}

QJsonDocument parseWithQt(const QByteArray &bytes)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    check(!document.isNull(), QStringLiteral("QJsonDocument: %1").arg(error.errorString()));
    return document;
}

template<auto parse> auto parsed(const QString &path)
{
    return parse(readWholeFile(path));
}

// Indented, to memory; freed with the last pointer.
std::shared_ptr<char> writeWithYyjson(const std::shared_ptr<yyjson_doc> &document)
{
    std::shared_ptr<char> text(yyjson_write(document.get(), YYJSON_WRITE_PRETTY, nullptr),
                               std::free);
    check(text != nullptr, QStringLiteral("yyjson cannot write the document"));
    return text;
}

QByteArray writeWithQt(const QJsonDocument &document)
{
    return document.toJson(QJsonDocument::Indented);
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
            {"open-lines", Scenario::Model, true, openLines},
            {"close", Scenario::Model, false, destroying<loadedModel>},
            {"save-indented", Scenario::Model, false, saveModel<true>},
            {"save-compact", Scenario::Model, false, saveModel<false>},
            {"copy", Scenario::Window, false, copyTopRow},
            {"copy-path", Scenario::Window, false, copyDeepestPath},
            {"duplicate-small", Scenario::Window, false, duplicate<false>},
            {"duplicate-large", Scenario::Window, false, duplicate<true>},
            {"delete-top", Scenario::Window, false, deleteTopRow<false>},
            {"undo-delete-top", Scenario::Window, false, deleteTopRow<true>},
            {"search-keys", Scenario::Window, false, search<false, false>},
            {"search-values", Scenario::Window, false, search<true, false>},
            {"search-regex", Scenario::Window, false, search<true, true>},
            {"query-nomatch", Scenario::Window, false, query<QueryKind::NoMatch>},
            {"query-all", Scenario::Window, false, query<QueryKind::All>},
            {"query-filter", Scenario::Window, false, query<QueryKind::Filter>},
            {"find-next-nearby", Scenario::Window, false, findNextNearby},
            {"first-paint", Scenario::Window, true, firstPaint},
            {"overwrite-paste", Scenario::Window, false, overwritePaste, pasteDocument},
            {"paste-parse", Scenario::Model, false, making<PasteParser::parse, pasteText>,
             pasteDocument},
            {"long-key-open", Scenario::Window, true, firstPaint, longKeyDocument},
            {"open-gap", Scenario::Window, true, openGap},
            {"expand-million", Scenario::Window, true, expandMillion<false>, millionDocument},
            {"scroll-million", Scenario::Window, true, expandMillion<true>, millionDocument},
            {"yyjson-read", Scenario::Peer, true, making<readWithYyjson, pathItself>},
            {"yyjson-parse", Scenario::Peer, true, making<parseWithYyjson, readWholeFile>},
            {"yyjson-write", Scenario::Peer, false,
             making<writeWithYyjson, parsed<parseWithYyjson>>},
            {"qjson-parse", Scenario::Peer, true, making<parseWithQt, readWholeFile>},
            {"qjson-write", Scenario::Peer, false, making<writeWithQt, parsed<parseWithQt>>},
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
                                                                ? new QApplication(argc, argv)
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
