#pragma once

#include <QtGlobal>

// One change of the project as ProjectModel announces it: what was changed
// and where, enough for the entry table to move only the rows concerned and
// for the change to be reversed later.
struct ProjectChange {
    enum class Kind {
        DocumentSet,
        ProjectReplaced,
        EntriesCleared,
        EntriesSorted,
        // The whole table set at once, as when a sort or a clear is undone.
        EntriesReplaced,
        EntryInserted,
        EntryRemoved,
        EntryReplaced,
        EntryMoved,
    };

    // Whether the project differs from its file afterwards. A project just
    // read or started does not, and the program has never counted the quick
    // settings' defaults or its own start values as a change either.
    enum class Marking { Modified, Unmodified };

    Kind kind;
    // 1-based, as in the entry table; for a move, where the entry was.
    qsizetype position = 0;
    // For a move: where the entry is now.
    qsizetype destination = 0;
    Marking marking = Marking::Modified;

    bool modifies() const { return marking == Marking::Modified; }
};
