#pragma once

#include <yyjson.h>

#include <cstdlib>
#include <memory>

// Frees what the parser and the C library hand out, so that std::unique_ptr
// owns it: every path out of a function frees it, the failed ones included.
struct CDeleter
{
    void operator()(yyjson_doc *doc) const { yyjson_doc_free(doc); }
    void operator()(yyjson_mut_doc *doc) const { yyjson_mut_doc_free(doc); }
    // Only allocators from yyjson_alc_dyn_new(), the one kind used.
    void operator()(yyjson_alc *allocator) const { yyjson_alc_dyn_free(allocator); }
    // A text buffer from malloc or realloc.
    void operator()(char *buffer) const { std::free(buffer); }
};

template<typename T> using CPointer = std::unique_ptr<T, CDeleter>;
