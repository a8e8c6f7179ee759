// The clipboard holds whatever other programs put there. A tagged text must
// give an entry that makes the same entry again when copied and pasted.

#include "project/ClipboardEntry.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QAEntry> entry = ClipboardEntry::parse(text);
    if (!entry)
        return 0;
    if (entry->question.contains(u'\r') || entry->question.contains(u'\n'))
        std::abort();
    if (entry->icon != QAEntry::kEnabledIcon && entry->icon != QAEntry::kDisabledIcon)
        std::abort();
    if (ClipboardEntry::parse(ClipboardEntry::toText(*entry)) != entry)
        std::abort();
    return 0;
}
