#include "io/pasteparser.h"

#include "io/jsonreader.h"
#include "model/jsonnode.h"

PasteParser::Result PasteParser::parse(const QString &text)
{
    Result result;
    QString valueText;
    if (splitKeyValue(text, result.key, valueText)) {
        result.node = parseJson(valueText);
        if (result.node) {
            result.kind = Kind::KeyValue;
            return result;
        }
    }
    result.key.clear();
    result.node = parseJson(text);
    if (result.node) {
        result.kind = Kind::Json;
        return result;
    }
    result.kind = Kind::Text;
    result.node.reset(new JsonNode(QString(), text, JsonNodeType::String));
    return result;
}

bool PasteParser::splitKeyValue(const QString &text, QString &key, QString &valueText)
{
    const qsizetype separator = text.indexOf(QLatin1String(": "));
    if (separator < 0)
        return false;
    key = text.left(separator);
    valueText = text.mid(separator + 2);
    if (key.size() >= 2 && key.startsWith(QLatin1Char('"')) && key.endsWith(QLatin1Char('"')))
        key = key.mid(1, key.size() - 2);
    // A key with a bracket is the first member of a JSON text instead.
    return !key.contains(QLatin1Char('{')) && !key.contains(QLatin1Char('['));
}

std::unique_ptr<JsonNode> PasteParser::parseJson(const QString &text)
{
    QString error;
    return std::unique_ptr<JsonNode>(JsonReader::parse(text.toUtf8(), &error));
}
