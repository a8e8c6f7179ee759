// Project files come from anywhere: mail, shared folders, other programs.
// Any bytes must give a project or an error, and a project that reads and
// saves must read back the same.

#include "app/Cp932Codec.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Saving keeps only "enabled" or "disabled" of an icon number.
BwkProject withIconsAsSaved(BwkProject project) {
    BwkProject saved = project;
    saved.entries.clear();
    for (QAEntry entry : project.entries) {
        entry.icon = entry.isEnabled() ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon;
        saved.entries.append(std::move(entry));
    }
    return saved;
}

void checkTextRoundTrip(const QString& text) {
    QByteArray encoded;
    if (Cp932Codec::encode(text, encoded))
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

    const BwkReader::Result read = BwkReader::parse(text);
    if (read.project.has_value() == !read.error.isEmpty())
        std::abort();
    // Files are read as bytes, decoded field by field: the same result.
    const BwkReader::Result readAsBytes = BwkReader::parseBytes(bytes);
    if (readAsBytes.project != read.project || readAsBytes.error != read.error)
        std::abort();
    if (!read.project)
        return 0;
    const BwkWriter::Encoded saved =
        BwkWriter::encode(read.project->document, read.project->entries);
    if (!saved.bytes)
        return 0;
    const BwkReader::Result reread = BwkReader::parse(Cp932Codec::decode(*saved.bytes));
    if (!reread.project || *reread.project != withIconsAsSaved(*read.project))
        std::abort();
    return 0;
}
