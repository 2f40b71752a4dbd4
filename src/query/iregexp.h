#pragma once

#include <QRegularExpression>
#include <QString>

// I-Regexp, the interoperable regular expressions of RFC 9485, translated into
// the PCRE2 dialect of QRegularExpression.
class IRegexp
{
public:
    // The expression that matches what `iregexp` matches: the whole subject
    // when `wholeString` is set (JSONPath's match()), any substring of it
    // otherwise (search()). An invalid QRegularExpression when `iregexp`
    // is not an I-Regexp.
    static QRegularExpression compile(const QString &iregexp, bool wholeString);
};
