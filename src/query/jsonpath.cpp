#include "query/jsonpath.h"

#include "query/jsonpathevaluator.h"
#include "query/jsonpathparser.h"
#include "query/queryresults.h"

JsonPath::JsonPath(const QString &expression)
{
    JsonPathParser parser(expression);
    m_query = parser.parse();
    m_errorString = parser.errorString();
    m_errorPosition = parser.errorPosition();
}

JsonPath::~JsonPath() = default;
JsonPath::JsonPath(const JsonPath &other) = default;
JsonPath &JsonPath::operator=(const JsonPath &other) = default;

bool JsonPath::isValid() const
{
    return m_query != nullptr;
}

QString JsonPath::errorString() const
{
    return m_errorString;
}

int JsonPath::errorPosition() const
{
    return m_errorPosition;
}

QList<JsonNode *> JsonPath::select(JsonNode *top) const
{
    QueryResults results;
    QList<JsonNode *> nodes;
    evaluate(top, &results);
    for (qsizetype i = 0; i < results.size(); ++i)
        nodes.append(results.node(i));
    return nodes;
}

bool JsonPath::evaluate(JsonNode *top, QueryResults *results,
                        const std::function<bool()> &keepGoing) const
{
    if (!m_query)
        return true;
    JsonPathEvaluator evaluator(top, keepGoing);
    return evaluator.run(*m_query, [results](const QueryValue &value) { results->append(value); });
}
