#pragma once

#include "design/PageSizeLimit.h"
#include "design/QuestionAnchors.h"
#include "design/TemplateKey.h"
#include "project/Project.h"
#include "text/Result.h"

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// Carries out the template language over a design text, once. The design is
// read through TemplateTokenizer, which knows the bracket grammar: literal
// runs go to the page, keys are replaced, and each loop block is compiled
// once, by the same tokenizer, into a list of literal pieces and keys and then
// written once per entry.
class TemplateInterpreter {
public:
    explicit TemplateInterpreter(const Project& project, PageSizeLimit limit = PageSizeLimit());

    // The page text for the design text. Every line of the design ends in CR
    // LF on the page, the last one too. Fails, without a page, with the
    // limit's message when the page would be longer than the limit.
    Result<QString> run(QStringView designText);

    // The design text with every line end (CR LF or a lone CR) written as CR
    // LF, and CR LF after a last line that has none. A lone LF is no line end.
    static QString withLineEnds(QStringView designText);

private:
    // A piece of a compiled loop block: literal text (of the block, or a
    // document value), or a key.
    struct BlockPiece {
        TemplateKey key;
        QStringView text;
    };

    void expandBlock(QStringView block);
    std::vector<BlockPiece> compileBlock(QStringView block);
    bool passesWriteNothing(const std::vector<BlockPiece>& pieces);
    bool exceedsLimitAtLeast(const std::vector<BlockPiece>& pieces, qsizetype passes);
    void reserveForPasses(const std::vector<BlockPiece>& pieces, qsizetype passes);
    qsizetype valueSizeEstimate(TemplateKey key);
    const QString* documentValue(TemplateKey key) const;
    void measureEntries();
    const QuestionAnchors& anchors();
    void appendValue(TemplateKey key, bool inBlock);
    void appendText(QStringView text);
    void appendLatin1(const char* text, qsizetype length);
    void appendNumber(int value);
    void fail();
    const QAEntry* selectedEntry() const;

    const Project& m_project;
    const PageSizeLimit m_limit;
    // The loop counters of this run: the number of entries and the 1-based
    // position of the entry the loop block is writing.
    int m_entryCount = 0;
    int m_selectedEntry = 0;
    QString m_out;
    bool m_failed = false;
    // What the entries hold, once a block needs it: average question and
    // answer lengths (-1 before), and whether any enabled entry has a
    // question or an answer that is not empty.
    qsizetype m_questionAverage = -1;
    qsizetype m_answerAverage = -1;
    bool m_anyQuestion = false;
    bool m_anyAnswer = false;
    // The identifiers of [question.anchor], made once per run on first use.
    std::optional<QuestionAnchors> m_anchors;
};
