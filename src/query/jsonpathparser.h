#pragma once

#include "query/jsonpathquery.h"

#include <QCoreApplication>
#include <QStringView>

// Compiles the text of a JSONPath query (RFC 9535) into a JsonPathQuery,
// rejecting what is not well-formed or not valid (a function's argument of
// the wrong type, a non-singular query compared) at the position it starts.
class JsonPathParser
{
    Q_DECLARE_TR_FUNCTIONS(JsonPathParser)

public:
    explicit JsonPathParser(QStringView text);

    // The query; null when the text is no valid query.
    std::unique_ptr<JsonPathQuery> parse();
    QString errorString() const { return m_errorString; }
    int errorPosition() const { return m_errorPosition; }

private:
    // A filter expression with where it starts, for the errors of its type.
    struct Expression
    {
        std::unique_ptr<JsonPathFilter> filter;
        qsizetype position = 0;
    };

    bool parseSegments(JsonPathQuery *query);
    bool parseBracketed(JsonPathSegment *segment);
    bool parseSelector(JsonPathSelector *selector);
    bool parseIndexOrSlice(JsonPathSelector *selector);
    bool parseInteger(qint64 *value);
    bool parseShorthand(JsonPathSelector *selector);
    bool parseString(QString *text);
    bool parseHex(char32_t *unit);

    // A filter expression that is true or false, as a filter selector and
    // parentheses take.
    std::unique_ptr<JsonPathFilter> parseLogical();
    // Operands joined by `||` (kind Or, of operands joined by `&&`) or by
    // `&&` (kind And): logical ones, or a single one of any type, as a
    // function's argument may be.
    Expression parseJoined(JsonPathFilter::Kind kind);
    Expression parseBasic();
    Expression parseParenthesized();
    // A query, a literal or a function call.
    Expression parsePrimary();
    bool parseNumber(JsonPathLiteral *literal);
    std::unique_ptr<JsonPathFilter> parseFunction(const QString &name, qsizetype position);
    bool parseComparisonOperator(JsonPathFilter::Comparison *comparison);

    // The RFC's types: LogicalType (a test or a comparison), and ValueType,
    // the one a comparison's operands and most functions' arguments need.
    static bool isLogical(const JsonPathFilter &filter);
    static bool isValue(const JsonPathFilter &filter);
    bool failNotLogical(const Expression &expression);
    bool failNotValue(const Expression &expression);
    // Reports an error; false, so that callers can return it.
    bool fail(const QString &text, qsizetype position);
    bool failUnexpected();
    bool expect(char16_t c);

    char16_t peek(qsizetype ahead = 0) const
    {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead].unicode() : u'\0';
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    void skipBlanks();

    QStringView m_text;
    qsizetype m_pos = 0;
    QString m_errorString;
    int m_errorPosition = -1;
};
