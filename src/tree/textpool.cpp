#include "tree/textpool.h"

#include "tree/jsonnode.h"

#include <QStringDecoder>

#include <cstring>

namespace {

quint64 load8(const char *bytes)
{
    quint64 word;
    std::memcpy(&word, bytes, 8); // one unaligned load
    return word;
}

// Mixes the text eight bytes at a time: the pooled texts are short, and the
// hash is computed for every one of them. The last word overlaps the one
// before it rather than being loaded byte by byte.
quint64 hashOf(const char *bytes, qsizetype length)
{
    constexpr quint64 multiplier = 0x9E3779B97F4A7C15ULL;
    const auto mix = [](quint64 hash, quint64 word) {
        hash = (hash ^ word) * multiplier;
        return hash ^ (hash >> 29);
    };
    quint64 hash = quint64(length) * multiplier;
    for (qsizetype i = 0; i + 8 < length; i += 8)
        hash = mix(hash, load8(bytes + i));
    quint64 last = 0;
    if (length >= 8) {
        last = load8(bytes + length - 8);
    } else {
        for (qsizetype i = 0; i < length; ++i)
            last |= quint64(quint8(bytes[i])) << (8 * i);
    }
    return mix(hash, last);
}

// QString::fromUtf8 drops a leading byte-order mark, but at the start of a
// string or a name it is a character of the text (U+FEFF) and must stay.
QString decoded(const char *utf8, qsizetype length)
{
    const QByteArrayView bytes(utf8, length);
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder(bytes);
    }
    return QString::fromUtf8(bytes);
}

} // namespace

QString TextPool::text(const char *utf8, qsizetype length, qsizetype maxPooledLength)
{
    if (length > maxPooledLength)
        return decoded(utf8, length);
    if (m_table.empty())
        m_table.resize(capacity);

    const quint64 hash = hashOf(utf8, length);
    // The high bits of the last product are the best mixed: they select the slot.
    const auto tag = quint32(hash);
    // Open addressing with linear probing; the table is never more than half full.
    quint32 position = quint32(hash >> 32) & (capacity - 1);
    for (; m_table[position].entry != 0; position = (position + 1) & (capacity - 1)) {
        if (m_table[position].tag != tag)
            continue;
        const Entry &entry = m_entries[m_table[position].entry - 1];
        if (entry.utf8.size() == size_t(length)
            && std::memcmp(entry.utf8.data(), utf8, size_t(length)) == 0)
            return entry.text;
    }
    QString text = decoded(utf8, length);
    if (m_entries.size() < maxEntries) {
        m_entries.push_back({std::string(utf8, size_t(length)), text});
        m_table[position] = {tag, quint32(m_entries.size())};
    }
    return text;
}

QString TextPool::positionLabel(size_t position)
{
    constexpr size_t maxPooledLabels = 4096;
    if (position >= maxPooledLabels)
        return JsonNode::positionLabel(qsizetype(position));
    while (m_labels.size() <= position)
        m_labels.push_back(JsonNode::positionLabel(qsizetype(m_labels.size())));
    return m_labels[position];
}
