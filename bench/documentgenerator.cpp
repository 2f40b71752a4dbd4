#include "documentgenerator.h"

#include "jsontext.h"

#include <QFile>

#include <cmath>

namespace {

const char *const words[] = {
        "amber",   "anchor",  "arrow",   "atlas",  "basalt", "beacon", "birch",  "canyon",
        "cedar",   "cobalt",  "comet",   "coral",  "delta",  "ember",  "falcon", "fern",
        "garnet",  "glacier", "granite", "harbor", "hazel",  "indigo", "island", "jasper",
        "juniper", "lagoon",  "lantern", "maple",  "meadow", "nebula", "nickel", "oasis",
        "onyx",    "orbit",   "pebble",  "pine",   "quartz", "raven",  "reef",   "saffron",
        "sierra",  "slate",   "spruce",  "summit", "tundra", "umber",  "velvet", "willow",
};
const char *const foreignWords[] = {
        "Göteborg",     "Łódź",       "Málaga",          "Øresund",   "Þingvellir",
        "Ελλάδα",       "Київ",       "Санкт-Петербург", "大阪",      "上海市",
        "ソウル",       "서울특별시", "עברית",           "العربية",   "हिन्दी",
        "ไทย",          "¥ 1 200",    "₹ 499",           "½ cup",     "Größe",
        "crème brûlée", "🙂",       "🎉 party",         "🧪 test", "👩🏾‍💻 dev",
        "𝄞 clef",
};
const char *const escapedWords[] = {
        "first line\nsecond line",
        "col1\tcol2\tcol3",
        "she said \"hi\"",
        "C:\\temp\\file",
        "a/b/c",
        "windows\r\nline",
        "bell \a here",
        "form\ffeed",
        "back\bspace",
        "unit \x1f sep",
        "mixed ä\t\"ö\"\n",
};
const char *const towns[] = {
        "Lisbon", "Oslo",   "Málaga", "Łódź",  "Київ",   "Dublin",
        "大阪",   "Québec", "Zagreb", "Αθήνα", "Tromsø", "Reims",
};
const char *const kinds[] = {"create", "update", "ship", "return", "cancel", "pay", "audit"};
const char *const colours[] = {"teal", "ochre", "crimson", "grau", "rouge", "青", "синий"};
const char *const grades[] = {"A", "B", "C", "D", "E"};

// Exact in every double implementation, unlike pow().
constexpr double powersOfTen[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};

constexpr qint64 flushBytes = 4 * 1024 * 1024;

std::string zeroPadded(quint64 value, int width)
{
    std::string digits = std::to_string(value);
    if (int(digits.size()) < width)
        digits.insert(0, size_t(width) - digits.size(), '0');
    return digits;
}

} // namespace

DocumentGenerator::DocumentGenerator(quint64 seed)
    : random(seed)
{
}

bool DocumentGenerator::writeFile(const QString &path, qint64 targetBytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = file.errorString();
        return false;
    }
    QByteArray buffer("[\n");
    m_bytes = 0;
    m_records = 0;
    for (;;) {
        const bool asciiOnly = random.chance(0.125);
        JsonText out(buffer, asciiOnly);
        record(out, m_records++);
        if (m_bytes + buffer.size() >= targetBytes)
            break;
        buffer += ",\n";
        if (buffer.size() >= flushBytes) {
            if (file.write(buffer) != buffer.size()) {
                *error = file.errorString();
                return false;
            }
            m_bytes += buffer.size();
            buffer.clear();
        }
    }
    buffer += "\n]\n";
    if (file.write(buffer) != buffer.size() || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    m_bytes += buffer.size();
    return true;
}

void DocumentGenerator::decimal(JsonText &out, double scale, double offset, int digits)
{
    const double units = (random.unit() - offset) * scale * powersOfTen[digits];
    out.decimal(qint64(std::floor(units)), digits);
}

std::string DocumentGenerator::text(int minWords, int maxWords)
{
    const qint64 count = random.between(minWords, maxWords);
    std::string result;
    for (qint64 i = 0; i < count; ++i) {
        if (i > 0)
            result += ' ';
        const double kind = random.unit();
        if (kind < 0.7)
            result += random.pick(words);
        else if (kind < 0.92)
            result += random.pick(foreignWords);
        else
            result += random.pick(escapedWords);
    }
    return result;
}

std::string DocumentGenerator::uuid()
{
    static const char hex[] = "0123456789abcdef";
    const quint64 halves[] = {random.bits64(), random.bits64()};
    std::string result;
    for (int nibble = 0; nibble < 32; ++nibble) {
        if (nibble == 8 || nibble == 12 || nibble == 16 || nibble == 20)
            result += '-';
        result += hex[(halves[nibble / 16] >> (60 - 4 * (nibble % 16))) & 0xf];
    }
    return result;
}

std::string DocumentGenerator::timestamp()
{
    return "2023-" + zeroPadded(random.between(1, 12), 2) + '-'
            + zeroPadded(random.between(1, 28), 2) + 'T' + zeroPadded(random.below(24), 2) + ':'
            + zeroPadded(random.below(60), 2) + ':' + zeroPadded(random.below(60), 2) + '.'
            + zeroPadded(random.below(1000), 3) + 'Z';
}

void DocumentGenerator::record(JsonText &out, qint64 sequence)
{
    out.beginObject();
    out.key(recordIdKey);
    // 63 random bits: most ids lie beyond what a double holds exactly.
    const auto id = qint64(random.bits64() >> 1);
    out.integer(random.chance(0.1) ? -id : id);
    out.key("seq");
    out.integer(sequence);
    out.key("ref");
    out.string(uuid());
    out.key("open");
    out.boolean(random.chance(0.7));
    out.key("rating");
    decimal(out, 100, 0.3, 6);
    out.key("placed");
    out.string(timestamp());
    out.key("title");
    out.string(text(1, 3));
    out.key("labels");
    out.beginArray();
    for (quint64 i = 0, n = random.below(5); i < n; ++i)
        out.string(random.pick(words));
    out.endArray();
    if (random.chance(0.5)) {
        out.key("comment");
        if (random.chance(0.7))
            out.string(text(2, 8));
        else
            out.null();
    }
    if (random.chance(0.6)) {
        out.key("customer");
        customer(out);
    }
    if (random.chance(0.5)) {
        out.key("readings");
        out.beginArray();
        for (qint64 i = 0, n = random.between(1, 6); i < n; ++i) {
            const double kind = random.unit();
            if (kind < 0.7)
                out.integer(qint64(random.below(1000)));
            else if (kind < 0.95)
                decimal(out, 1, 0, 5);
            else
                out.scientific(qint64(random.between(100, 999)), 2, -int(random.between(5, 12)));
        }
        out.endArray();
    }
    if (random.chance(0.3)) {
        out.key("history");
        out.beginArray();
        for (qint64 i = 0, n = random.between(1, 2); i < n; ++i)
            historyEntry(out);
        out.endArray();
    }
    out.endObject();
}

void DocumentGenerator::customer(JsonText &out)
{
    out.beginObject();
    out.key("login");
    out.string('@' + std::string(random.pick(words)) + std::to_string(random.below(10000)));
    out.key("age");
    out.integer(random.between(18, 90));
    out.key("credit");
    decimal(out, 1e5, 0.3, 2);
    out.key("trusted");
    out.boolean(random.chance(0.4));
    out.key("home");
    out.beginObject();
    out.key("town");
    out.string(random.pick(towns));
    out.key("postcode");
    out.string(zeroPadded(random.below(100000), 5));
    out.key("position");
    out.beginObject();
    out.key("lat");
    decimal(out, 180, 0.5, 6);
    out.key("lon");
    decimal(out, 360, 0.5, 6);
    out.key("elevation");
    if (random.chance(0.5))
        out.null();
    else
        decimal(out, 4000, 0.1, 1);
    out.endObject();
    out.endObject();
    out.endObject();
}

void DocumentGenerator::historyEntry(JsonText &out)
{
    out.beginObject();
    out.key("kind");
    out.string(random.pick(kinds));
    out.key("at");
    out.integer(1672531200000 + qint64(random.below(31536000000)));
    out.key("ok");
    out.boolean(random.chance(0.9));
    out.key("detail");
    out.beginObject();
    out.key("code");
    out.string(random.pick(words));
    out.key("amount");
    const double kind = random.unit();
    if (kind < 0.2)
        out.null();
    else if (kind < 0.6)
        decimal(out, 1e6, 0.3, 4);
    else
        out.integer(qint64(random.below(1 << 20)));
    if (random.chance(0.6)) {
        out.key("lines");
        out.beginArray();
        for (qint64 i = 0, n = random.between(1, 3); i < n; ++i)
            orderLine(out);
        out.endArray();
    }
    out.endObject();
    out.endObject();
}

void DocumentGenerator::orderLine(JsonText &out)
{
    out.beginObject();
    out.key("part");
    out.string("P-" + zeroPadded(random.below(1000000), 6));
    out.key("count");
    out.integer(random.between(1, 9));
    out.key("unitPrice");
    decimal(out, 500, 0, 2);
    out.key("props");
    out.beginObject();
    out.key("colour");
    out.string(random.pick(colours));
    out.key("grade");
    out.string(random.pick(grades));
    out.key("mass");
    decimal(out, 20, 0.3, 3);
    out.endObject();
    if (random.chance(0.3)) {
        out.key("box");
        out.beginArray();
        for (int i = 0; i < 3; ++i)
            decimal(out, 100, 0.3, 1);
        out.endArray();
    }
    out.endObject();
}
