#include "search/searchmatcher.h"

#include "io/treebuilder.h"
#include "model/jsontreemodel.h"
#include "tree/jsonnode.h"

#include <QStringDecoder>

#include <yyjson.h>

#include <algorithm>
#include <functional>

namespace {

// Every character the text of an integer or a double can hold ("-12",
// "1.5e+20", "inf", "nan").
bool canOccurInNumber(QChar c)
{
    return QStringView(u"0123456789+-.einfa").contains(c);
}

// A search asks whether to go on once in this many rows: a plain one tests
// millions of rows a second, and asking costs a clock reading. A regular
// expression may take a hundredth of a second on one text.
constexpr int rowsBetweenQuestions = 1024;
constexpr int rowsBetweenQuestionsForRegex = 4;

constexpr qsizetype memoizedItemCounts = 4096;

bool isAscii(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) < 0x80; });
}

} // namespace

SearchMatcher::SearchMatcher(const SearchOptions &options, std::function<bool()> keepGoing)
    : m_options(options)
    , m_sensitivity(options.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive)
    , m_keepGoing(std::move(keepGoing))
{
    if (m_options.useRegex) {
        m_expression.setPattern(m_options.text);
        if (m_options.ignoreCase)
            m_expression.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
    }
    // A text that cannot hold the search text, or what every match of the
    // expression holds, does not match: most texts are ruled out so, never
    // decoded nor given to the engine.
    m_literal = m_options.useRegex ? requiredLiteral(m_options.text) : m_options.text;
    if (m_literal.isEmpty())
        return;
    // Qt::CaseInsensitive compares case-folded characters, so fold here too.
    for (const QChar c : m_literal) {
        const QChar folded = m_options.ignoreCase ? c.toCaseFolded() : c;
        m_numbersCanMatch = m_numbersCanMatch && canOccurInNumber(folded);
        m_labelsCanMatch = m_labelsCanMatch && QStringView(u"[]0123456789").contains(folded);
    }
    // Text and search text in UTF-8 contain one another as they do in
    // UTF-16. Ignoring case, a character beyond ASCII may fold to one within
    // it (the Kelvin sign to "k"), so only ASCII is compared so.
    const QByteArray utf8 = m_literal.toUtf8();
    if (QStringView(m_literal).isValidUtf16() && (!m_options.ignoreCase || isAscii(utf8)))
        m_utf8Text = utf8;

    // An item count's text holds its template's characters and digits only.
    const QString counts = JsonTreeModel::itemCountText(true, 0)
            + JsonTreeModel::itemCountText(false, 0) + QStringLiteral("0123456789");
    const bool countsCanMatch = std::all_of(m_literal.begin(), m_literal.end(),
                                            [&counts](QChar c) { return counts.contains(c); });
    const auto valuesCanMatch = [&] {
        return m_numbersCanMatch || countsCanMatch
                || QStringLiteral("true false").contains(m_literal)
                || JsonTreeModel::tr("null").contains(m_literal);
    };
    m_onlyTextCanMatch = !m_utf8Text.isEmpty() && !m_options.ignoreCase && !m_labelsCanMatch
            && (!m_options.searchInValue || !valuesCanMatch());
}

QString SearchMatcher::requiredLiteral(const QString &pattern)
{
    // Only a pattern without groups or alternatives is read: there, a run of
    // plain characters that no quantifier makes optional occurs in every
    // match. Anything else ends a run, and anything unclear the reading.
    QString longest;
    QString run;
    const auto endRun = [&] {
        if (run.size() > longest.size())
            longest = run;
        run.clear();
    };
    qsizetype i = 0;
    while (i < pattern.size()) {
        // One atom, and the character it stands for when it is a plain one.
        QString character;
        const QChar c = pattern[i++];
        if (c == u'(' || c == u')' || c == u'|')
            return {};
        if (c == u'\\') {
            if (i == pattern.size() || pattern[i] == u'Q')
                return {};
            // Escaped punctuation is itself; a letter or a digit makes a
            // class, an assertion, a reference or a code point.
            const QChar escaped = pattern[i++];
            if (escaped.unicode() < 0x80 && !escaped.isLetterOrNumber() && !escaped.isSpace())
                character = escaped;
        } else if (c == u'[') {
            i = classEnd(pattern, i);
            if (i == -1)
                return {};
        } else if (c.isHighSurrogate() && i < pattern.size()) {
            character = pattern.mid(i++ - 1, 2);
        } else if (!QStringView(u".^$*+?{}#").contains(c) && !c.isSpace()) {
            character = c;
        }
        // Its quantifier, if any, with a lazy or possessive mark.
        bool optional = false;
        bool repeated = false;
        if (i < pattern.size() && QStringView(u"*+?").contains(pattern[i])) {
            optional = pattern[i] != u'+';
            repeated = !optional;
            ++i;
        } else if (i < pattern.size() && pattern[i] == u'{') {
            const qsizetype close = pattern.indexOf(u'}', i);
            if (close < 0)
                return {};
            const QString bounds = pattern.mid(i + 1, close - i - 1);
            optional = bounds.section(u',', 0, 0).toInt() == 0;
            repeated = bounds != QLatin1String("1");
            i = close + 1;
        }
        if (i < pattern.size() && (pattern[i] == u'?' || pattern[i] == u'+')
            && (optional || repeated))
            ++i;
        if (character.isEmpty() || optional) {
            endRun();
            continue;
        }
        run += character;
        if (repeated)
            endRun();
    }
    endRun();
    return longest;
}

qsizetype SearchMatcher::classEnd(const QString &pattern, qsizetype i)
{
    // A "]" right after "[" or "[^" is a member, as is anything escaped or
    // inside "[:...:]".
    if (i < pattern.size() && pattern[i] == u'^')
        ++i;
    if (i < pattern.size() && pattern[i] == u']')
        ++i;
    for (; i < pattern.size(); ++i) {
        if (pattern[i] == u'\\') {
            ++i;
        } else if (pattern[i] == u'[' && i + 1 < pattern.size() && pattern[i + 1] == u':') {
            i = pattern.indexOf(QLatin1String(":]"), i + 2);
            if (i == -1)
                return -1;
            ++i;
        } else if (pattern[i] == u']') {
            return i + 1;
        }
    }
    return -1;
}

bool SearchMatcher::rulesOutRowsBelow(QByteArrayView text) const
{
    return m_onlyTextCanMatch && !text.contains(m_utf8Text);
}

bool SearchMatcher::isValid() const
{
    return !m_options.useRegex || m_expression.isValid();
}

QString SearchMatcher::errorString() const
{
    return m_expression.errorString();
}

bool SearchMatcher::keepGoing()
{
    if (m_stopped || !m_keepGoing)
        return !m_stopped;
    if (++m_rowsSinceAsked
        < (m_options.useRegex ? rowsBetweenQuestionsForRegex : rowsBetweenQuestions))
        return true;
    m_rowsSinceAsked = 0;
    m_stopped = !m_keepGoing();
    return !m_stopped;
}

int SearchMatcher::answer(bool keyMatched, bool valueMatched) const
{
    // A text the expression gave up on ends the search on its row, even when
    // the other text matched: the key comes first, and a value match behind
    // an undecided key is no answer.
    if (m_undecided)
        return Undecided;
    return keyMatched ? 0 : valueMatched ? 1 : NoMatch;
}

int SearchMatcher::matchingColumn(const JsonNode *node)
{
    if (!keepGoing())
        return Stopped;
    const bool key = keyMatches(node->key());
    return answer(key, !key && !m_undecided && m_options.searchInValue && valueMatches(node));
}

int SearchMatcher::matchingColumn(yyjson_val *name, qsizetype position, yyjson_val *value)
{
    if (!keepGoing())
        return Stopped;
    std::optional<bool> key;
    if (name)
        key = bytesMatch(yyjson_get_str(name), yyjson_get_len(name));
    else if (!m_labelsCanMatch)
        key = false;
    // Pooled texts share their data, so keys that come back are answered
    // from the memo.
    if (!key)
        key = keyMatches(name ? TreeBuilder::memberName(name, m_texts)
                              : m_texts.positionLabel(size_t(position)));
    if (*key || m_undecided || !m_options.searchInValue)
        return answer(*key, false);

    std::optional<bool> found;
    switch (yyjson_get_type(value)) {
    case YYJSON_TYPE_OBJ:
    case YYJSON_TYPE_ARR:
        found = containerMatches(yyjson_is_obj(value), qsizetype(yyjson_get_len(value)));
        break;
    case YYJSON_TYPE_STR:
        found = utf8Matches(yyjson_get_str(value), yyjson_get_len(value));
        break;
    case YYJSON_TYPE_NULL:
        found = nullMatches();
        break;
    case YYJSON_TYPE_NUM:
        if (!m_numbersCanMatch)
            found = false;
        break;
    case YYJSON_TYPE_BOOL: {
        std::optional<bool> &memo = m_booleanMemos[yyjson_get_bool(value) ? 1 : 0];
        if (!memo)
            memo = valueMatches(TreeBuilder::node(value, QString(), m_texts).get());
        found = memo;
        break;
    }
    default:
        break;
    }
    if (!found) // the node it would be, made for the moment
        found = valueMatches(TreeBuilder::node(value, QString(), m_texts).get());
    return answer(false, *found);
}

std::optional<bool> SearchMatcher::bytesMatch(const char *utf8, size_t length) const
{
    const QByteArrayView text(utf8, qsizetype(length));
    if (m_utf8Text.isNull())
        return std::nullopt;
    std::optional<bool> holds;
    if (!m_options.ignoreCase)
        holds = text.contains(m_utf8Text);
    else if (isAscii(text))
        holds = QLatin1StringView(text).contains(QLatin1StringView(m_utf8Text),
                                                 Qt::CaseInsensitive);
    // Holding what every match holds, a text still has to match.
    return m_options.useRegex && holds == true ? std::nullopt : holds;
}

bool SearchMatcher::utf8Matches(const char *utf8, size_t length)
{
    if (const std::optional<bool> known = bytesMatch(utf8, length))
        return *known;
    // Decoded as the tree decodes strings, a leading byte order mark kept,
    // into a buffer that serves every string of the search: resizing keeps
    // its capacity.
    m_decoded.resize(qsizetype(length));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QChar *end
            = decoder.appendToBuffer(m_decoded.data(), QByteArrayView(utf8, qsizetype(length)));
    return matches(QStringView(m_decoded.constData(), end));
}

bool SearchMatcher::matches(QStringView text)
{
    if (!text.contains(m_literal, m_sensitivity))
        return false;
    if (!m_options.useRegex)
        return true;
    const QRegularExpressionMatch match = m_expression.match(text);
    // A valid expression yields an invalid match when the engine stopped
    // before it could tell; an invalid one never matches.
    m_undecided = m_undecided || (!match.isValid() && m_expression.isValid());
    return match.hasMatch();
}

// Keys are cached by their implicitly shared data: equal data pointer and
// length mean an equal key, and the tree does not change during a search.
bool SearchMatcher::keyMatches(const QString &key)
{
    const QChar *data = key.constData();
    KeyMemo &memo = m_keyMemos[std::hash<const void *> {}(data) % m_keyMemos.size()];
    if (memo.data == data && memo.size == key.size())
        return memo.matches;
    memo = {data, key.size(), matches(key)};
    return memo.matches;
}

bool SearchMatcher::valueMatches(const JsonNode *node)
{
    const QVariant &value = node->value();
    switch (node->type()) {
    case JsonNodeType::Object:
    case JsonNodeType::Array:
        return containerMatches(node->type() == JsonNodeType::Object, node->childCount());
    case JsonNodeType::Null:
        return nullMatches();
    case JsonNodeType::String:
        if (value.typeId() == QMetaType::QString)
            return matches(*static_cast<const QString *>(value.constData()));
        break;
    case JsonNodeType::Number:
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
            if (!m_numbersCanMatch)
                return false;
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return matches(JsonTreeModel::valueText(node));
}

bool SearchMatcher::containerMatches(bool isObject, qsizetype count)
{
    if (count >= memoizedItemCounts)
        return matches(JsonTreeModel::itemCountText(isObject, count));
    std::vector<std::optional<bool>> &memos = isObject ? m_objectMemos : m_arrayMemos;
    if (memos.empty())
        memos.resize(memoizedItemCounts);
    std::optional<bool> &memo = memos[size_t(count)];
    if (!memo)
        memo = matches(JsonTreeModel::itemCountText(isObject, count));
    return *memo;
}

bool SearchMatcher::nullMatches()
{
    if (!m_nullMemo)
        m_nullMemo = matches(JsonTreeModel::tr("null"));
    return *m_nullMemo;
}
