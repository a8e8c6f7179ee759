#pragma once

#include "project/QAEntryTable.h"
#include "text/Result.h"

#include <QString>

// Replacing a text in every entry at once, as the replace dialog does: the
// table in, the changed table out with what was changed, or why nothing can
// be changed because the project file could not hold the result.
class EntryReplacement {
public:
    enum class Target { Questions, Answers, Both };

    struct Request {
        QString find;
        QString replacement;
        Target target = Target::Both;
        Qt::CaseSensitivity caseSensitivity = Qt::CaseInsensitive;
    };

    struct Outcome {
        QAEntryTable entries;
        // How many entries changed, and in how many places.
        qsizetype changedEntries = 0;
        qsizetype places = 0;
    };

    // Every match, left to right and never overlapping, in the fields the
    // request targets. An empty find text matches nothing. The entries that
    // are not changed are shared with the table given.
    static Result<Outcome> apply(const QAEntryTable& entries, const Request& request);

private:
    static qsizetype replaceIn(QString& text, const Request& request);
    static Status checkReplacement(const Request& request);
    // Whether the fields of the entry at position that changed can be
    // stored.
    static Status checkChanged(const QAEntry& entry, qsizetype position, bool question,
                               bool answer);
};
