#pragma once

#include <QString>

#include <memory>

class JsonNode;
class TextPool;
struct yyjson_val;

// Makes a detached node tree from a parsed yyjson value.
class TreeBuilder
{
public:
    // The subtree of `value`, its top node keyed `key`; null when the value
    // nests deeper than JsonReader::maxDepth or holds a raw number that is no
    // integer. The parsed document must outlive the call only.
    static std::unique_ptr<JsonNode> build(yyjson_val *value, const QString &key);

    // A node for the value itself, without its children; null for a raw
    // number that is no integer. Repeated texts come from `texts`.
    static std::unique_ptr<JsonNode> node(yyjson_val *value, QString key, TextPool &texts);
    // The text of a member name.
    static QString memberName(yyjson_val *name, TextPool &texts);
};
