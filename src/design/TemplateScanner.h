#pragma once

#include "project/Project.h"
#include "design/TemplateKey.h"

#include <QString>
#include <QStringView>
#include <vector>

// One run of the template language over a design text. The scanner reads the
// text once, character by character, copies plain text to the page, replaces
// keys and collects the loop block; each collected block is compiled once into
// a list of literal pieces and keys and then written once per entry.
class TemplateScanner {
public:
    explicit TemplateScanner(const Project& project);

    // The page text for the design text. Every line of the design ends in CR
    // LF on the page, the last one too.
    QString run(QStringView designText);

    // The design text with every line end (CR LF or a lone CR) written as CR
    // LF, and CR LF after a last line that has none. A lone LF is no line end.
    static QString withLineEnds(QStringView designText);

private:
    // The text of the key being read. Only the first few characters matter,
    // since no key is longer than that; the length is still counted so that
    // a long key text matches nothing.
    class KeyText {
    public:
        void start(QChar c) {
            m_length = 0;
            append(c);
        }
        void append(QChar c) {
            if (m_length < qsizetype(sizeof m_chars / sizeof m_chars[0]))
                m_chars[m_length] = c.unicode();
            ++m_length;
        }
        TemplateKey key() const {
            return m_length > kLongestTemplateKey ? TemplateKey::Unknown
                                                  : templateKeyFor(QStringView(m_chars, m_length));
        }

    private:
        char16_t m_chars[kLongestTemplateKey + 1] = {};
        qsizetype m_length = 0;
    };

    // A piece of a compiled loop block: literal text of the block, or a key.
    struct BlockPiece {
        TemplateKey key;
        qsizetype start;
        qsizetype length;
    };

    void closeKey(TemplateKey key);
    void expandBlock();
    void reserveForPasses(const std::vector<BlockPiece>& pieces);
    qsizetype valueSizeEstimate(TemplateKey key);
    void measureEntries();
    std::vector<BlockPiece> compileBlock() const;
    void appendValue(TemplateKey key);
    void appendNumber(int value);
    const QAEntry* selectedEntry() const;

    const Project& m_project;
    // The loop counters of this run: the number of entries and the 1-based
    // position of the entry the loop block is writing.
    int m_entryCount = 0;
    int m_selectedEntry = 0;
    QString m_out;
    QString m_block;
    KeyText m_key;
    bool m_inKey = false;
    bool m_collecting = false;
    // Average question and answer lengths of the table, once a block needs
    // them; -1 before.
    qsizetype m_questionAverage = -1;
    qsizetype m_answerAverage = -1;
};
