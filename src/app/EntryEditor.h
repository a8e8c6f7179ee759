#pragma once

#include "project/QAEntry.h"

#include <optional>

// The entry dialog as the entry commands see it. The window program shows
// its dialog; a test can answer in its place.
class EntryEditor {
public:
    virtual ~EntryEditor() = default;

    // Shows the dialog, empty for a new entry or filled with `shown`, until
    // it closes. Returns the entry confirmed there, its icon the enabled
    // mark; nothing when the dialog was cancelled or closed.
    virtual std::optional<QAEntry> editEntry(const std::optional<QAEntry>& shown) = 0;
};
