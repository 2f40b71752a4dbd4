#pragma once

#include "randomsource.h"

#include <QByteArray>
#include <QString>

#include <string>

class JsonText;

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
    explicit DocumentGenerator(quint64 seed);

    // Writes records until the file reaches targetBytes, then closes the array.
    bool writeFile(const QString &path, qint64 targetBytes, QString *error);
    qint64 bytesWritten() const { return m_bytes; }
    qint64 recordCount() const { return m_records; }

    // The record key every record starts with.
    static constexpr const char *recordIdKey = "id";

private:
    void record(JsonText &out, qint64 sequence);
    void customer(JsonText &out);
    void historyEntry(JsonText &out);
    void orderLine(JsonText &out);
    std::string text(int minWords, int maxWords);
    std::string uuid();
    std::string timestamp();
    void decimal(JsonText &out, double scale, double offset, int digits);

    RandomSource random;
    qint64 m_bytes = 0;
    qint64 m_records = 0;
};
