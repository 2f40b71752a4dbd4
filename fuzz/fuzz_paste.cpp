// Paste: any clipboard text through the Edit menu's Paste, into an object, an
// array or a scalar's container, with the overwrite question answered Yes or
// No. The model stays consistent and the outcome is one the command reports.

#include "fuzzchecks.h"

#include "app/mainwindow.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

namespace {

const QString document = QStringLiteral(
        R"({"port": 80, "name": "n", "list": [1, "two", null], "cfg": {"a": {"b": []}}, "": 5})");

// Rows to paste at, as paths of rows from the top; the empty path leaves no
// current row, and the last document's top-level row is a scalar.
const QList<QList<int>> places = {{0},    {0, 0},    {0, 1},       {0, 2}, {0, 2, 0}, {0, 2, 2},
                                  {0, 3}, {0, 3, 0}, {0, 3, 0, 0}, {0, 4}, {}};
const QString scalarDocument = QStringLiteral("42");

const QString sentinel = QStringLiteral("before paste");

struct Session
{
    MainWindow window;
    JsonTreeModel *model = window.findChild<JsonTreeModel *>();
    QTreeView *tree = window.findChild<QTreeView *>();
    QLabel *status = window.statusBar()->findChild<QLabel *>();
    QAction *paste = nullptr;
    QAbstractItemModelTester tester {model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    Session()
    {
        for (QAction *action : window.findChildren<QAction *>()) {
            if (action->text() == QStringLiteral("&Paste"))
                paste = action;
        }
        FUZZ_CHECK(model && tree && status && paste);
    }
};

// Answers every message box that opens while it lives, and remembers its text.
class OverwriteAnswer
{
public:
    explicit OverwriteAnswer(bool yes)
    {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this, yes] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            questions.append(box->windowTitle() + QLatin1Char('|') + box->text());
            QAbstractButton *button = box->button(yes ? QMessageBox::Yes : QMessageBox::No);
            FUZZ_CHECK(button);
            button->click();
        });
        timer.start();
    }

    QTimer timer;
    QStringList questions;
};

QModelIndex indexAt(const JsonTreeModel &model, const QList<int> &path, int column)
{
    QModelIndex index;
    for (int i = 0; i < path.size(); ++i)
        index = model.index(path[i], i + 1 == path.size() ? column : 0, index);
    return index;
}

Session *session = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startOffscreenApplication();
    // Made once and never destroyed: Qt's own clean-up at exit would
    // otherwise race the window's destructor.
    session = new Session;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Session &session = *::session;
    FuzzInput input(data, size);
    const uint8_t choice = input.byte();
    const QList<int> &place = places.at(choice % places.size());
    const bool onScalarDocument = (choice / places.size()) % 4 == 3;
    const int column = choice & 0x40 ? 1 : 0;
    const bool yes = choice & 0x80;
    const QByteArray rest(reinterpret_cast<const char *>(data) + std::min<size_t>(size, 1),
                          qsizetype(size > 0 ? size - 1 : 0));
    // Other programs put UTF-16 on the clipboard, lone surrogates and all.
    const bool utf16 = (choice / places.size()) % 4 == 2;
    const QString text = utf16
            ? QString::fromUtf16(reinterpret_cast<const char16_t *>(rest.constData()),
                                 rest.size() / 2)
            : QString::fromUtf8(rest);

    JsonTreeModel &model = *session.model;
    FUZZ_CHECK(model.loadFromString(onScalarDocument ? scalarDocument : document));
    const QModelIndex current
            = indexAt(model, onScalarDocument && !place.isEmpty() ? QList<int> {0} : place, column);
    session.tree->selectionModel()->setCurrentIndex(
            current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    session.status->setText(sentinel);
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);

    // Where the paste should go, and what the tree looked like before.
    JsonNode *target = JsonTreeModel::nodeForIndex(current);
    if (target && !target->isContainer())
        target = target->parent();
    const int childrenBefore = target ? target->childCount() : 0;
    const QString before = model.toJsonString();

    OverwriteAnswer answer(yes);
    session.paste->trigger();
    answer.timer.stop();

    checkTree(model);
    checkWrites(model);

    const QString status = session.status->text();
    const bool intoArray = target && target->type() == JsonNodeType::Array;
    const QModelIndex now = session.tree->currentIndex();
    if (status == QStringLiteral("Pasted value into Array.")
        || status == QStringLiteral("Pasted JSON into Array.")
        || status == QStringLiteral("Pasted text into Array.")) {
        FUZZ_CHECK(intoArray && answer.questions.isEmpty());
        FUZZ_CHECK(target->childCount() == childrenBefore + 1);
        FUZZ_CHECK(JsonTreeModel::nodeForIndex(now) == target->child(childrenBefore));
        if (status == QStringLiteral("Pasted text into Array.")) {
            const JsonNode *pasted = target->child(childrenBefore);
            FUZZ_CHECK(pasted->type() == JsonNodeType::String);
            FUZZ_CHECK(pasted->value().toString() == text.trimmed());
        }
    } else if (status == QStringLiteral("Pasted key and value.")) {
        FUZZ_CHECK(target && target->type() == JsonNodeType::Object);
        // A new member goes last; an overwrite, agreed to, keeps the count.
        const int added = answer.questions.isEmpty() ? 1 : 0;
        FUZZ_CHECK(answer.questions.isEmpty() || yes);
        FUZZ_CHECK(target->childCount() == childrenBefore + added);
        JsonNode *pasted = JsonTreeModel::nodeForIndex(now);
        FUZZ_CHECK(pasted && pasted->parent() == target);
        FUZZ_CHECK(added == 0 || pasted == target->child(childrenBefore));
    } else {
        // Refused or declined: nothing changed.
        FUZZ_CHECK(model.toJsonString() == before);
        if (status == sentinel) {
            FUZZ_CHECK(answer.questions.size() == 1 && !yes);
        } else {
            FUZZ_CHECK(answer.questions.isEmpty());
            const QStringList refusals = {
                    QStringLiteral("No item selected to paste."),
                    QStringLiteral("Clipboard is empty."),
                    QStringLiteral("Can only paste into Object or Array."),
                    QStringLiteral("Object can only paste \"key\": value format."),
            };
            FUZZ_CHECK(refusals.contains(status));
        }
    }
    for (const QString &question : std::as_const(answer.questions)) {
        FUZZ_CHECK(question.startsWith(QStringLiteral("Paste|Key \"")));
        FUZZ_CHECK(question.endsWith(QStringLiteral("\" already exists. Overwrite?")));
    }
    return 0;
}
