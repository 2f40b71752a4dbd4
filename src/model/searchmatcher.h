#pragma once

#include "model/searchoptions.h"

#include <QRegularExpression>
#include <QString>

#include <array>
#include <vector>

class JsonNode;
class JsonTreeModel;

// Tests rows against one search: the key as the Key column shows it, then,
// when asked, the text the Value column shows. Made once per search, it
// compiles the expression once and remembers what it learnt along the way:
// keys are shared between the rows that carry them, and a container's text
// depends only on its kind and size, so most rows are answered without
// making any text at all.
class SearchMatcher
{
public:
    SearchMatcher(const JsonTreeModel *model, const SearchOptions &options);

    bool isValid() const;
    QString errorString() const;

    // 0 when the key matches, 1 when only the value does, -1 for neither.
    int matchingColumn(const JsonNode *node);

private:
    bool matches(QStringView text) const;
    bool keyMatches(const QString &key);
    bool valueMatches(const JsonNode *node);
    bool containerMatches(const JsonNode *node);

    const JsonTreeModel *model;
    const SearchOptions options;
    const Qt::CaseSensitivity sensitivity;
    QRegularExpression expression;
    // Whether the search text can occur in the text of a number at all.
    bool numbersCanMatch = true;

    struct KeyMemo
    {
        const QChar *data = nullptr;
        qsizetype size = -1;
        bool matches = false;
    };
    std::array<KeyMemo, 4096> keyMemos;
    // By item count, for objects and arrays: -1 unknown, else 0 or 1.
    std::vector<qint8> objectMemos;
    std::vector<qint8> arrayMemos;
    qint8 nullMemo = -1;
};
