#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <cstddef>
#include <cstdint>

class JsonNode;
class JsonTreeModel;

// Checks shared by the fuzz targets. A failed check aborts, so that libFuzzer
// keeps the input that led to it as a reproducer.
[[noreturn]] void fuzzFailure(const char *what, const char *file, int line);
#define FUZZ_CHECK(condition) ((condition) ? void() : fuzzFailure(#condition, __FILE__, __LINE__))

// A QApplication on the offscreen platform with a settings store of its own,
// made once per process; the user's display and settings are never touched.
void startOffscreenApplication();

// Every node below the invisible root, in document order.
QList<JsonNode *> documentNodes(const JsonTreeModel &model);

// Parent links and rows hold everywhere, and array elements carry their
// position labels, except in the arrays in `typedLabels`, whose element keys
// were typed over since their children last changed.
void checkTree(const JsonTreeModel &model, const QSet<const JsonNode *> &typedLabels = {});

// The document and each top-level value write in both modes, and what is
// written reads back.
void checkWrites(const JsonTreeModel &model);

// Same keys, kinds and values all the way down.
bool sameTree(const JsonNode *first, const JsonNode *second);

// The fuzzer's bytes taken one decision at a time; past the end every read
// gives zeros.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size);

    bool atEnd() const { return position >= size; }
    uint8_t byte();
    // Up to `maxLength` bytes, as many as the next byte says.
    QByteArray bytes(int maxLength);
    // A short text: one of `choices` or, as often, bytes of the input as UTF-8.
    QString text(const QList<QString> &choices);

private:
    const uint8_t *data;
    size_t size;
    size_t position = 0;
};
