#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class JsonNode;
class QueryResults;
struct JsonPathQuery;

// A JSONPath query as RFC 9535 defines it, compiled once and run over a
// document as often as needed.
class JsonPath
{
public:
    // Compiles `expression`; an invalid one is reported, never thrown.
    explicit JsonPath(const QString &expression);
    ~JsonPath();
    JsonPath(const JsonPath &other);
    JsonPath &operator=(const JsonPath &other);

    bool isValid() const;
    // What is wrong, naming the position; empty when valid.
    QString errorString() const;
    // The 0-based index into the expression where it goes wrong; -1 when valid.
    int errorPosition() const;

    // The nodes selected from `top` (the document's top-level value), in the
    // order RFC 9535 gives; a node selected twice is listed twice. Makes the
    // nodes it returns and the nodes on their way, and no others.
    QList<JsonNode *> select(JsonNode *top) const;

    // Appends the values selected from `top` to `results` without making any
    // node. `keepGoing` is asked every few thousand values; false ends the
    // run, and the function then returns false.
    bool evaluate(JsonNode *top, QueryResults *results,
                  const std::function<bool()> &keepGoing = {}) const;

private:
    std::shared_ptr<const JsonPathQuery> m_query;
    QString m_errorString;
    int m_errorPosition = -1;
};
