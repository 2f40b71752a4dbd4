#pragma once

#include "fixture.h"
#include "tree/jsonnode.h"

// A failed check aborts, so that libFuzzer keeps the input as a reproducer.
#define FUZZ_CHECK(condition) \
    ((condition) ? void() : qFatal("%s:%d: check failed: %s", __FILE__, __LINE__, #condition))

// Saved indented and compact, the document reloads as the same tree and text.
void checkRoundTrip(JsonTreeModel &model);
