#include "query/iregexp.h"

#include <QStringView>

#include <algorithm>
#include <iterator>

namespace {

// The general categories I-Regexp knows; PCRE2 spells them the same way.
constexpr QStringView categories[] = {
        u"L",  u"Ll", u"Lm", u"Lo", u"Lt", u"Lu", u"M",  u"Mc", u"Me", u"Mn", u"N",  u"Nd",
        u"Nl", u"No", u"P",  u"Pc", u"Pd", u"Pe", u"Pf", u"Pi", u"Po", u"Ps", u"Z",  u"Zl",
        u"Zp", u"Zs", u"S",  u"Sc", u"Sk", u"Sm", u"So", u"C",  u"Cc", u"Cf", u"Cn", u"Co",
};

// The characters that may follow a backslash to stand for themselves, besides
// n, r and t.
constexpr QStringView escapable = u"()*+-.?[\\]^{|}";

// Reads an I-Regexp once, from left to right, and writes the PCRE2 pattern as it
// goes. Only ASCII characters mean anything in the syntax, so the text is read
// in UTF-16 units and all others are copied as they are: a surrogate pair stays
// one character for PCRE2, which refuses a lone surrogate. Groups are counted
// rather than parsed recursively, so that deep nesting cannot exhaust the stack.
class Translator
{
public:
    explicit Translator(QStringView iregexp)
        : m_in(iregexp)
    {
    }

    // False when the text is not an I-Regexp.
    bool translate();
    QString pattern() const { return m_out; }

private:
    static constexpr int End = -1;

    int peek(qsizetype ahead = 0) const
    {
        return m_pos + ahead < m_in.size() ? m_in[m_pos + ahead].unicode() : End;
    }
    bool take(char16_t c);
    void appendLiteral(char16_t c);
    bool singleCharEscape();
    bool category();
    bool classChar();
    bool classExpr();
    bool rangeQuantifier();

    QStringView m_in;
    qsizetype m_pos = 0;
    QString m_out;
};

bool Translator::translate()
{
    int depth = 0;
    // Whether what came last is an atom, which a quantifier may follow: never
    // a quantifier itself, so "a*?" and "(?:a)" are refused.
    bool quantifiable = false;
    while (m_pos < m_in.size()) {
        const char16_t c = m_in[m_pos++].unicode();
        const bool quantifier = c == u'*' || c == u'+' || c == u'?' || c == u'{';
        if (quantifier && !quantifiable)
            return false;
        switch (c) {
        case u'(':
            ++depth;
            m_out += u"(?:";
            break;
        case u')':
            if (depth == 0)
                return false;
            --depth;
            m_out += u')';
            break;
        case u'|':
        case u'*':
        case u'+':
        case u'?':
            m_out += c;
            break;
        case u'{':
            if (!rangeQuantifier())
                return false;
            break;
        case u'.':
            m_out += u"[^\\n\\r]";
            break;
        // The grammar leaves "^" and "$" ordinary characters, but its own
        // recipes for PCRE and ECMAScript keep them anchors, and so do the
        // standard's conformance suite and users: the start and the very
        // end of the text.
        case u'^':
            m_out += u'^';
            break;
        case u'$':
            m_out += u"\\z";
            break;
        case u'[':
            if (!classExpr())
                return false;
            break;
        case u'\\':
            if (!(peek() == u'p' || peek() == u'P' ? category() : singleCharEscape()))
                return false;
            break;
        case u']':
        case u'}':
            return false;
        default:
            appendLiteral(c);
        }
        quantifiable = !quantifier && c != u'(' && c != u'|' && c != u'^' && c != u'$';
    }
    return depth == 0;
}

bool Translator::take(char16_t c)
{
    if (peek() != c)
        return false;
    ++m_pos;
    return true;
}

// ASCII is written as code points: "\x{...}" is always a literal, in or out
// of a class, where a character itself or after a backslash may be syntax
// ("\d", "\z", "-"). Nothing beyond ASCII is syntax to PCRE2.
void Translator::appendLiteral(char16_t c)
{
    if (c >= 0x80)
        m_out += c;
    else
        m_out += QStringLiteral("\\x{%1}").arg(QString::number(c, 16));
}

bool Translator::singleCharEscape()
{
    const int c = peek();
    ++m_pos;
    // \n, \r and \t name a line feed, a carriage return and a tab.
    const qsizetype control = QStringView(u"nrt").indexOf(QChar(c));
    if (c == End || (control < 0 && !escapable.contains(QChar(c))))
        return false;
    appendLiteral(control < 0 ? static_cast<char16_t>(c) : u"\n\r\t"[control]);
    return true;
}

// \p{..} or \P{..}, read from the letter p.
bool Translator::category()
{
    const qsizetype start = m_pos - 1;
    ++m_pos;
    if (!take(u'{'))
        return false;
    const qsizetype close = m_in.indexOf(u'}', m_pos);
    if (close < 0
        || std::find(std::begin(categories), std::end(categories),
                     m_in.sliced(m_pos, close - m_pos))
                == std::end(categories))
        return false;
    m_pos = close + 1;
    m_out += m_in.sliced(start, m_pos - start);
    return true;
}

// A character in a class other than a category, which may also end a range: a
// dash or a bracket only when escaped.
bool Translator::classChar()
{
    const int c = peek();
    if (c == End || c == u'-' || c == u'[' || c == u']')
        return false;
    ++m_pos;
    if (c == u'\\')
        return singleCharEscape();
    appendLiteral(static_cast<char16_t>(c));
    return true;
}

// A class, read from after its "[". A dash is literal only first or last; an
// empty class is refused.
bool Translator::classExpr()
{
    m_out += u'[';
    if (take(u'^'))
        m_out += u'^';
    bool empty = true;
    if (take(u'-')) {
        m_out += u"\\-";
        empty = false;
    }
    for (;;) {
        if (take(u']')) {
            m_out += u']';
            return !empty;
        }
        if (take(u'-')) {
            m_out += u"\\-]";
            return take(u']');
        }
        if (peek() == u'\\' && (peek(1) == u'p' || peek(1) == u'P')) {
            ++m_pos;
            if (!category())
                return false;
        } else {
            if (!classChar())
                return false;
            if (peek() == u'-' && peek(1) != u']') {
                ++m_pos;
                m_out += u'-';
                if (!classChar())
                    return false;
            }
        }
        empty = false;
    }
}

// {n}, {n,} or {n,m}, read from after the "{". PCRE2 itself refuses bounds
// out of order or beyond its limit.
bool Translator::rangeQuantifier()
{
    const auto digits = [this] {
        const qsizetype start = m_pos;
        while (peek() >= u'0' && peek() <= u'9')
            ++m_pos;
        return m_in.sliced(start, m_pos - start);
    };
    m_out += u'{';
    const QStringView min = digits();
    if (min.isEmpty())
        return false;
    m_out += min;
    if (take(u',')) {
        m_out += u',';
        m_out += digits();
    }
    m_out += u'}';
    return take(u'}');
}

} // namespace

QRegularExpression IRegexp::compile(const QString &iregexp, bool wholeString)
{
    Translator translator(iregexp);
    // An unclosed group never compiles, so a refused text reads as an invalid
    // expression like any other.
    if (!translator.translate())
        return QRegularExpression(QStringLiteral("("));
    // \z rather than $, which would also accept a final line feed.
    return QRegularExpression(wholeString ? QStringLiteral("\\A(?:") + translator.pattern()
                                              + QStringLiteral(")\\z")
                                          : translator.pattern());
}
