#pragma once

#include <QByteArray>

class JsonNode;
struct yyjson_mut_doc;
struct yyjson_mut_val;

// Turns a node and its subtree into JSON text through a yyjson mutable document.
class JsonWriter
{
public:
    // The node written alone as a complete JSON text in UTF-8, indented by four
    // spaces or compact. A null array when the writer fails, as it does for a
    // number that is NaN or infinite.
    static QByteArray write(const JsonNode *node, bool pretty);

private:
    static yyjson_mut_val *nodeToYyjson(const JsonNode *node, yyjson_mut_doc *doc);
    static yyjson_mut_val *addToYyjsonContainer(const JsonNode *child, yyjson_mut_doc *doc,
                                                yyjson_mut_val *container);
};
