#include "search/parsedsearch.h"

#include "io/parseddocument.h"
#include "search/searchmatcher.h"
#include "tree/jsonnode.h"

#include <yyjson.h>

#include <vector>

JsonNode *ParsedSearch::find(JsonNode *node, bool backward, SearchMatcher &matcher, int *column)
{
    // One frame per open container, its children's values side by side in
    // one vector for all frames; `next` is the child being visited. An empty
    // container is opened and closed again, as its row comes first or last.
    struct Frame
    {
        yyjson_val *container;
        size_t begin;
        size_t end;
        size_t next;
    };
    std::vector<yyjson_val *> children;
    std::vector<Frame> stack;
    const auto open = [&](yyjson_val *container) {
        const size_t begin = children.size();
        if (yyjson_is_obj(container)) {
            yyjson_obj_iter members = yyjson_obj_iter_with(container);
            while (yyjson_val *name = yyjson_obj_iter_next(&members))
                children.push_back(yyjson_obj_iter_get_val(name));
        } else {
            yyjson_arr_iter elements = yyjson_arr_iter_with(container);
            while (yyjson_val *element = yyjson_arr_iter_next(&elements))
                children.push_back(element);
        }
        stack.push_back({container, begin, children.size(), backward ? children.size() : begin});
    };
    // Tests the child at the top frame's `next`; true when the walk ends
    // there. The row it ends on, unless the matcher stopped, is made with
    // the path to it.
    JsonNode *found = nullptr;
    const auto endsHere = [&] {
        const Frame &frame = stack.back();
        yyjson_val *value = children[frame.next];
        // A member's name lies right before its value.
        yyjson_val *name = yyjson_is_obj(frame.container) ? value - 1 : nullptr;
        *column = matcher.matchingColumn(name, qsizetype(frame.next - frame.begin), value);
        if (*column == SearchMatcher::NoMatch)
            return false;
        if (*column != SearchMatcher::Stopped) {
            found = node;
            for (const Frame &step : stack)
                found = found->child(int(step.next - step.begin));
        }
        return true;
    };

    yyjson_val *top = ParsedDocument::unmadeValue(node);
    if (matcher.rulesOutRowsBelow(ParsedDocument::textBelow(top)))
        return nullptr;
    open(top);
    while (!stack.empty()) {
        Frame &frame = stack.back();
        if (!backward) {
            if (frame.next == frame.end) {
                children.resize(frame.begin);
                stack.pop_back();
                if (!stack.empty())
                    ++stack.back().next;
                continue;
            }
            if (endsHere())
                return found;
            if (yyjson_is_ctn(children[frame.next]))
                open(children[frame.next]);
            else
                ++frame.next;
            continue;
        }
        // Going up, a row comes after all of its subtree.
        if (frame.next == frame.begin) {
            children.resize(frame.begin);
            stack.pop_back();
            if (!stack.empty() && endsHere())
                return found;
            continue;
        }
        --frame.next;
        if (yyjson_is_ctn(children[frame.next]))
            open(children[frame.next]);
        else if (endsHere())
            return found;
    }
    return nullptr;
}
