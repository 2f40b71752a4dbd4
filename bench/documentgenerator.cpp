#include "documentgenerator.h"

#include <QFile>

#include <cmath>
#include <cstring>

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
    digits.insert(0, size_t(std::max(0, width - int(digits.size()))), '0');
    return digits;
}

// units / 10^digits, with at least one fraction digit and no trailing zeros.
QByteArray fixedPoint(qint64 units, int digits)
{
    QByteArray magnitude = QByteArray::number(units < 0 ? -units : units);
    if (magnitude.size() <= digits)
        magnitude.prepend(QByteArray(digits + 1 - magnitude.size(), '0'));
    QByteArray fraction = magnitude.right(digits);
    while (fraction.size() > 1 && fraction.endsWith('0'))
        fraction.chop(1);
    return (units < 0 ? "-" : "") + magnitude.left(magnitude.size() - digits) + '.'
            + (fraction.isEmpty() ? QByteArray("0") : fraction);
}

} // namespace

bool DocumentGenerator::writeFile(const QString &path, qint64 targetBytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = file.errorString();
        return false;
    }
    out = "[\n";
    qint64 written = 0;
    for (qint64 sequence = 0;; ++sequence) {
        asciiOnly = chance(0.125);
        record(sequence);
        if (written + out.size() >= targetBytes)
            break;
        out += ",\n";
        if (out.size() >= flushBytes) {
            if (file.write(out) != out.size()) {
                *error = file.errorString();
                return false;
            }
            written += out.size();
            out.clear();
        }
    }
    out += "\n]\n";
    if (file.write(out) != out.size() || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

std::string DocumentGenerator::text(int minWords, int maxWords)
{
    const qint64 count = between(minWords, maxWords);
    std::string result;
    for (qint64 i = 0; i < count; ++i) {
        if (i > 0)
            result += ' ';
        const double kind = unit();
        result += kind < 0.7 ? pick(words) : kind < 0.92 ? pick(foreignWords) : pick(escapedWords);
    }
    return result;
}

std::string DocumentGenerator::uuid()
{
    const quint64 halves[] = {engine(), engine()};
    std::string result;
    for (int nibble = 0; nibble < 32; ++nibble) {
        if (nibble == 8 || nibble == 12 || nibble == 16 || nibble == 20)
            result += '-';
        result += "0123456789abcdef"[(halves[nibble / 16] >> (60 - 4 * (nibble % 16))) & 0xf];
    }
    return result;
}

std::string DocumentGenerator::timestamp()
{
    // Drawn from the last field to the first, the order of the documents
    // measured so far.
    const quint64 millisecond = below(1000), second = below(60), minute = below(60);
    const quint64 hour = below(24), day = quint64(between(1, 28)), month = quint64(between(1, 12));
    return "2023-" + zeroPadded(month, 2) + '-' + zeroPadded(day, 2) + 'T' + zeroPadded(hour, 2)
            + ':' + zeroPadded(minute, 2) + ':' + zeroPadded(second, 2) + '.'
            + zeroPadded(millisecond, 3) + 'Z';
}

void DocumentGenerator::record(qint64 sequence)
{
    open('{');
    // 63 random bits: most ids lie beyond what a double holds exactly.
    const auto id = qint64(engine() >> 1);
    key(recordIdKey).integer(chance(0.1) ? -id : id);
    key("seq").integer(sequence);
    key("ref").string(uuid());
    key("open").boolean(chance(0.7));
    key("rating").decimal(100, 0.3, 6);
    key("placed").string(timestamp());
    key("title").string(text(1, 3));
    key("labels").open('[');
    for (quint64 i = 0, n = below(5); i < n; ++i)
        string(pick(words));
    close(']');
    if (chance(0.5)) {
        key("comment");
        if (chance(0.7))
            string(text(2, 8));
        else
            null();
    }
    if (chance(0.6)) {
        key("customer");
        customer();
    }
    if (chance(0.5)) {
        key("readings").open('[');
        for (qint64 i = 0, n = between(1, 6); i < n; ++i) {
            const double kind = unit();
            if (kind < 0.7) {
                integer(qint64(below(1000)));
            } else if (kind < 0.95) {
                decimal(1, 0, 5);
            } else {
                const qint64 exponent = -between(5, 12);
                raw(fixedPoint(between(100, 999), 2) + 'e' + QByteArray::number(exponent));
            }
        }
        close(']');
    }
    if (chance(0.3)) {
        key("history").open('[');
        for (qint64 i = 0, n = between(1, 2); i < n; ++i)
            historyEntry();
        close(']');
    }
    close('}');
}

void DocumentGenerator::customer()
{
    open('{');
    const std::string number = std::to_string(below(10000));
    key("login").string('@' + std::string(pick(words)) + number);
    key("age").integer(between(18, 90));
    key("credit").decimal(1e5, 0.3, 2);
    key("trusted").boolean(chance(0.4));
    key("home").open('{');
    key("town").string(pick(towns));
    key("postcode").string(zeroPadded(below(100000), 5));
    key("position").open('{');
    key("lat").decimal(180, 0.5, 6);
    key("lon").decimal(360, 0.5, 6);
    key("elevation");
    if (chance(0.5))
        null();
    else
        decimal(4000, 0.1, 1);
    close('}');
    close('}');
    close('}');
}

void DocumentGenerator::historyEntry()
{
    open('{');
    key("kind").string(pick(kinds));
    key("at").integer(1672531200000 + qint64(below(31536000000)));
    key("ok").boolean(chance(0.9));
    key("detail").open('{');
    key("code").string(pick(words));
    key("amount");
    const double kind = unit();
    if (kind < 0.2)
        null();
    else if (kind < 0.6)
        decimal(1e6, 0.3, 4);
    else
        integer(qint64(below(1 << 20)));
    if (chance(0.6)) {
        key("lines").open('[');
        for (qint64 i = 0, n = between(1, 3); i < n; ++i)
            orderLine();
        close(']');
    }
    close('}');
    close('}');
}

void DocumentGenerator::orderLine()
{
    open('{');
    key("part").string("P-" + zeroPadded(below(1000000), 6));
    key("count").integer(between(1, 9));
    key("unitPrice").decimal(500, 0, 2);
    key("props").open('{');
    key("colour").string(pick(colours));
    key("grade").string(pick(grades));
    key("mass").decimal(20, 0.3, 3);
    close('}');
    if (chance(0.3)) {
        key("box").open('[');
        for (int i = 0; i < 3; ++i)
            decimal(100, 0.3, 1);
        close(']');
    }
    close('}');
}

void DocumentGenerator::separate()
{
    // No comma at the start of a line, after an opening bracket or a key.
    if (!out.isEmpty() && !std::strchr("\n[{:", out.back()))
        out += ',';
}

DocumentGenerator &DocumentGenerator::key(std::string_view name)
{
    separate();
    quoted(name);
    out += ':';
    return *this;
}

void DocumentGenerator::open(char bracket)
{
    separate();
    out += bracket;
}

void DocumentGenerator::raw(const QByteArray &text)
{
    separate();
    out += text;
}

void DocumentGenerator::string(std::string_view utf8)
{
    separate();
    quoted(utf8);
}

void DocumentGenerator::decimal(double scale, double offset, int digits)
{
    raw(fixedPoint(qint64(std::floor((unit() - offset) * scale * powersOfTen[digits])), digits));
}

void DocumentGenerator::escape(uint codeUnit)
{
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += "0123456789abcdef"[(codeUnit >> shift) & 0xf];
}

void DocumentGenerator::quoted(std::string_view utf8)
{
    static const char shortEscapes[] = "\"\"\\\\\nn\rr\tt\bb\ff";
    out += '"';
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = uchar(utf8[i]);
        if (const char *pair = byte ? std::strchr(shortEscapes, byte) : nullptr;
            pair && (pair - shortEscapes) % 2 == 0) {
            out += '\\';
            out += pair[1];
        } else if (byte < 0x20) {
            escape(byte);
        } else if (byte < 0x80 || !asciiOnly) {
            out += char(byte);
        } else {
            // The word lists hold valid UTF-8 only.
            const int length = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : 2;
            uint codePoint = byte & (0x7f >> length);
            for (int k = 1; k < length; ++k)
                codePoint = (codePoint << 6) | (uchar(utf8[i + size_t(k)]) & 0x3f);
            i += size_t(length - 1);
            if (codePoint >= 0x10000) {
                escape(0xd800 + ((codePoint - 0x10000) >> 10));
                escape(0xdc00 + ((codePoint - 0x10000) & 0x3ff));
            } else {
                escape(codePoint);
            }
        }
    }
    out += '"';
}
