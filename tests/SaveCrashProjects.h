#pragma once

#include "project/Project.h"

// The two projects that save_loop_helper saves by turns and that
// tst_savecrash expects to find, whole, after killing it. They differ in
// every entry and in size, so a file mixed from both, or cut short, matches
// neither. Large enough that a save takes tens of milliseconds.
inline Project saveCrashProject(int which) {
    Project project;
    project.document.DocumentTitle =
        which == 0 ? QStringLiteral("古い版") : QStringLiteral("新しい版");
    const int count = which == 0 ? 10'000 : 9'000;
    const QString answer = QStringLiteral("答えの本文です。Answer text, ").repeated(8);
    project.entries.reserve(count);
    for (int i = 1; i <= count; ++i)
        project.entries.append(QAEntry{QStringLiteral("版%1の質問%2").arg(which).arg(i),
                                       answer + QStringLiteral("\r\n%1").arg(i),
                                       i % 10 ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon});
    return project;
}
