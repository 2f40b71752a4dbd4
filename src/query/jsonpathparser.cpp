#include "query/jsonpathparser.h"

namespace {

// The largest index JSON can exchange exactly (I-JSON): 2^53 - 1.
constexpr qint64 maxIndex = (qint64(1) << 53) - 1;

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isAlpha(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

} // namespace

bool JsonPathQuery::isSingular() const
{
    return std::all_of(segments.begin(), segments.end(), [](const JsonPathSegment &segment) {
        return !segment.descendant && segment.selectors.size() == 1
                && (segment.selectors[0].kind == JsonPathSelector::Kind::Name
                    || segment.selectors[0].kind == JsonPathSelector::Kind::Index);
    });
}

JsonPathParser::JsonPathParser(QStringView text)
    : m_text(text)
{
}

std::unique_ptr<JsonPathQuery> JsonPathParser::parse()
{
    auto query = std::make_unique<JsonPathQuery>();
    if (!expect(u'$') || !parseSegments(query.get()))
        return nullptr;
    if (!atEnd()) {
        failUnexpected();
        return nullptr;
    }
    return query;
}

bool JsonPathParser::fail(const QString &text, qsizetype position)
{
    // The first error is the one that explains the others.
    if (m_errorPosition < 0) {
        m_errorString = text;
        m_errorPosition = int(position);
    }
    return false;
}

bool JsonPathParser::failUnexpected()
{
    if (atEnd())
        return fail(tr("Unexpected end of the query at position %1").arg(m_pos), m_pos);
    return fail(tr("Unexpected character \"%1\" at position %2").arg(m_text[m_pos]).arg(m_pos),
                m_pos);
}

bool JsonPathParser::expect(char16_t c)
{
    if (atEnd() || peek() != c)
        return fail(tr("Expected \"%1\" at position %2").arg(QChar(c)).arg(m_pos), m_pos);
    ++m_pos;
    return true;
}

void JsonPathParser::skipBlanks()
{
    while (!atEnd() && (peek() == u' ' || peek() == u'\t' || peek() == u'\n' || peek() == u'\r'))
        ++m_pos;
}

bool JsonPathParser::parseSegments(JsonPathQuery *query)
{
    for (;;) {
        const qsizetype before = m_pos;
        skipBlanks();
        JsonPathSegment segment;
        if (peek() == u'[') {
            if (!parseBracketed(&segment))
                return false;
        } else if (peek() == u'.' && peek(1) == u'.') {
            m_pos += 2;
            segment.descendant = true;
            if (peek() == u'[') {
                if (!parseBracketed(&segment))
                    return false;
            } else {
                segment.selectors.emplace_back();
                if (!parseShorthand(&segment.selectors.back()))
                    return false;
            }
        } else if (peek() == u'.') {
            ++m_pos;
            segment.selectors.emplace_back();
            if (!parseShorthand(&segment.selectors.back()))
                return false;
        } else {
            // Blanks belong to a segment only when one follows.
            m_pos = before;
            return true;
        }
        query->segments.push_back(std::move(segment));
    }
}

bool JsonPathParser::parseShorthand(JsonPathSelector *selector)
{
    if (peek() == u'*') {
        ++m_pos;
        selector->kind = JsonPathSelector::Kind::Wildcard;
        return true;
    }
    // Letters, "_", digits after the first, and every character from
    // U+0080 on; a surrogate only as half of a pair.
    const qsizetype start = m_pos;
    while (!atEnd()) {
        const char16_t c = peek();
        if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(peek(1)))
            m_pos += 2;
        else if (isAlpha(c) || c == u'_' || (c >= 0x80 && !QChar::isSurrogate(c))
                 || (isDigit(c) && m_pos > start))
            ++m_pos;
        else
            break;
    }
    if (m_pos == start)
        return fail(tr("Expected a member name or \"*\" at position %1").arg(m_pos), m_pos);
    selector->kind = JsonPathSelector::Kind::Name;
    selector->name = m_text.sliced(start, m_pos - start).toString();
    selector->utf8Name = selector->name.toUtf8();
    return true;
}

bool JsonPathParser::parseBracketed(JsonPathSegment *segment)
{
    ++m_pos; // [
    for (;;) {
        skipBlanks();
        segment->selectors.emplace_back();
        if (!parseSelector(&segment->selectors.back()))
            return false;
        skipBlanks();
        if (peek() == u']') {
            ++m_pos;
            return true;
        }
        if (peek() != u',')
            return fail(tr("Expected \",\" or \"]\" at position %1").arg(m_pos), m_pos);
        ++m_pos;
    }
}

bool JsonPathParser::parseSelector(JsonPathSelector *selector)
{
    const char16_t c = peek();
    if (c == u'\'' || c == u'"') {
        selector->kind = JsonPathSelector::Kind::Name;
        if (!parseString(&selector->name))
            return false;
        selector->utf8Name = selector->name.toUtf8();
        return true;
    }
    if (c == u'*') {
        ++m_pos;
        selector->kind = JsonPathSelector::Kind::Wildcard;
        return true;
    }
    if (c == u'?') {
        ++m_pos;
        skipBlanks();
        selector->kind = JsonPathSelector::Kind::Filter;
        selector->filter = parseLogical();
        return selector->filter != nullptr;
    }
    if (c == u'-' || c == u':' || isDigit(c))
        return parseIndexOrSlice(selector);
    return fail(tr("Expected a selector at position %1").arg(m_pos), m_pos);
}

bool JsonPathParser::parseIndexOrSlice(JsonPathSelector *selector)
{
    qint64 value = 0;
    if (peek() != u':') {
        if (!parseInteger(&value))
            return false;
        const qsizetype afterStart = m_pos;
        skipBlanks();
        if (peek() != u':') {
            m_pos = afterStart;
            selector->kind = JsonPathSelector::Kind::Index;
            selector->index = value;
            return true;
        }
        selector->start = value;
    }
    selector->kind = JsonPathSelector::Kind::Slice;
    ++m_pos; // :
    skipBlanks();
    if (peek() == u'-' || isDigit(peek())) {
        if (!parseInteger(&value))
            return false;
        selector->end = value;
        skipBlanks();
    }
    if (peek() == u':') {
        ++m_pos;
        skipBlanks();
        if (peek() == u'-' || isDigit(peek())) {
            if (!parseInteger(&selector->step))
                return false;
        }
    }
    return true;
}

bool JsonPathParser::parseInteger(qint64 *value)
{
    // "0", or digits without a leading zero after an optional "-".
    const qsizetype start = m_pos;
    const bool negative = peek() == u'-';
    if (negative)
        ++m_pos;
    if (!isDigit(peek()))
        return fail(tr("Expected a digit at position %1").arg(m_pos), m_pos);
    if (peek() == u'0' && (negative || isDigit(peek(1))))
        return fail(tr("Invalid integer at position %1").arg(start), start);
    qint64 magnitude = 0;
    for (; isDigit(peek()); ++m_pos) {
        magnitude = magnitude * 10 + (peek() - u'0');
        if (magnitude > maxIndex)
            return fail(tr("Integer out of range at position %1").arg(start), start);
    }
    *value = negative ? -magnitude : magnitude;
    return true;
}

bool JsonPathParser::parseString(QString *text)
{
    const char16_t quote = peek();
    ++m_pos;
    for (;;) {
        if (atEnd())
            return fail(tr("Unterminated string at position %1").arg(m_pos), m_pos);
        const char16_t c = peek();
        if (c == quote) {
            ++m_pos;
            return true;
        }
        if (c < 0x20)
            return fail(tr("Control character in a string at position %1").arg(m_pos), m_pos);
        if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(peek(1))) {
            *text += m_text.sliced(m_pos, 2);
            m_pos += 2;
            continue;
        }
        if (QChar::isSurrogate(c))
            return fail(tr("Invalid character at position %1").arg(m_pos), m_pos);
        ++m_pos;
        if (c != u'\\') {
            *text += QChar(c);
            continue;
        }
        const qsizetype escape = m_pos - 1;
        const char16_t e = peek();
        ++m_pos;
        switch (e) {
        case u'b':
            *text += u'\b';
            break;
        case u'f':
            *text += u'\f';
            break;
        case u'n':
            *text += u'\n';
            break;
        case u'r':
            *text += u'\r';
            break;
        case u't':
            *text += u'\t';
            break;
        case u'/':
            *text += u'/';
            break;
        case u'\\':
            *text += u'\\';
            break;
        case u'u': {
            char32_t unit = 0;
            if (!parseHex(&unit))
                return false;
            if (QChar::isLowSurrogate(unit))
                return fail(tr("Invalid escape at position %1").arg(escape), escape);
            if (QChar::isHighSurrogate(unit)) {
                char32_t low = 0;
                if (peek() != u'\\' || peek(1) != u'u')
                    return fail(tr("Invalid escape at position %1").arg(escape), escape);
                m_pos += 2;
                if (!parseHex(&low))
                    return false;
                if (!QChar::isLowSurrogate(low))
                    return fail(tr("Invalid escape at position %1").arg(escape), escape);
                unit = QChar::surrogateToUcs4(char16_t(unit), char16_t(low));
            }
            *text += QString::fromUcs4(&unit, 1);
            break;
        }
        default:
            // A quotation mark is escaped only in a string it would end.
            if (e != quote)
                return fail(tr("Invalid escape at position %1").arg(escape), escape);
            *text += QChar(e);
        }
    }
}

bool JsonPathParser::parseHex(char32_t *unit)
{
    for (int i = 0; i < 4; ++i, ++m_pos) {
        const char16_t c = peek();
        int digit = -1;
        if (isDigit(c))
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            return fail(tr("Expected a hexadecimal digit at position %1").arg(m_pos), m_pos);
        *unit = *unit * 16 + char32_t(digit);
    }
    return true;
}
