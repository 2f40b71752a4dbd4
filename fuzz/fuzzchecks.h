#pragma once

#include <QtGlobal>

class JsonTreeModel;

// A failed check aborts, so that libFuzzer keeps the input as a reproducer.
#define FUZZ_CHECK(condition) \
    ((condition) ? void() : qFatal("%s:%d: check failed: %s", __FILE__, __LINE__, #condition))

// The document, saved indented and compact, is in the file as written, reloads
// as the same tree and writes again as the same text.
void checkRoundTrip(JsonTreeModel &model);
