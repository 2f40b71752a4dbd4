// The filter expressions of JsonPathParser: `||`, `&&`, `!`, parentheses,
// comparisons, literals and function calls, with the RFC's type rules.

#include "query/iregexp.h"
#include "query/jsonpathparser.h"

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isFunctionNameChar(char16_t c)
{
    return (c >= u'a' && c <= u'z') || c == u'_' || isDigit(c);
}

QString functionName(JsonPathFilter::Function function)
{
    static const char *const names[] = {"length", "count", "match", "search", "value"};
    return QLatin1String(names[int(function)]);
}

} // namespace

bool JsonPathParser::isLogical(const JsonPathFilter &filter)
{
    switch (filter.kind) {
    case JsonPathFilter::Kind::Literal:
        return false;
    case JsonPathFilter::Kind::Function:
        return filter.function == JsonPathFilter::Function::Match
                || filter.function == JsonPathFilter::Function::Search;
    default: // A query stands for whether it selects anything.
        return true;
    }
}

bool JsonPathParser::isValue(const JsonPathFilter &filter)
{
    switch (filter.kind) {
    case JsonPathFilter::Kind::Literal:
        return true;
    case JsonPathFilter::Kind::Query:
        return filter.query.isSingular();
    case JsonPathFilter::Kind::Function:
        return !isLogical(filter);
    default:
        return false;
    }
}

bool JsonPathParser::failNotLogical(const Expression &expression)
{
    const JsonPathFilter &filter = *expression.filter;
    if (filter.kind == JsonPathFilter::Kind::Literal)
        return fail(tr("A literal must be compared at position %1").arg(expression.position),
                    expression.position);
    return fail(tr("The result of %1() must be compared at position %2")
                        .arg(functionName(filter.function))
                        .arg(expression.position),
                expression.position);
}

bool JsonPathParser::failNotValue(const Expression &expression)
{
    const JsonPathFilter &filter = *expression.filter;
    if (filter.kind == JsonPathFilter::Kind::Query)
        return fail(tr("A query that may select several nodes cannot be compared at position %1")
                            .arg(expression.position),
                    expression.position);
    // A literal is always a value: what is not is a query or a function call.
    return fail(tr("The result of %1() cannot be compared at position %2")
                        .arg(functionName(filter.function))
                        .arg(expression.position),
                expression.position);
}

std::unique_ptr<JsonPathFilter> JsonPathParser::parseLogical()
{
    Expression expression = parseJoined(JsonPathFilter::Kind::Or);
    if (expression.filter && !isLogical(*expression.filter)) {
        failNotLogical(expression);
        return nullptr;
    }
    return std::move(expression.filter);
}

JsonPathParser::Expression JsonPathParser::parseJoined(JsonPathFilter::Kind kind)
{
    const bool isOr = kind == JsonPathFilter::Kind::Or;
    const auto parseOperand
            = [this, isOr] { return isOr ? parseJoined(JsonPathFilter::Kind::And) : parseBasic(); };
    const char16_t op = isOr ? u'|' : u'&';
    Expression first = parseOperand();
    if (!first.filter)
        return {};
    std::unique_ptr<JsonPathFilter> joined;
    for (;;) {
        const qsizetype before = m_pos;
        skipBlanks();
        if (peek() != op || peek(1) != op) {
            m_pos = before;
            break;
        }
        m_pos += 2;
        skipBlanks();
        Expression next = parseOperand();
        if (!next.filter)
            return {};
        if (!joined) {
            if (!isLogical(*first.filter)) {
                failNotLogical(first);
                return {};
            }
            joined = std::make_unique<JsonPathFilter>();
            joined->kind = kind;
            joined->operands.push_back(std::move(first.filter));
        }
        if (!isLogical(*next.filter)) {
            failNotLogical(next);
            return {};
        }
        joined->operands.push_back(std::move(next.filter));
    }
    if (joined)
        first.filter = std::move(joined);
    return first;
}

JsonPathParser::Expression JsonPathParser::parseBasic()
{
    const qsizetype start = m_pos;
    if (peek() == u'!') {
        ++m_pos;
        skipBlanks();
        // Only a parenthesized expression, a query or a function call.
        const char16_t c = peek();
        Expression operand;
        if (c == u'(')
            operand = parseParenthesized();
        else if (c == u'@' || c == u'$' || (c >= u'a' && c <= u'z'))
            operand = parsePrimary();
        else
            failUnexpected();
        if (!operand.filter)
            return {};
        if (!isLogical(*operand.filter)) {
            failNotLogical(operand);
            return {};
        }
        auto negation = std::make_unique<JsonPathFilter>();
        negation->kind = JsonPathFilter::Kind::Not;
        negation->operands.push_back(std::move(operand.filter));
        return {std::move(negation), start};
    }
    if (peek() == u'(')
        return parseParenthesized();

    Expression left = parsePrimary();
    if (!left.filter)
        return {};
    const qsizetype afterLeft = m_pos;
    skipBlanks();
    JsonPathFilter::Comparison comparison;
    if (!parseComparisonOperator(&comparison)) {
        m_pos = afterLeft;
        return left;
    }
    if (!isValue(*left.filter)) {
        failNotValue(left);
        return {};
    }
    skipBlanks();
    Expression right = parsePrimary();
    if (!right.filter)
        return {};
    if (!isValue(*right.filter)) {
        failNotValue(right);
        return {};
    }
    auto compared = std::make_unique<JsonPathFilter>();
    compared->kind = JsonPathFilter::Kind::Comparison;
    compared->comparison = comparison;
    compared->operands.push_back(std::move(left.filter));
    compared->operands.push_back(std::move(right.filter));
    return {std::move(compared), start};
}

JsonPathParser::Expression JsonPathParser::parseParenthesized()
{
    const qsizetype start = m_pos;
    ++m_pos; // (
    skipBlanks();
    std::unique_ptr<JsonPathFilter> inner = parseLogical();
    if (!inner)
        return {};
    skipBlanks();
    if (!expect(u')'))
        return {};
    return {std::move(inner), start};
}

bool JsonPathParser::parseComparisonOperator(JsonPathFilter::Comparison *comparison)
{
    using Comparison = JsonPathFilter::Comparison;
    const char16_t c = peek();
    const bool withEquals = peek(1) == u'=';
    if (c == u'=' && withEquals)
        *comparison = Comparison::Equal;
    else if (c == u'!' && withEquals)
        *comparison = Comparison::NotEqual;
    else if (c == u'<')
        *comparison = withEquals ? Comparison::LessOrEqual : Comparison::Less;
    else if (c == u'>')
        *comparison = withEquals ? Comparison::GreaterOrEqual : Comparison::Greater;
    else
        return false;
    m_pos += withEquals ? 2 : 1;
    return true;
}

JsonPathParser::Expression JsonPathParser::parsePrimary()
{
    const qsizetype start = m_pos;
    auto filter = std::make_unique<JsonPathFilter>();
    const char16_t c = peek();
    if (c == u'@' || c == u'$') {
        ++m_pos;
        filter->kind = JsonPathFilter::Kind::Query;
        filter->query.relative = c == u'@';
        if (!parseSegments(&filter->query))
            return {};
        return {std::move(filter), start};
    }
    filter->kind = JsonPathFilter::Kind::Literal;
    JsonPathLiteral &literal = filter->literal;
    if (c == u'\'' || c == u'"') {
        QString text;
        if (!parseString(&text))
            return {};
        literal.kind = JsonPathLiteral::Kind::String;
        literal.utf8 = text.toUtf8();
        return {std::move(filter), start};
    }
    if (c == u'-' || isDigit(c)) {
        if (!parseNumber(&literal))
            return {};
        return {std::move(filter), start};
    }
    while (isFunctionNameChar(peek()) && (m_pos > start || peek() >= u'a'))
        ++m_pos;
    const QString name = m_text.sliced(start, m_pos - start).toString();
    if (name.isEmpty()) {
        failUnexpected();
        return {};
    }
    if (peek() == u'(')
        return {parseFunction(name, start), start};
    if (name == QLatin1String("true"))
        literal.kind = JsonPathLiteral::Kind::True;
    else if (name == QLatin1String("false"))
        literal.kind = JsonPathLiteral::Kind::False;
    else if (name == QLatin1String("null"))
        literal.kind = JsonPathLiteral::Kind::Null;
    else {
        fail(tr("Unknown name \"%1\" at position %2").arg(name).arg(start), start);
        return {};
    }
    return {std::move(filter), start};
}

bool JsonPathParser::parseNumber(JsonPathLiteral *literal)
{
    // An integer as an index takes it, or "-0", then an optional fraction
    // and exponent.
    const qsizetype start = m_pos;
    if (peek() == u'-')
        ++m_pos;
    if (!isDigit(peek()))
        return fail(tr("Expected a digit at position %1").arg(m_pos), m_pos);
    if (peek() == u'0' && isDigit(peek(1)))
        return fail(tr("Invalid number at position %1").arg(start), start);
    while (isDigit(peek()))
        ++m_pos;
    if (peek() == u'.') {
        ++m_pos;
        if (!isDigit(peek()))
            return fail(tr("Expected a digit at position %1").arg(m_pos), m_pos);
        while (isDigit(peek()))
            ++m_pos;
    }
    if (peek() == u'e' || peek() == u'E') {
        ++m_pos;
        if (peek() == u'-' || peek() == u'+')
            ++m_pos;
        if (!isDigit(peek()))
            return fail(tr("Expected a digit at position %1").arg(m_pos), m_pos);
        while (isDigit(peek()))
            ++m_pos;
    }
    literal->kind = JsonPathLiteral::Kind::Number;
    literal->number = QueryNumber::fromText(m_text.sliced(start, m_pos - start).toLatin1());
    return true;
}

std::unique_ptr<JsonPathFilter> JsonPathParser::parseFunction(const QString &name,
                                                              qsizetype position)
{
    using Function = JsonPathFilter::Function;
    auto call = std::make_unique<JsonPathFilter>();
    call->kind = JsonPathFilter::Kind::Function;
    int function = 0;
    while (function <= int(Function::Value) && functionName(Function(function)) != name)
        ++function;
    if (function > int(Function::Value)) {
        fail(tr("Unknown function \"%1\" at position %2").arg(name).arg(position), position);
        return nullptr;
    }
    call->function = Function(function);
    ++m_pos; // (
    skipBlanks();
    std::vector<Expression> arguments;
    while (peek() != u')') {
        if (!arguments.empty()) {
            if (!expect(u','))
                return nullptr;
            skipBlanks();
        }
        arguments.push_back(parseJoined(JsonPathFilter::Kind::Or));
        if (!arguments.back().filter)
            return nullptr;
        skipBlanks();
        if (atEnd()) {
            failUnexpected();
            return nullptr;
        }
    }
    ++m_pos; // )
    // length(), match() and search() take values; count() and value() the
    // nodes a query selects.
    const bool takesNodes = call->function == Function::Count || call->function == Function::Value;
    const size_t arity
            = call->function == Function::Match || call->function == Function::Search ? 2 : 1;
    if (arguments.size() != arity) {
        fail(tr("Wrong number of arguments for %1() at position %2").arg(name).arg(position),
             position);
        return nullptr;
    }
    for (Expression &argument : arguments) {
        const bool fits = takesNodes ? argument.filter->kind == JsonPathFilter::Kind::Query
                                     : isValue(*argument.filter);
        if (!fits) {
            fail(tr("Invalid argument for %1() at position %2").arg(name).arg(argument.position),
                 argument.position);
            return nullptr;
        }
        call->operands.push_back(std::move(argument.filter));
    }
    const JsonPathFilter &pattern = *call->operands.back();
    if (arity == 2 && pattern.kind == JsonPathFilter::Kind::Literal
        && pattern.literal.kind == JsonPathLiteral::Kind::String)
        call->regularExpression = IRegexp::compile(QString::fromUtf8(pattern.literal.utf8),
                                                   call->function == Function::Match);
    return call;
}
