// Paste: any clipboard text through the window's Edit > Paste, the overwrite
// question answered from the input, comes out as PasteParser reads it.

#include "fuzzchecks.h"

#include "io/pasteparser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *documents[] = {
            R"({"port": 80, "name": "n", "list": [1, "two", null], "cfg": {"a": {"b": []}}, "": 5})",
            "42"};
    const QList<Path> places = {{0},    {0, 0},    {0, 1},       {0, 2}, {0, 2, 0}, {0, 2, 2},
                                {0, 3}, {0, 3, 0}, {0, 3, 0, 0}, {0, 4}, {}};
    // Never destroyed: Qt's clean-up at exit would race the window's.
    static WindowFixture *window = new WindowFixture;
    // The first byte picks the row (the empty path: none current), its column
    // (0x40), the answer (0x80) and whether the document is a lone scalar.
    const int choice = size > 0 ? data[0] : 0;
    const bool scalar = choice / places.size() % 4 == 3, yes = choice & 0x80;
    const Path place = places.at(choice % places.size()).mid(0, scalar ? 1 : -1);
    qApp->clipboard()->setText(QString::fromUtf8(QByteArrayView(data, size).sliced(size > 0)));
    const QString text = qApp->clipboard()->text().trimmed();

    JsonTreeModel expected;
    FUZZ_CHECK(expected.loadFromString(QString::fromUtf8(documents[scalar])));
    QModelIndex target = indexAt(expected, place); // a scalar's container takes the paste
    if (target.isValid() && !JsonTreeModel::nodeForIndex(target)->isContainer())
        target = target.parent();
    PasteParser::Result pasted = PasteParser::parse(text);
    const bool intoArray = target.isValid()
            && JsonTreeModel::nodeForIndex(target)->type() == JsonNodeType::Array;
    const bool member = pasted.kind == PasteParser::Kind::KeyValue && !intoArray;
    int row = member ? 0 : expected.rowCount(target); // the member with the pasted key, or the end
    while (row < expected.rowCount(target) && expected.index(row, 0, target).data() != pasted.key)
        ++row;
    const bool can = target.isValid() && !text.isEmpty() && (intoArray || member);
    const bool asks = can && row < expected.rowCount(target);
    pasted.node->setKey(pasted.key);
    if (can && (!asks || yes))
        FUZZ_CHECK(
                asks ? expected.replaceNode(expected.index(row, 0, target), pasted.node.release())
                     : expected.appendNode(target, pasted.node.release()));

    FUZZ_CHECK(window->model->loadFromString(QString::fromUtf8(documents[scalar])));
    window->tree->setCurrentIndex(indexAt(*window->model, place, choice & 0x40 ? 1 : 0));
    MessageBoxAnswer answer(yes ? QMessageBox::Yes : QMessageBox::No);
    window->action("actionPaste")->trigger();
    FUZZ_CHECK(answer.answer.answered() == asks && dumpTree(*window->model) == dumpTree(expected));
    checkRoundTrip(*window->model);
    return 0;
}
