#pragma once

#include <QString>

#include <memory>

class JsonNode;
struct yyjson_val;

// Makes a detached node tree from a parsed yyjson value.
class TreeBuilder
{
public:
    // The subtree of `value`, its top node keyed `key`; null when the value
    // nests deeper than JsonReader::maxDepth or holds a raw number that is no
    // integer. The parsed document must outlive the call only.
    static std::unique_ptr<JsonNode> build(yyjson_val *value, const QString &key);
};
