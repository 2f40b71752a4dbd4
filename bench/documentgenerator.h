#pragma once

#include <QString>

// Writes a benchmark document: one top-level array of compact records, one
// record per line, dense in values, the worst case for a tree of nodes, up to
// targetBytes. Records mix objects, arrays, text in many scripts with escapes,
// small and 64-bit integers, decimals, booleans and nulls, nested up to eight
// levels (the top array counting as one). About one record in eight is
// written in ASCII only, so both raw UTF-8 and \u escapes (surrogate pairs
// included) occur. The same seed and size give the same bytes everywhere.
bool generateDocument(const QString &path, qint64 targetBytes, quint64 seed, QString *error);

// The key every record starts with.
constexpr char recordIdKey[] = "id";
