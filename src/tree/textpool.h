#pragma once

#include <QString>

#include <string>
#include <vector>

// Decodes UTF-8 texts that repeat across a document (member names, short
// values such as "red" or "EUR") once, and returns implicitly shared copies of
// the result, so that a million equal texts cost one allocation instead of a
// million. Texts longer than the given limit, and new texts once the pool is
// full, are decoded each time as usual.
class TextPool
{
public:
    QString text(const char *utf8, qsizetype length, qsizetype maxPooledLength);
    // The key of an array element, "[0]", "[1]", ...: the first few
    // thousand, which every small array repeats, made once.
    QString positionLabel(size_t position);

private:
    struct Entry
    {
        std::string utf8; // a copy: the parsed document may be freed first
        QString text;
    };
    // A slot of the hash table: the low 32 bits of the hash, to skip most
    // entries without comparing them, and the entry's index plus one (0 for a
    // free slot). Slots are small so that the table stays in the CPU cache.
    struct Slot
    {
        quint32 tag = 0;
        quint32 entry = 0;
    };

    static constexpr quint32 capacity = quint32(1) << 12;
    static constexpr size_t maxEntries = capacity / 2;

    std::vector<Slot> m_table;
    std::vector<Entry> m_entries;
    std::vector<QString> m_labels;
};
