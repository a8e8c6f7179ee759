#pragma once

#include "project/QAEntry.h"

#include <QString>
#include <QStringView>
#include <optional>

// One entry as plain clipboard text: the tag "BWK1.2", the icon number as one
// digit, the question, CR LF, and the answer to the end of the text. Texts in
// this layout typed in other programs paste as entries too.
class ClipboardEntry {
public:
    static QString tag() { return QStringLiteral("BWK1.2"); }

    static QString toText(const QAEntry& entry);

    // Whether text starts with the tag, case-sensitively.
    static bool hasTag(QStringView text) { return text.startsWith(tag()); }

    // The entry a tagged text stands for. The question ends at the first line
    // break of any kind (CR LF, CR or LF), so it never holds one; the answer
    // is the rest, its line breaks written as CR LF. Nothing for a text
    // without the tag or with nothing after it.
    static std::optional<QAEntry> parse(QStringView text);
};
