#include "io/pasteparser.h"

#include "io/jsonreader.h"
#include "tree/jsonnode.h"

namespace {

const QLatin1String separator(": ");

// The length of the JSON string at the start of `text`, quotation marks
// included; 0 when the text does not start with a whole one.
qsizetype leadingStringLength(const QString &text)
{
    if (!text.startsWith(u'"'))
        return 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text.at(i) == u'\\')
            ++i;
        else if (text.at(i) == u'"')
            return i + 1;
    }
    return 0;
}

} // namespace

PasteParser::Result PasteParser::parse(const QString &text)
{
    Result result;
    for (const auto split : {&PasteParser::splitQuotedKey, &PasteParser::splitKeyValue}) {
        QString valueText;
        if (split(text, result.key, valueText)) {
            result.node = parseJson(valueText);
            if (result.node) {
                result.kind = Kind::KeyValue;
                return result;
            }
        }
    }
    result.key.clear();
    result.node = parseJson(text);
    if (result.node) {
        result.kind = Kind::Json;
        return result;
    }
    result.kind = Kind::Text;
    result.node = std::make_unique<JsonNode>(QString(), text, JsonNodeType::String);
    return result;
}

bool PasteParser::splitQuotedKey(const QString &text, QString &key, QString &valueText)
{
    const qsizetype length = leadingStringLength(text);
    if (length == 0 || !QStringView(text).sliced(length).startsWith(separator))
        return false;
    const std::unique_ptr<JsonNode> name = parseJson(text.left(length));
    if (!name) // an escape JSON does not have
        return false;
    key = name->value().toString();
    valueText = text.mid(length + separator.size());
    return true;
}

bool PasteParser::splitKeyValue(const QString &text, QString &key, QString &valueText)
{
    const qsizetype at = text.indexOf(separator);
    if (at < 0)
        return false;
    key = text.left(at);
    valueText = text.mid(at + separator.size());
    if (key.size() >= 2 && key.startsWith(QLatin1Char('"')) && key.endsWith(QLatin1Char('"')))
        key = key.mid(1, key.size() - 2);
    // A key with a bracket is the first member of a JSON text instead.
    return !key.contains(QLatin1Char('{')) && !key.contains(QLatin1Char('['));
}

std::unique_ptr<JsonNode> PasteParser::parseJson(const QString &text)
{
    QString error;
    return JsonReader::parse(text.toUtf8(), &error);
}
