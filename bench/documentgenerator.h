#pragma once

#include <QByteArray>
#include <QString>

#include <random>
#include <string>
#include <string_view>

// Writes benchmark documents: one top-level array of compact records, one
// record per line, dense in values, the worst case for a tree of nodes.
// Records mix objects, arrays, text in many scripts with escapes, small and
// 64-bit integers, decimals, booleans and nulls, nested up to eight levels
// (the top array counting as one). About one record in eight is written in
// ASCII only, so both raw UTF-8 and \u escapes (surrogate pairs included)
// occur. The same seed and size give the same bytes everywhere.
class DocumentGenerator
{
public:
    explicit DocumentGenerator(quint64 seed)
        : engine(seed)
    {
    }

    // Writes records until the file reaches targetBytes, then closes the array.
    bool writeFile(const QString &path, qint64 targetBytes, QString *error);

    // The key every record starts with.
    static constexpr const char *recordIdKey = "id";

private:
    // The raw output of mt19937_64 is fixed by the C++ standard, its
    // distributions are not: the mapping onto ranges is our own, so every
    // compiler and library makes the same document.
    double unit() { return double(engine() >> 11) * 0x1.0p-53; }
    quint64 below(quint64 bound) { return quint64(unit() * double(bound)); }
    qint64 between(qint64 low, qint64 high) { return low + qint64(below(quint64(high - low) + 1)); }
    bool chance(double probability) { return unit() < probability; }
    template<typename T, size_t N> const T &pick(const T (&items)[N]) { return items[below(N)]; }

    void record(qint64 sequence);
    void customer();
    void historyEntry();
    void orderLine();
    std::string text(int minWords, int maxWords);
    std::string uuid();
    std::string timestamp();

    // Compact JSON into `out`; each value or key finds its comma from the
    // byte before it.
    DocumentGenerator &key(std::string_view name);
    void open(char bracket);
    void close(char bracket) { out += bracket; }
    void raw(const QByteArray &text);
    void string(std::string_view utf8);
    void integer(qint64 value) { raw(QByteArray::number(value)); }
    void boolean(bool value) { raw(value ? "true" : "false"); }
    void null() { raw("null"); }
    // A random fixed-point number: (unit() - offset) * scale, `digits` decimals.
    void decimal(double scale, double offset, int digits);
    void separate();
    void quoted(std::string_view utf8);
    void escape(uint codeUnit);

    std::mt19937_64 engine;
    QByteArray out;
    bool asciiOnly = false;
};
