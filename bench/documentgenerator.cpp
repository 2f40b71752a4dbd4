#include "scenario.h"

#include <QFile>

#include <cmath>
#include <cstring>
#include <random>

namespace {

const QList<QByteArray> words
        = QByteArray("amber|anchor|arrow|atlas|basalt|beacon|birch|canyon|cedar|cobalt|comet|coral|"
                     "delta|ember|falcon|fern|garnet|glacier|granite|harbor|hazel|indigo|island|"
                     "jasper|juniper|lagoon|lantern|maple|meadow|nebula|nickel|oasis|onyx|orbit|"
                     "pebble|pine|quartz|raven|reef|saffron|sierra|slate|spruce|summit|tundra|"
                     "umber|velvet|willow")
                  .split('|');
const QList<QByteArray> foreignWords
        = QByteArray(
                  "Göteborg|Łódź|Málaga|Øresund|Þingvellir|Ελλάδα|Київ|Санкт-Петербург|大阪|上海市|"
                  "ソウル|서울특별시|עברית|العربية|हिन्दी|ไทย|¥ 1 200|₹ 499|½ cup|Größe|crème "
                  "brûlée|🙂|🎉 party|🧪 test|👩🏾‍💻 dev|𝄞 clef")
                  .split('|');
const QList<QByteArray> escapedWords
        = QByteArray("first line\nsecond line|col1\tcol2\tcol3|she said "
                     "\"hi\"|C:\\temp\\file|a/b/c|windows\r\nline|bell \a "
                     "here|form\ffeed|back\bspace|unit \x1f sep|mixed ä\t\"ö\"\n")
                  .split('|');
const QList<QByteArray> towns
        = QByteArray("Lisbon|Oslo|Málaga|Łódź|Київ|Dublin|大阪|Québec|Zagreb|Αθήνα|Tromsø|Reims")
                  .split('|');
const QList<QByteArray> kinds = QByteArray("create|update|ship|return|cancel|pay|audit").split('|');
const QList<QByteArray> colours = QByteArray("teal|ochre|crimson|grau|rouge|青|синий").split('|');
const QList<QByteArray> grades = QByteArray("A|B|C|D|E").split('|');

// Exact in every double implementation, unlike pow().
constexpr double powersOfTen[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};

// units / 10^digits, no trailing zeros; exact, as no value nears 2^53.
QByteArray fixedPoint(qint64 units, int digits)
{
    QByteArray text = QByteArray::number(double(units) / powersOfTen[digits], 'f', digits);
    while (text.endsWith('0') && !text.endsWith(".0"))
        text.chop(1);
    return text;
}

struct Generator
{
    void record(qint64 sequence)
    {
        asciiOnly = chance(0.125);
        raw("{");
        // 63 random bits: most ids lie beyond what a double holds exactly.
        const auto id = qint64(engine() >> 1);
        key("id").integer(chance(0.1) ? -id : id);
        key("seq").integer(sequence);
        key("ref").string(uuid());
        key("open").boolean(chance(0.7));
        key("rating").decimal(100, 0.3, 6);
        key("placed").string(timestamp());
        key("title").string(text(1, 3));
        array("labels", qint64(below(5)), [this] { string(pick(words)); });
        if (chance(0.5))
            chance(0.7) ? key("comment").string(text(2, 8)) : key("comment").null();
        if (chance(0.6))
            key("customer").customer();
        if (chance(0.5))
            array("readings", between(1, 6), [this] {
                const double kind = unit();
                kind < 0.7 ? integer(qint64(below(1000))) : kind < 0.95 ? decimal(1, 0, 5) : tiny();
            });
        if (chance(0.3))
            array("history", between(1, 2), [this] { historyEntry(); });
        out += '}';
    }

    void customer()
    {
        raw("{");
        const QByteArray number = QByteArray::number(below(10000));
        key("login").string('@' + pick(words) + number);
        key("age").integer(between(18, 90));
        key("credit").decimal(1e5, 0.3, 2);
        key("trusted").boolean(chance(0.4));
        key("home").raw("{");
        key("town").string(pick(towns));
        key("postcode").string(QByteArray::number(below(100000)).rightJustified(5, '0'));
        key("position").raw("{");
        key("lat").decimal(180, 0.5, 6);
        key("lon").decimal(360, 0.5, 6);
        chance(0.5) ? key("elevation").null() : key("elevation").decimal(4000, 0.1, 1);
        out += "}}}";
    }

    void historyEntry()
    {
        raw("{");
        key("kind").string(pick(kinds));
        key("at").integer(1672531200000 + qint64(below(31536000000)));
        key("ok").boolean(chance(0.9));
        key("detail").raw("{");
        key("code").string(pick(words));
        key("amount");
        const double kind = unit();
        kind < 0.2 ? null() : kind < 0.6 ? decimal(1e6, 0.3, 4) : integer(qint64(below(1 << 20)));
        if (chance(0.6))
            array("lines", between(1, 3), [this] { orderLine(); });
        out += "}}";
    }

    void orderLine()
    {
        raw("{");
        key("part").string("P-" + QByteArray::number(below(1000000)).rightJustified(6, '0'));
        key("count").integer(between(1, 9));
        key("unitPrice").decimal(500, 0, 2);
        key("props").raw("{");
        key("colour").string(pick(colours));
        key("grade").string(pick(grades));
        key("mass").decimal(20, 0.3, 3);
        out += '}';
        if (chance(0.3))
            array("box", 3, [this] { decimal(100, 0.3, 1); });
        out += '}';
    }

    QByteArray text(int minWords, int maxWords)
    {
        QByteArray result;
        for (qint64 i = 0, count = between(minWords, maxWords); i < count; ++i) {
            const double kind = unit();
            result += (i > 0 ? " " : "")
                    + (kind < 0.7            ? pick(words)
                               : kind < 0.92 ? pick(foreignWords)
                                             : pick(escapedWords));
        }
        return result;
    }

    QByteArray uuid()
    {
        const quint64 high = engine(), low = engine();
        QByteArray hex = QByteArray::number(high, 16).rightJustified(16, '0')
                + QByteArray::number(low, 16).rightJustified(16, '0');
        return hex.insert(20, '-').insert(16, '-').insert(12, '-').insert(8, '-');
    }

    QByteArray timestamp()
    {
        // Drawn last field first, as for the documents measured so far.
        const quint64 millisecond = below(1000), second = below(60), minute = below(60),
                      hour = below(24), day = below(28) + 1, month = below(12) + 1;
        return QString::asprintf("2023-%02llu-%02lluT%02llu:%02llu:%02llu.%03lluZ", month, day,
                                 hour, minute, second, millisecond)
                .toLatin1();
    }

    // The raw output of mt19937_64 is fixed by the C++ standard, its
    // distributions are not: the mapping onto ranges is our own.
    double unit() { return double(engine() >> 11) * 0x1.0p-53; }
    quint64 below(quint64 bound) { return quint64(unit() * double(bound)); }
    qint64 between(qint64 low, qint64 high) { return low + qint64(below(quint64(high - low) + 1)); }
    bool chance(double probability) { return unit() < probability; }
    const QByteArray &pick(const QList<QByteArray> &items)
    {
        return items[qsizetype(below(quint64(items.size())))];
    }

    // A comma before each key or value, unless a line, bracket or key precedes.
    void raw(const QByteArray &text)
    {
        if (!out.isEmpty() && !std::strchr("\n[{:", out.back()))
            out += ',';
        out += text;
    }
    Generator &key(QByteArrayView name)
    {
        string(name);
        out += ':';
        return *this;
    }
    template<typename Element> void array(const char *name, qint64 count, Element element)
    {
        key(name).raw("[");
        for (qint64 i = 0; i < count; ++i)
            element();
        out += ']';
    }
    void integer(qint64 value) { raw(QByteArray::number(value)); }
    void boolean(bool value) { raw(value ? "true" : "false"); }
    void null() { raw("null"); }
    // (unit() - offset) * scale with `digits` decimals.
    void decimal(double scale, double offset, int digits)
    {
        raw(fixedPoint(qint64(std::floor((unit() - offset) * scale * powersOfTen[digits])),
                       digits));
    }
    // A small number in exponent form, its exponent drawn first.
    void tiny()
    {
        const QByteArray exponent = QByteArray::number(-between(5, 12));
        raw(fixedPoint(between(100, 999), 2) + 'e' + exponent);
    }

    // Beyond ASCII: \u escapes of UTF-16 code units with asciiOnly, else UTF-8.
    void string(QByteArrayView utf8)
    {
        raw("\"");
        if (asciiOnly) {
            for (const QChar unit : QString::fromUtf8(utf8))
                character(unit.unicode());
        } else {
            for (const char byte : utf8)
                character(uchar(byte));
        }
        out += '"';
    }
    void character(uint unit)
    {
        // Each character that has a short escape, followed by its letter.
        static const char shortEscapes[] = "\"\"\\\\\nn\rr\tt\bb\ff";
        const char *escape = unit && unit < 0x80 ? std::strchr(shortEscapes, int(unit)) : nullptr;
        if (escape && (escape - shortEscapes) % 2 == 0)
            out.append('\\').append(escape[1]);
        else if (unit < 0x20 || (asciiOnly && unit >= 0x80))
            out += "\\u" + QByteArray::number(unit, 16).rightJustified(4, '0');
        else
            out += char(unit);
    }

    std::mt19937_64 engine;
    QByteArray out = "[\n"; // compact JSON, flushed by the caller
    bool asciiOnly = false;
};

} // namespace

bool generateDocument(const QString &path, qint64 targetBytes, quint64 seed, QString *error)
{
    QFile file(path);
    Generator generator {std::mt19937_64(seed)};
    QByteArray &out = generator.out;
    qint64 written = 0;
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    for (qint64 sequence = 0; ok; ++sequence) {
        generator.record(sequence);
        if (written + out.size() >= targetBytes)
            break;
        out += ",\n";
        if (out.size() >= 4 * 1024 * 1024) {
            ok = file.write(out) == out.size();
            written += out.size();
            out.clear();
        }
    }
    out += "\n]\n";
    ok = ok && file.write(out) == out.size() && file.flush();
    *error = file.errorString();
    return ok;
}

QByteArray fixedDocument(const QString &name)
{
    if (name == QLatin1String(pasteDocument)) {
        QByteArray elements;
        for (int i = 0; i < 200000; ++i)
            elements += (i ? ", " : "") + QByteArray::number(i * 7919 % 1000003);
        return "{\"thatkey\": [" + elements + "]}\n";
    }
    if (name == QLatin1String(longKeyDocument))
        return "{\"" + QByteArray(7000000, 'k') + "\": 1}\n";
    if (name == QLatin1String(millionDocument)) {
        QByteArray elements;
        for (int i = 0; i < 1000000; ++i)
            elements += (i ? "," : "") + QByteArray::number(i);
        return "{\"data\": {\"million\": [" + elements + "]}}\n";
    }
    return {};
}
