#include "project/ClipboardEntry.h"

namespace {

constexpr qsizetype kIconPosition = 6;
constexpr qsizetype kQuestionStart = 7;

// Line breaks as CR LF, whatever the other program wrote.
QString withCrLf(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            result.append(u"\r\n");
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

} // namespace

QString ClipboardEntry::toText(const QAEntry& entry) {
    // Icon numbers other than 1 and 2 (as a project file may hold) are
    // disabled entries, and the layout has room for one digit.
    const QChar icon = entry.isEnabled() ? u'1' : u'2';
    return tag() + icon + entry.question + QStringLiteral("\r\n") + entry.answer;
}

std::optional<QAEntry> ClipboardEntry::parse(QStringView text) {
    if (!hasTag(text) || text.size() <= kIconPosition)
        return std::nullopt;

    QAEntry entry;
    entry.icon = text[kIconPosition] == u'1' ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon;
    qsizetype end = kQuestionStart;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    entry.question = text.sliced(kQuestionStart, end - kQuestionStart).toString();
    if (end < text.size()) {
        const qsizetype lineBreak = text.sliced(end).startsWith(u"\r\n") ? 2 : 1;
        entry.answer = withCrLf(text.sliced(end + lineBreak));
    }
    return entry;
}
