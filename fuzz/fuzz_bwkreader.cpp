// Project files come from anywhere: mail, shared folders, other programs.
// Any bytes must give a project or an error, and a project that reads and
// saves must read back the same.

#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "text/Cp932Codec.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Saving keeps only "enabled" or "disabled" of an icon number.
Project withIconsAsSaved(Project project) {
    Project saved = project;
    saved.entries.clear();
    for (QAEntry entry : project.entries) {
        entry.icon = entry.isEnabled() ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon;
        saved.entries.append(std::move(entry));
    }
    return saved;
}

void checkTextRoundTrip(const QString& text) {
    QByteArray encoded;
    if (!Cp932Codec::encode(text, encoded))
        return;
    if (Cp932Codec::decode(encoded) != text)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const QString text = Cp932Codec::decode(bytes);
    checkTextRoundTrip(text);
    QByteArray page;
    Cp932Codec::encodeForHtml(text, page);

    const Result<Project> read = BwkReader::parse(text);
    if (read.ok() == !read.error().isEmpty())
        std::abort();
    // Files are read as bytes, decoded field by field: the same result.
    const Result<Project> readAsBytes = BwkReader::parseBytes(bytes);
    if (readAsBytes.ok() != read.ok() || readAsBytes.error() != read.error() ||
        (read && *readAsBytes != *read))
        std::abort();
    if (!read)
        return 0;
    const Result<QByteArray> saved = BwkWriter::encode(read->document, read->entries);
    if (!saved)
        return 0;
    const Result<Project> reread = BwkReader::parse(Cp932Codec::decode(*saved));
    if (!reread || *reread != withIconsAsSaved(*read))
        std::abort();
    return 0;
}
