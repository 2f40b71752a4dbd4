#include "io/parseddocument.h"

#include "io/jsonreader.h"
#include "io/treebuilder.h"

#include "tree/jsonnode.h"

#include <yyjson.h>

#include <algorithm>
#include <vector>

namespace {

// The parsed values lie in one array in document order, each container
// followed by its subtree; a container's value tells where its subtree
// ends. Walks [first, end) and returns how many levels of containers nest
// there, stopping once more than `limit`; `visit` sees every value.
template<typename Visit> int nesting(yyjson_val *first, yyjson_val *end, int limit, Visit visit)
{
    std::vector<yyjson_val *> open; // where each open container's subtree ends
    int deepest = 0;
    for (yyjson_val *value = first; value < end; ++value) {
        while (!open.empty() && value >= open.back())
            open.pop_back();
        if (!visit(value))
            return limit + 1;
        if (yyjson_is_ctn(value)) {
            open.push_back(unsafe_yyjson_get_next(value));
            deepest = std::max(deepest, int(open.size()));
            if (deepest > limit)
                return deepest;
        }
    }
    return deepest;
}

} // namespace

ParsedDocument::ParsedDocument(CPointer<char> buffer, CPointer<yyjson_doc> doc, int depth)
    : m_buffer(std::move(buffer))
    , m_doc(std::move(doc))
    , m_depth(depth)
{
}

std::unique_ptr<JsonNode> ParsedDocument::topLevelNode(std::unique_ptr<ParsedDocument> parsed)
{
    yyjson_val *root = yyjson_doc_get_root(parsed->m_doc.get());
    std::unique_ptr<JsonNode> top = TreeBuilder::node(root, QString(), parsed->m_texts);
    // Once a node holds a reference, the references decide when it goes;
    // with nothing left to make, it goes now.
    if (yyjson_is_ctn(root) && yyjson_get_len(root) > 0)
        top->setUnmadeChildren(parsed.release(), root);
    return top;
}

bool ParsedDocument::fitsTree(yyjson_doc *doc, int *depth)
{
    yyjson_val *root = yyjson_doc_get_root(doc);
    const auto fits = [](yyjson_val *value) {
        if (!yyjson_is_raw(value))
            return true;
        return JsonNode::isIntegerText(
                QString::fromLatin1(yyjson_get_raw(value), qsizetype(yyjson_get_len(value))));
    };
    *depth = nesting(root, root + yyjson_doc_get_val_count(doc), JsonReader::maxDepth, fits);
    return *depth <= JsonReader::maxDepth;
}

yyjson_val *ParsedDocument::unmadeValue(const JsonNode *node)
{
    // This is the only source of unmade children, and its handle is the value.
    return static_cast<yyjson_val *>(const_cast<void *>(node->unmadeChildren()));
}

size_t ParsedDocument::subtreeSize(yyjson_val *value)
{
    return yyjson_is_ctn(value) ? size_t(unsafe_yyjson_get_next(value) - value) : 1;
}

QByteArrayView ParsedDocument::textBelow(yyjson_val *container)
{
    // Parsed in place, each text stays where the file had it; otherwise the
    // parser copies them into one pool in the order it reads them.
    yyjson_val *const end = unsafe_yyjson_get_next(container);
    yyjson_val *first = container + 1;
    while (first < end && !yyjson_is_str(first))
        ++first;
    if (first == end)
        return {};
    yyjson_val *last = end - 1;
    while (!yyjson_is_str(last))
        --last;
    const char *begin = yyjson_get_str(first);
    return QByteArrayView(begin, yyjson_get_str(last) + yyjson_get_len(last) - begin);
}

void ParsedDocument::makeChildren(JsonNode *node, const void *handle)
{
    auto *container = static_cast<yyjson_val *>(const_cast<void *>(handle));
    node->reserveChildren(int(yyjson_get_len(container)));
    const auto place = [this, node](yyjson_val *value, QString key) {
        std::unique_ptr<JsonNode> child = TreeBuilder::node(value, std::move(key), m_texts);
        if (yyjson_is_ctn(value) && yyjson_get_len(value) > 0)
            child->setUnmadeChildren(this, value);
        node->appendChild(child.release());
    };
    if (yyjson_is_obj(container)) {
        yyjson_obj_iter members = yyjson_obj_iter_with(container);
        while (yyjson_val *name = yyjson_obj_iter_next(&members))
            place(yyjson_obj_iter_get_val(name), TreeBuilder::memberName(name, m_texts));
    } else {
        yyjson_arr_iter elements = yyjson_arr_iter_with(container);
        while (yyjson_val *element = yyjson_arr_iter_next(&elements))
            place(element, m_texts.positionLabel(elements.idx - 1));
    }
}

int ParsedDocument::childCount(const void *handle) const
{
    return int(yyjson_get_len(static_cast<yyjson_val *>(const_cast<void *>(handle))));
}

int ParsedDocument::nestingDepth(const void *handle, int limit) const
{
    // No subtree nests deeper than the whole document: most edits are
    // answered without a walk.
    if (m_depth <= limit)
        return m_depth;
    auto *container = static_cast<yyjson_val *>(const_cast<void *>(handle));
    return nesting(container + 1, unsafe_yyjson_get_next(container), limit,
                   [](yyjson_val *) { return true; });
}
