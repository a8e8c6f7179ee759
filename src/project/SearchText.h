#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Text in the form that searching compares, the same form the page's search
// box gives it: NFKC makes full-width Latin letters and digits half-width and
// half-width katakana full-width (joining their sound marks), then upper case
// becomes lower case, katakana hiragana, and each run of white space one
// space. So "ＦＡＱ", "faq" and "Faq" read alike, and so do "ｶﾞｲﾄﾞ", "ガイド"
// and "がいど".
class SearchText {
public:
    static QString fold(const QString& text);

    // The words of what the user typed, folded: the parts between spaces.
    static QStringList words(const QString& query);

    // Whether the folded text holds every word, in any order.
    static bool containsAll(QStringView folded, const QStringList& words);
};
