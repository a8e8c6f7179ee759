#pragma once

#include <QString>

// One question and its answer. The icon number is the only store of the
// enabled flag: 1 is enabled, any other number (normally 2) disabled.
struct QAEntry {
    static constexpr int kEnabledIcon = 1;
    static constexpr int kDisabledIcon = 2;

    QString question;
    // May hold line breaks, as CR LF.
    QString answer;
    // 0 until the caller sets it, as for a freshly added row.
    int icon = 0;

    bool isEnabled() const { return icon == kEnabledIcon; }

    friend bool operator==(const QAEntry&, const QAEntry&) = default;
};
