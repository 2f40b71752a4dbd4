// Paste: clipboard text through Edit > Paste; a refused paste changes nothing, all reloads intact.

#include "fuzzchecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *documents[] = {
            R"({"port": 80, "name": "n", "list": [1, "two", null], "cfg": {"a": {"b": []}}, "": 5})",
            "42"};
    const QList<Path> places = {{0},    {0, 0},    {0, 1},       {0, 2}, {0, 2, 0}, {0, 2, 2},
                                {0, 3}, {0, 3, 0}, {0, 3, 0, 0}, {0, 4}, {}};
    // Never destroyed: Qt's clean-up at exit would race the window's.
    static WindowFixture *window = new WindowFixture;
    static QAbstractItemModelTester tester(window->model,
                                           QAbstractItemModelTester::FailureReportingMode::Fatal);
    // The first byte picks the row (the empty path: none current), its column
    // (0x40), the answer (0x80) and whether the document is a lone scalar.
    const int choice = size > 0 ? data[0] : 0;
    const bool scalar = choice / places.size() % 4 == 3;
    const Path place = places.at(choice % places.size()).mid(0, scalar ? 1 : -1);
    FUZZ_CHECK(window->model->loadFromString(QString::fromUtf8(documents[scalar])));
    window->tree->setCurrentIndex(indexAt(*window->model, place, choice & 0x40 ? 1 : 0));
    qApp->clipboard()->setText(QString::fromUtf8(QByteArrayView(data, size).sliced(size > 0)));
    const QString before = compact(*window->model);
    MessageBoxAnswer answer(choice & 0x80 ? QMessageBox::Yes : QMessageBox::No);
    window->action("actionPaste")->trigger();
    FUZZ_CHECK(window->status->text().startsWith(QLatin1String("Pasted"))
               || compact(*window->model) == before);
    checkRoundTrip(*window->model);
    return 0;
}
