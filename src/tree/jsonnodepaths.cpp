// Where a node sits in its document, and the texts its key and position
// take there.

#include "tree/jsonnode.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace {

bool isIdentifierStart(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool isIdentifier(QStringView key)
{
    return !key.isEmpty() && isIdentifierStart(key.front())
            && std::all_of(key.begin() + 1, key.end(), [](QChar c) {
                   return isIdentifierStart(c) || (c >= u'0' && c <= u'9');
               });
}

// The key as a string between `quote`s, as JSON writes one with '"' and a
// JSONPath normalized path with "'": that quotation mark, backslashes and
// control characters escaped, everything else as it is, in runs.
void appendQuoted(QString &out, QStringView key, char16_t quote = u'"')
{
    // The characters with a short escape, and what each takes after "\".
    const char16_t escaped[] = {quote, u'\\', u'\b', u'\f', u'\n', u'\r', u'\t'};
    const char16_t letters[] = {quote, u'\\', u'b', u'f', u'n', u'r', u't'};
    out += quote;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key[i];
        if (c.unicode() >= 0x20 && c != quote && c != u'\\')
            continue;
        out += key.sliced(runStart, i - runStart);
        runStart = i + 1;
        const qsizetype shortForm = QStringView(escaped, std::size(escaped)).indexOf(c);
        out += u'\\';
        if (shortForm >= 0)
            out += QChar(letters[shortForm]);
        else
            out += QStringLiteral("u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    out += key.sliced(runStart);
    out += quote;
}

} // namespace

std::vector<const JsonNode *> JsonNode::stepsFromTop() const
{
    // The top-level value, the invisible root's child, adds nothing to a path.
    std::vector<const JsonNode *> steps;
    for (const JsonNode *node = this;
         node->m_parent && node->m_parent->m_type != JsonNodeType::None; node = node->m_parent)
        steps.push_back(node);
    return steps;
}

QString JsonNode::path() const
{
    const std::vector<const JsonNode *> steps = stepsFromTop();

    QString path;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        const JsonNode *node = *step;
        if (node->m_parent->m_type == JsonNodeType::Array) {
            path += positionLabel(node->row());
        } else if (isIdentifier(node->m_key)) {
            path += u'.';
            path += node->m_key;
        } else {
            path += u'[';
            appendQuoted(path, node->m_key);
            path += u']';
        }
    }
    return path.startsWith(u'.') ? path : u'.' + path;
}

QString JsonNode::normalizedPath() const
{
    const std::vector<const JsonNode *> steps = stepsFromTop();

    QString path = QStringLiteral("$");
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        const JsonNode *node = *step;
        if (node->m_parent->m_type == JsonNodeType::Array) {
            path += positionLabel(node->row());
            continue;
        }
        path += u'[';
        appendQuoted(path, node->m_key, u'\'');
        path += u']';
    }
    return path;
}

QString JsonNode::quoted(QStringView text)
{
    QString out;
    appendQuoted(out, text);
    return out;
}

QString JsonNode::positionLabel(qsizetype position)
{
    // One allocation: arrays of millions of elements make a label each.
    char label[24];
    label[0] = '[';
    char *end = std::to_chars(label + 1, label + sizeof label - 1, position).ptr;
    *end++ = ']';
    return QString::fromLatin1(label, end - label);
}
