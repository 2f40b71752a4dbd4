#include "model/searchmatcher.h"

#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

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
    : model(model)
    , options(options)
    , sensitivity(options.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive)
{
    if (options.useRegex) {
        expression.setPattern(options.text);
        if (options.ignoreCase)
            expression.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        expression.optimize();
        return;
    }
    // Compared as Qt compares without case: each character folded.
    for (const QChar c : options.text) {
        if (!canOccurInNumber(options.ignoreCase ? c.toCaseFolded() : c)) {
            numbersCanMatch = false;
            break;
        }
    }
}

bool SearchMatcher::isValid() const
{
    return !options.useRegex || expression.isValid();
}

QString SearchMatcher::errorString() const
{
    return expression.errorString();
}

int SearchMatcher::matchingColumn(const JsonNode *node)
{
    if (keyMatches(node->key()))
        return 0;
    if (options.searchInValue && valueMatches(node))
        return 1;
    return -1;
}

bool SearchMatcher::matches(QStringView text) const
{
    return options.useRegex ? expression.match(text).hasMatch()
                            : text.contains(options.text, sensitivity);
}

// Keys are remembered by their shared text: equal data and length mean an
// equal key, and nothing changes the tree while a search runs.
bool SearchMatcher::keyMatches(const QString &key)
{
    const QChar *data = key.constData();
    KeyMemo &memo = keyMemos[std::hash<const void *> {}(data) % keyMemos.size()];
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
        if (nullMemo < 0)
            nullMemo = matches(model->displayValue(node));
        return nullMemo;
    case JsonNodeType::String:
        // A string short enough to be shown whole is its own text.
        if (value.typeId() == QMetaType::QString) {
            const auto *text = static_cast<const QString *>(value.constData());
            const int limit = model->maxTextLength();
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
            const int limit = model->maxTextLength();
            if (!numbersCanMatch && (limit <= 0 || limit >= longestNumberText))
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
    return matches(model->displayValue(node));
}

bool SearchMatcher::containerMatches(const JsonNode *node)
{
    const qsizetype count = node->childCount();
    if (count >= memoizedItemCounts)
        return matches(model->displayValue(node));
    std::vector<qint8> &memos
            = node->type() == JsonNodeType::Object ? objectMemos : arrayMemos;
    if (memos.empty())
        memos.assign(memoizedItemCounts, -1);
    if (memos[size_t(count)] < 0)
        memos[size_t(count)] = matches(model->displayValue(node));
    return memos[size_t(count)];
}
