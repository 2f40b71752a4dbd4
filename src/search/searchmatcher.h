#pragma once

#include "search/searchoptions.h"

#include <QRegularExpression>
#include <QString>

#include <array>
#include <vector>

class JsonNode;
class JsonTreeModel;

// Matches rows against one search: the key as the Key column shows it, then,
// if enabled, the text the Value column shows. Created once per search, it
// compiles the regular expression once and caches results along the way:
// keys are implicitly shared between rows, and a container's display text
// depends only on its type and child count, so most rows are matched without
// building any text at all.
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

    const JsonTreeModel *m_model;
    const SearchOptions m_options;
    const Qt::CaseSensitivity m_sensitivity;
    QRegularExpression m_expression;
    // Whether the search text can occur in the text of a number at all.
    bool m_numbersCanMatch = true;

    struct KeyMemo
    {
        const QChar *data = nullptr;
        qsizetype size = -1;
        bool matches = false;
    };
    std::array<KeyMemo, 4096> m_keyMemos;
    // Cached results by child count, for objects and arrays: -1 unknown, else
    // 0 or 1.
    std::vector<qint8> m_objectMemos;
    std::vector<qint8> m_arrayMemos;
    qint8 m_nullMemo = -1;
};
