#pragma once

#include "project/Project.h"

#include <QString>
#include <cstdint>

// Makes FAQ projects of any size for the benchmarks: questions of about 40
// characters and answers of about 200 with one line break, mixing kana, kanji
// and ASCII as real Japanese FAQs do, every tenth entry disabled. The same
// entry count always gives the same project, so figures from different runs
// and machines compare.
class ProjectGenerator {
public:
    // The design the generated projects use: bench/doc_code/bench/bench.ddc.
    static QString designFolderName() { return QStringLiteral("bench"); }

    static Project make(int entryCount);

private:
    explicit ProjectGenerator(std::uint64_t seed)
        : m_state(seed) {}

    static DocumentInfo document();
    QAEntry entry(int position);
    QString text(qsizetype length);
    void appendWord(QString& out);
    std::uint32_t next(std::uint32_t bound);

    std::uint64_t m_state;
};
