#include "search/searchmatcher.h"

#include "model/jsontreemodel.h"
#include "tree/jsonnode.h"

#include <functional>

namespace {

// Every character the text of an integer or a double can hold ("-12",
// "1.5e+20", "inf", "nan").
bool canOccurInNumber(QChar c)
{
    return QStringView(u"0123456789+-.einfa").contains(c);
}

// No number's text is longer ("-1.7976931348623157e+308"), so with a limit at
// least this long a number is always shown whole.
constexpr int longestNumberText = 24;

constexpr qsizetype memoizedItemCounts = 4096;

} // namespace

SearchMatcher::SearchMatcher(const JsonTreeModel *model, const SearchOptions &options)
    : m_model(model)
    , m_options(options)
    , m_sensitivity(options.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive)
{
    if (m_options.useRegex) {
        m_expression.setPattern(m_options.text);
        if (m_options.ignoreCase)
            m_expression.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        m_expression.optimize();
        return;
    }
    // Qt::CaseInsensitive compares case-folded characters, so fold here too.
    for (const QChar c : m_options.text) {
        if (!canOccurInNumber(m_options.ignoreCase ? c.toCaseFolded() : c)) {
            m_numbersCanMatch = false;
            break;
        }
    }
}

bool SearchMatcher::isValid() const
{
    return !m_options.useRegex || m_expression.isValid();
}

QString SearchMatcher::errorString() const
{
    return m_expression.errorString();
}

int SearchMatcher::matchingColumn(const JsonNode *node)
{
    if (keyMatches(node->key()))
        return 0;
    if (m_options.searchInValue && valueMatches(node))
        return 1;
    return -1;
}

bool SearchMatcher::matches(QStringView text) const
{
    return m_options.useRegex ? m_expression.match(text).hasMatch()
                              : text.contains(m_options.text, m_sensitivity);
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
        return containerMatches(node);
    case JsonNodeType::Null:
        if (m_nullMemo < 0)
            m_nullMemo = matches(m_model->displayValue(node));
        return m_nullMemo;
    case JsonNodeType::String:
        // A string short enough to be shown whole is its own display text.
        if (value.typeId() == QMetaType::QString) {
            const auto *text = static_cast<const QString *>(value.constData());
            const int limit = m_model->maxTextLength();
            if (limit <= 0 || text->size() <= limit)
                return matches(*text);
        }
        break;
    case JsonNodeType::Number:
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double: {
            const int limit = m_model->maxTextLength();
            if (!m_numbersCanMatch && (limit <= 0 || limit >= longestNumberText))
                return false;
            break;
        }
        default:
            break;
        }
        break;
    default:
        break;
    }
    return matches(m_model->displayValue(node));
}

bool SearchMatcher::containerMatches(const JsonNode *node)
{
    const qsizetype count = node->childCount();
    if (count >= memoizedItemCounts)
        return matches(m_model->displayValue(node));
    std::vector<qint8> &memos = node->type() == JsonNodeType::Object ? m_objectMemos : m_arrayMemos;
    if (memos.empty())
        memos.assign(memoizedItemCounts, -1);
    if (memos[size_t(count)] < 0)
        memos[size_t(count)] = matches(m_model->displayValue(node));
    return memos[size_t(count)];
}
