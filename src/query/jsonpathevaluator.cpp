#include "query/jsonpathevaluator.h"

#include "io/parseddocument.h"
#include "query/iregexp.h"

#include <yyjson.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int valuesBetweenAsking = 4096;

} // namespace

JsonPathEvaluator::JsonPathEvaluator(JsonNode *top, const std::function<bool()> &keepGoing)
    : m_top(top)
    , m_keepGoing(keepGoing)
{
}

bool JsonPathEvaluator::run(const JsonPathQuery &query, const Sink &sink)
{
    if (!m_top.isNull())
        select(query, m_top, sink);
    return !m_stopped;
}

bool JsonPathEvaluator::tick()
{
    if (m_stopped)
        return false;
    if (++m_untilAsking < valuesBetweenAsking)
        return true;
    m_untilAsking = 0;
    m_stopped = m_keepGoing && !m_keepGoing();
    return !m_stopped;
}

void JsonPathEvaluator::select(const JsonPathQuery &query, const QueryValue &current,
                               const Sink &sink)
{
    pass({&query.segments, 0, &sink}, query.relative ? current : m_top);
}

void JsonPathEvaluator::pass(const Continuation &continuation, const QueryValue &value)
{
    if (continuation.next == continuation.segments->size()) {
        (*continuation.sink)(value);
        return;
    }
    applySegment((*continuation.segments)[continuation.next], value,
                 {continuation.segments, continuation.next + 1, continuation.sink});
}

void JsonPathEvaluator::applySegment(const JsonPathSegment &segment, const QueryValue &input,
                                     const Continuation &continuation)
{
    const auto applySelectors = [&](const QueryValue &value) {
        for (const JsonPathSelector &selector : segment.selectors)
            applySelector(selector, value, continuation);
    };
    if (!segment.descendant) {
        applySelectors(input);
        return;
    }
    // The input, then its descendants in pre-order, each container before
    // its children; one cursor per open container.
    if (!mayHoldNames(segment, input))
        return;
    applySelectors(input);
    std::vector<QueryValueReader::ChildCursor> open;
    open.emplace_back(input);
    while (!open.empty() && !m_stopped) {
        QueryValueReader::ChildCursor &cursor = open.back();
        if (cursor.atEnd()) {
            open.pop_back();
            continue;
        }
        const QueryValue value = cursor.value();
        cursor.next();
        if (!tick() || !mayHoldNames(segment, value))
            continue;
        applySelectors(value);
        if (QueryValueReader::childCount(value) > 0)
            open.emplace_back(value);
    }
}

bool JsonPathEvaluator::mayHoldNames(const JsonPathSegment &segment, const QueryValue &value)
{
    // The text of every member name and string below a parsed container
    // lies in one stretch of memory: a name found nowhere in it is no
    // member's name there, and one scan spares the walk of the whole
    // subtree. Small subtrees are walked: their scans would cost more than
    // they spare, as would the scans of a large one again at each level.
    constexpr size_t smallSubtree = 4096;
    yyjson_val *parsed = value.parsedValue();
    if (!parsed)
        parsed = ParsedDocument::unmadeValue(value.madeNode());
    if (!parsed || !yyjson_is_ctn(parsed) || ParsedDocument::subtreeSize(parsed) < smallSubtree)
        return true;
    const QByteArrayView text = ParsedDocument::textBelow(parsed);
    return std::any_of(segment.selectors.begin(), segment.selectors.end(),
                       [text](const JsonPathSelector &selector) {
                           return selector.kind != JsonPathSelector::Kind::Name
                                   || text.contains(selector.utf8Name);
                       });
}

void JsonPathEvaluator::applySelector(const JsonPathSelector &selector, const QueryValue &input,
                                      const Continuation &continuation)
{
    using Kind = JsonPathSelector::Kind;
    const QueryValueReader::Type type = QueryValueReader::type(input);
    const bool isArray = type == QueryValueReader::Type::Array;
    if (!isArray && type != QueryValueReader::Type::Object)
        return;
    switch (selector.kind) {
    case Kind::Index: {
        if (!isArray)
            return;
        const qsizetype count = QueryValueReader::childCount(input);
        const qint64 index = selector.index < 0 ? count + selector.index : selector.index;
        if (index >= 0 && index < count)
            pass(continuation, QueryValueReader::element(input, index));
        return;
    }
    case Kind::Slice:
        if (isArray)
            applySlice(selector, input, continuation);
        return;
    case Kind::Name:
        if (isArray)
            return;
        for (QueryValueReader::ChildCursor cursor(input); !cursor.atEnd() && tick();
             cursor.next()) {
            if (cursor.hasName(selector.name, selector.utf8Name))
                pass(continuation, cursor.value());
        }
        return;
    case Kind::Wildcard:
        for (QueryValueReader::ChildCursor cursor(input); !cursor.atEnd() && tick(); cursor.next())
            pass(continuation, cursor.value());
        return;
    case Kind::Filter:
        for (QueryValueReader::ChildCursor cursor(input); !cursor.atEnd() && tick();
             cursor.next()) {
            const QueryValue child = cursor.value();
            if (test(*selector.filter, child))
                pass(continuation, child);
        }
        return;
    }
}

void JsonPathEvaluator::applySlice(const JsonPathSelector &selector, const QueryValue &array,
                                   const Continuation &continuation)
{
    const qint64 step = selector.step;
    if (step == 0)
        return;
    const qint64 count = QueryValueReader::childCount(array);
    const auto normalized = [count](qint64 i) { return i >= 0 ? i : count + i; };
    if (step > 0) {
        // Front to back, as a parsed array is read best.
        const qint64 lower = std::clamp(normalized(selector.start.value_or(0)), qint64(0), count);
        const qint64 upper = std::clamp(normalized(selector.end.value_or(count)), qint64(0), count);
        QueryValueReader::ChildCursor cursor(array);
        for (qint64 i = 0; i < upper && tick(); ++i, cursor.next()) {
            if (i >= lower && (i - lower) % step == 0)
                pass(continuation, cursor.value());
        }
        return;
    }
    const qint64 upper
            = std::clamp(normalized(selector.start.value_or(count - 1)), qint64(-1), count - 1);
    const qint64 lower
            = std::clamp(normalized(selector.end.value_or(-count - 1)), qint64(-1), count - 1);
    std::vector<QueryValue> elements;
    for (QueryValueReader::ChildCursor cursor(array); !cursor.atEnd(); cursor.next())
        elements.push_back(cursor.value());
    for (qint64 i = upper; lower < i && tick(); i += step)
        pass(continuation, elements[size_t(i)]);
}

bool JsonPathEvaluator::test(const JsonPathFilter &filter, const QueryValue &current)
{
    using Kind = JsonPathFilter::Kind;
    using Comparison = JsonPathFilter::Comparison;
    switch (filter.kind) {
    case Kind::Or:
        return std::any_of(filter.operands.begin(), filter.operands.end(),
                           [&](const auto &operand) { return test(*operand, current); });
    case Kind::And:
        return std::all_of(filter.operands.begin(), filter.operands.end(),
                           [&](const auto &operand) { return test(*operand, current); });
    case Kind::Not:
        return !test(*filter.operands[0], current);
    case Kind::Query: {
        bool found = false;
        select(filter.query, current, [&found](const QueryValue &) { found = true; });
        return found;
    }
    case Kind::Function:
        return matches(filter, current);
    case Kind::Comparison:
        break;
    case Kind::Literal: // refused by the parser: a literal is no test
        return false;
    }
    const Operand a = operand(*filter.operands[0], current);
    const Operand b = operand(*filter.operands[1], current);
    switch (filter.comparison) {
    case Comparison::Equal:
        return equal(a, b);
    case Comparison::NotEqual:
        return !equal(a, b);
    case Comparison::Less:
        return less(a, b);
    case Comparison::LessOrEqual:
        return less(a, b) || equal(a, b);
    case Comparison::Greater:
        return less(b, a);
    case Comparison::GreaterOrEqual:
        return less(b, a) || equal(a, b);
    }
    return false;
}

JsonPathEvaluator::Operand JsonPathEvaluator::operand(const JsonPathFilter &filter,
                                                      const QueryValue &current)
{
    using Function = JsonPathFilter::Function;
    Operand result;
    if (filter.kind == JsonPathFilter::Kind::Literal) {
        result.kind = Operand::Kind::Literal;
        result.literal = &filter.literal;
        return result;
    }
    if (filter.kind == JsonPathFilter::Kind::Query) {
        // A singular query: its one node, or Nothing.
        select(filter.query, current, [&result](const QueryValue &value) {
            result.kind = Operand::Kind::Node;
            result.node = value;
        });
        return result;
    }
    const JsonPathFilter &argument = *filter.operands[0];
    if (filter.function == Function::Length) {
        const Operand value = operand(argument, current);
        if (value.kind == Operand::Kind::Nothing)
            return result;
        const QueryValueReader::Type type = typeOf(value);
        qint64 length = 0;
        if (type == QueryValueReader::Type::String) {
            // Code points: every UTF-8 byte but the continuation bytes.
            const QByteArray text = textOf(value);
            length = std::count_if(text.begin(), text.end(),
                                   [](char byte) { return (byte & 0xC0) != 0x80; });
        } else if (value.kind == Operand::Kind::Node
                   && (type == QueryValueReader::Type::Array
                       || type == QueryValueReader::Type::Object)) {
            length = QueryValueReader::childCount(value.node);
        } else {
            return result;
        }
        result.kind = Operand::Kind::Number;
        result.number = QueryNumber::fromInteger(length);
        return result;
    }
    qint64 count = 0;
    select(argument.query, current, [&](const QueryValue &value) {
        ++count;
        result.node = value;
    });
    if (filter.function == Function::Count) {
        result.kind = Operand::Kind::Number;
        result.number = QueryNumber::fromInteger(count);
    } else if (count == 1) { // value()
        result.kind = Operand::Kind::Node;
    }
    return result;
}

QueryValueReader::Type JsonPathEvaluator::typeOf(const Operand &operand)
{
    using Type = QueryValueReader::Type;
    switch (operand.kind) {
    case Operand::Kind::Node:
        return QueryValueReader::type(operand.node);
    case Operand::Kind::Number:
        return Type::Number;
    default:
        break;
    }
    switch (operand.literal->kind) {
    case JsonPathLiteral::Kind::String:
        return Type::String;
    case JsonPathLiteral::Kind::Number:
        return Type::Number;
    case JsonPathLiteral::Kind::True:
        return Type::True;
    case JsonPathLiteral::Kind::False:
        return Type::False;
    case JsonPathLiteral::Kind::Null:
        return Type::Null;
    }
    return Type::Null;
}

QByteArray JsonPathEvaluator::textOf(const Operand &operand)
{
    return operand.kind == Operand::Kind::Node ? QueryValueReader::text(operand.node)
                                               : operand.literal->utf8;
}

QueryNumber JsonPathEvaluator::numberOf(const Operand &operand)
{
    switch (operand.kind) {
    case Operand::Kind::Node:
        return QueryValueReader::number(operand.node);
    case Operand::Kind::Number:
        return operand.number;
    default:
        return operand.literal->number;
    }
}

bool JsonPathEvaluator::equal(const Operand &a, const Operand &b)
{
    using Type = QueryValueReader::Type;
    if (a.kind == Operand::Kind::Nothing || b.kind == Operand::Kind::Nothing)
        return a.kind == b.kind;
    if (a.kind == Operand::Kind::Node && b.kind == Operand::Kind::Node)
        return QueryValueReader::equal(a.node, b.node);
    const Type type = typeOf(a);
    if (type != typeOf(b))
        return false;
    switch (type) {
    case Type::Number:
        return QueryNumber::compare(numberOf(a), numberOf(b)) == 0;
    case Type::String:
        return textOf(a) == textOf(b);
    default: // true, false, null; a literal is never an array or an object
        return true;
    }
}

bool JsonPathEvaluator::less(const Operand &a, const Operand &b)
{
    using Type = QueryValueReader::Type;
    if (a.kind == Operand::Kind::Nothing || b.kind == Operand::Kind::Nothing)
        return false;
    const Type type = typeOf(a);
    if (type != typeOf(b))
        return false;
    if (type == Type::Number)
        return QueryNumber::compare(numberOf(a), numberOf(b)) < 0;
    // UTF-8's byte order is the code points' order.
    return type == Type::String && textOf(a) < textOf(b);
}

bool JsonPathEvaluator::matches(const JsonPathFilter &call, const QueryValue &current)
{
    const Operand subject = operand(*call.operands[0], current);
    const Operand pattern = operand(*call.operands[1], current);
    if (subject.kind == Operand::Kind::Nothing || pattern.kind == Operand::Kind::Nothing
        || typeOf(subject) != QueryValueReader::Type::String
        || typeOf(pattern) != QueryValueReader::Type::String)
        return false;
    const bool wholeString = call.function == JsonPathFilter::Function::Match;
    QRegularExpression expression;
    if (call.regularExpression) {
        expression = *call.regularExpression;
    } else {
        const QByteArray text = textOf(pattern);
        auto &patterns = m_patterns[wholeString ? 1 : 0];
        auto known = patterns.constFind(text);
        if (known == patterns.constEnd())
            known = patterns.insert(QByteArray(text.data(), text.size()),
                                    IRegexp::compile(QString::fromUtf8(text), wholeString));
        expression = *known;
    }
    // A pattern that is no I-Regexp matches nothing.
    return expression.isValid() && expression.match(QString::fromUtf8(textOf(subject))).hasMatch();
}
