// Paste: any clipboard text through Edit > Paste of the real window, the
// overwrite question answered from the input. It asks, pastes and selects as
// PasteParser's reading of the text calls for (worked out on a model of its
// own), and the document stays writable and reloadable.

#include "fuzzchecks.h"

#include "fixture.h"
#include "io/pasteparser.h"
#include "model/jsonnode.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QTreeView>

namespace {

const QString documents[] = {
        QStringLiteral(
                R"({"port": 80, "name": "n", "list": [1, "two", null], "cfg": {"a": {"b": []}}, "": 5})"),
        QStringLiteral("42")};
// Rows to paste at; the empty path leaves no current row.
const QList<Path> places = {{0},    {0, 0},    {0, 1},       {0, 2}, {0, 2, 0}, {0, 2, 2},
                            {0, 3}, {0, 3, 0}, {0, 3, 0, 0}, {0, 4}, {}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Never destroyed: Qt's clean-up at exit would race the window's.
    static WindowFixture *window = new WindowFixture;
    // The first byte picks the row, its column (0x40), the answer (0x80) and
    // whether the document is a lone scalar.
    const uint8_t choice = size > 0 ? data[0] : 0;
    const bool scalar = (choice / places.size()) % 4 == 3, yes = choice & 0x80;
    const int column = choice & 0x40 ? 1 : 0;
    Path place = places.at(choice % places.size());
    if (scalar && !place.isEmpty())
        place = {0};
    QGuiApplication::clipboard()->setText(QString::fromUtf8(
            QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).mid(1)));
    const QString text = QGuiApplication::clipboard()->text().trimmed();

    JsonTreeModel expected;
    FUZZ_CHECK(expected.loadFromString(documents[scalar]));
    Path into = place; // a scalar's container takes the paste
    if (!place.isEmpty() && !nodeOf(indexAt(expected, place))->isContainer())
        into.removeLast();
    const QModelIndex target = indexAt(expected, into);
    PasteParser::Result pasted = PasteParser::parse(text);
    const bool intoArray = target.isValid() && nodeOf(target)->type() == JsonNodeType::Array;
    const bool member = pasted.kind == PasteParser::Kind::KeyValue && !intoArray;
    const bool can
            = !place.isEmpty() && !text.isEmpty() && (intoArray || (member && target.isValid()));
    int row = member ? 0 : expected.rowCount(target); // the member with the pasted key, or the end
    while (row < expected.rowCount(target) && expected.index(row, 0, target).data() != pasted.key)
        ++row;
    const bool asks = can && row < expected.rowCount(target), pastes = can && (!asks || yes);
    if (pastes) {
        JsonNode *node = pasted.node.release();
        node->setKey(pasted.key);
        FUZZ_CHECK(asks ? expected.replaceNode(expected.index(row, 0, target), node)
                        : expected.appendNode(target, node));
    }

    FUZZ_CHECK(window->model->loadFromString(documents[scalar]));
    window->tree->setCurrentIndex(indexAt(*window->model, place, column));
    window->status->clear();
    MessageBoxAnswer answer(yes ? QMessageBox::Yes : QMessageBox::No);
    window->action("actionPaste")->trigger();
    FUZZ_CHECK(answer.answer.answered() == asks);
    // A declined overwrite leaves the status line alone; anything else reports.
    FUZZ_CHECK(window->status->text().startsWith(QStringLiteral("Pasted")) == pastes
               && window->status->text().isEmpty() == (asks && !yes));
    FUZZ_CHECK(window->tree->currentIndex()
               == (pastes ? indexAt(*window->model, into << row)
                          : indexAt(*window->model, place, column)));
    FUZZ_CHECK(dumpTree(*window->model) == dumpTree(expected));
    checkRoundTrip(*window->model);
    return 0;
}
