#pragma once

#include "io/cdeleter.h"
#include "tree/nodesource.h"
#include "tree/textpool.h"

#include <QByteArrayView>

#include <memory>

class JsonNode;

// A file's text parsed in place and kept, so that a document of gigabytes
// opens by making its top-level node only: the nodes below are made from the
// parsed values when first asked for (NodeSource), and what is never opened
// costs the parser's 16 bytes a value and no more. The text and the parsed
// values are freed with the last node that may still need them.
class ParsedDocument : public NodeSource
{
public:
    // Takes `buffer` (from malloc, holding the text parsed in place) and the
    // document parsed there, `depth` levels of containers deep. Every value
    // must fit a node (fitsTree).
    ParsedDocument(CPointer<char> buffer, CPointer<yyjson_doc> doc, int depth);

    // The top-level node, with its children unmade; the nodes then own the
    // parsed document between them.
    static std::unique_ptr<JsonNode> topLevelNode(std::unique_ptr<ParsedDocument> parsed);

    // Whether every value of `doc` can become a node: no container nested
    // deeper than JsonReader::maxDepth, no raw number but an integer. One
    // pass over the parsed values, without making any node, which finds how
    // many levels of containers nest (*depth) too.
    static bool fitsTree(yyjson_doc *doc, int *depth);

    // The parsed value of a container whose children are unmade; null when
    // they are made (or it has none).
    static yyjson_val *unmadeValue(const JsonNode *node);

    // The number of parsed values (member names included) in `value`'s
    // subtree, itself included; found without walking it.
    static size_t subtreeSize(yyjson_val *value);

    // The stretch of memory that holds the text of every member name and
    // string below `container`: they are stored one after another in
    // document order. Empty when there is none.
    static QByteArrayView textBelow(yyjson_val *container);

    // Whether the text had comments, which the parsed values do not keep.
    bool hasComments() const { return m_hasComments; }
    void setHasComments(bool hasComments) { m_hasComments = hasComments; }

    void makeChildren(JsonNode *node, const void *value) override;
    int childCount(const void *value) const override;
    int nestingDepth(const void *value, int limit) const override;

private:
    const CPointer<char> m_buffer;
    const CPointer<yyjson_doc> m_doc;
    int m_depth;
    bool m_hasComments = false;
    TextPool m_texts;
};
