#pragma once

#include "project/QAEntryTable.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

// The identifiers that [question.anchor] writes: "q-" and the 32-bit FNV-1a
// hash of the question's UTF-8 bytes as 8 lowercase hexadecimal digits, so an
// entry keeps its identifier when entries are sorted, moved, inserted,
// disabled or their answers edited. Enabled entries whose identifiers would
// be equal (the same question, or a hash collision) are told apart in table
// order: the first keeps the identifier, the later ones get "-2", "-3", ...
// appended. A suffixed identifier is longer than every plain one, so it can
// never equal another entry's.
//
// A disabled entry is not on the page, but the designs still write its
// (hidden) markup, and an empty id would make the page invalid HTML. It gets
// "q-off-" and its position: unique, never a hexadecimal identifier, and
// saying nothing about its question.
class QuestionAnchors {
public:
    // FNV-1a, 32 bits: offset basis 2166136261, prime 16777619, over the
    // UTF-8 bytes of text.
    static std::uint32_t hash(QStringView text);

    explicit QuestionAnchors(const QAEntryTable& entries);

    // Writes the identifier of the entry at 1-based position into text
    // (room for kMaxLength characters) and gives its length, 0 outside the
    // table.
    static constexpr qsizetype kMaxLength = 24;
    qsizetype format(qsizetype position, char* text) const;
    // The identifier of the entry at 1-based position; empty outside the
    // table.
    QString at(qsizetype position) const;
    // The length of the longest identifier.
    qsizetype longest() const { return m_longest; }
    bool isEmpty() const { return m_anchors.empty(); }

private:
    static qsizetype formatDisabled(qsizetype position, char* text);

    struct Anchor {
        std::uint32_t hash = 0;
        // 0 for a disabled entry, 1 for the first entry of its identifier,
        // n for the n-th.
        std::uint32_t occurrence = 0;
    };
    std::vector<Anchor> m_anchors;
    qsizetype m_longest = 0;
};
