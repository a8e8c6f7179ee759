#include "project/SearchText.h"

#include <algorithm>
#include <array>

namespace {

// White space as the page's script counts it (\s in JavaScript), of which
// NFKC has left these.
bool isSpace(char16_t c) {
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u'\u1680':
    case u'\u2028':
    case u'\u2029':
    case u'\ufeff':
        return true;
    default:
        return false;
    }
}

bool isIn(char16_t c, char16_t first, char16_t last) {
    return c >= first && c <= last;
}

// Katakana from ァ to ヶ has each letter's hiragana 0x60 below it.
char16_t hiraganaOf(char16_t c) {
    constexpr char16_t kKatakanaToHiragana = 0x60;
    return isIn(c, u'ァ', u'ヶ') ? char16_t(c - kKatakanaToHiragana) : c;
}

// What folding makes of the characters most text consists of: ASCII,
// full-width ASCII, white space, Japanese punctuation, kana and kanji, all of
// which NFKC leaves alone or makes one ASCII character. Any white space is a
// space. 0 for any other character, which takes Qt's normalization.
char16_t commonForm(char16_t c) {
    constexpr char16_t kFullWidthOffset = 0xFEE0;
    if (isSpace(c) || c == u'\u3000')
        return u' ';
    if (c < 0x80)
        return isIn(c, u'A', u'Z') ? char16_t(c - u'A' + u'a') : c;
    if (isIn(c, u'！', u'～'))
        return commonForm(char16_t(c - kFullWidthOffset));
    const bool keeps = isIn(c, u'、', u'〩') || isIn(c, u'ぁ', u'ゖ') || isIn(c, u'ァ', u'ー') ||
                       isIn(c, u'\u4e00', u'\u9fff');
    return keeps ? hiraganaOf(c) : 0;
}

// commonForm() of every code unit, looked up once per character.
const std::array<char16_t, 0x10000>& commonForms() {
    static const auto forms = [] {
        std::array<char16_t, 0x10000> table{};
        for (std::size_t c = 0; c < table.size(); ++c)
            table[c] = commonForm(char16_t(c));
        return table;
    }();
    return forms;
}

// Writes folded characters, each run of spaces as one space.
class FoldedWriter {
public:
    explicit FoldedWriter(QString& buffer)
        : m_buffer(buffer)
        , m_start(reinterpret_cast<char16_t*>(buffer.data()))
        , m_end(m_start) {}

    void put(char16_t c) {
        const bool space = c == u' ';
        if (!space || !m_inSpace)
            *m_end++ = c;
        m_inSpace = space;
    }

    QString finish() {
        m_buffer.truncate(m_end - m_start);
        return m_buffer;
    }

private:
    QString& m_buffer;
    char16_t* m_start;
    char16_t* m_end;
    bool m_inSpace = false;
};

QString foldNormalized(const QString& text) {
    const QString lower = text.normalized(QString::NormalizationForm_KC).toLower();
    QString buffer(lower.size(), Qt::Uninitialized);
    FoldedWriter folded(buffer);
    for (const QChar c : lower)
        folded.put(isSpace(c.unicode()) ? u' ' : hiraganaOf(c.unicode()));
    return folded.finish();
}

// Looks for the word's first character, which the processor finds many
// characters at a time, and compares the rest where it is: Qt's own search
// for a word this short steps through the text one character at a time.
bool containsWord(QStringView text, QStringView word) {
    const QChar first = word.front();
    const QStringView rest = word.sliced(1);
    const qsizetype lastStart = text.size() - word.size();
    for (qsizetype at = text.indexOf(first); at >= 0 && at <= lastStart;
         at = text.indexOf(first, at + 1)) {
        if (text.sliced(at + 1, rest.size()) == rest)
            return true;
    }
    return false;
}

} // namespace

// Normalizing and changing the case of every entry took most of the first
// search in a large table, so text of the common characters is folded by
// looking each one up.
QString SearchText::fold(const QString& text) {
    QString buffer(text.size(), Qt::Uninitialized);
    FoldedWriter folded(buffer);
    const std::array<char16_t, 0x10000>& forms = commonForms();
    for (const QChar c : text) {
        const char16_t common = forms[c.unicode()];
        if (common == 0)
            return foldNormalized(text);
        folded.put(common);
    }
    return folded.finish();
}

QStringList SearchText::words(const QString& query) {
    return fold(query).split(u' ', Qt::SkipEmptyParts);
}

bool SearchText::containsAll(QStringView folded, const QStringList& words) {
    return std::ranges::all_of(
        words, [folded](const QString& word) { return containsWord(folded, word); });
}
