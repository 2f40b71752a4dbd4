#pragma once

class JsonNode;
class SearchMatcher;

// Searches the rows below a node whose children are unmade, in pre-order
// either way, on the parsed values themselves: a search through a document
// of gigabytes makes only the rows on the way to the match it shows.
class ParsedSearch
{
public:
    // The first row below `node` that matches, going down (or up, from the
    // last), or on whose text the matcher could not decide; it is made with
    // its ancestors, and *column holds the matcher's answer for it. Null when
    // no row matches, or when the matcher stopped (*column says which).
    static JsonNode *find(JsonNode *node, bool backward, SearchMatcher &matcher, int *column);
};
