#pragma once

#include <QMetaType>
#include <QString>

// What the Find dialog hands to the search: a plain value, copied freely.
struct SearchOptions
{
    QString text; // trimmed by the dialog
    bool backward = false;
    bool ignoreCase = false;
    bool wrapAround = true;
    bool useRegex = false;
    bool searchInValue = false; // the key is always searched
};

Q_DECLARE_METATYPE(SearchOptions)
