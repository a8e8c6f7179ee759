// `brindlewick-cli import` reads JSON that scripts and spreadsheets made. Any
// bytes must give a project or an error, and a project read from JSON that
// can be saved as .bwk must read back the same.

#include "cli/ProjectJson.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "text/Cp932Codec.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Saving keeps only "enabled" or "disabled" of an icon number, and text as
// the code page reads it back.
Project asSaved(const Project& project) {
    Project saved;
    for (QString DocumentInfo::*field :
         {&DocumentInfo::DocumentTitle, &DocumentInfo::DocumentCreater,
          &DocumentInfo::DocumentHomepage, &DocumentInfo::DocumentMail, &DocumentInfo::DocumentCode,
          &DocumentInfo::DocumentCodeFolder, &DocumentInfo::DocumentDataview})
        saved.document.*field = Cp932Codec::asReadBack(project.document.*field);
    for (const QAEntry& entry : project.entries)
        saved.entries.append(
            QAEntry{Cp932Codec::asReadBack(entry.question), Cp932Codec::asReadBack(entry.answer),
                    entry.isEnabled() ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon});
    return saved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray json(reinterpret_cast<const char*>(data), qsizetype(size));
    const Result<Project> read = ProjectJson::fromJson(json);
    if (read.ok() == !read.error().isEmpty())
        std::abort();
    if (!read)
        return 0;
    // What dump writes, import reads back unchanged.
    const Result<Project> dumped = ProjectJson::fromJson(ProjectJson::toJson(*read));
    if (!dumped || *dumped != *read)
        std::abort();
    const Result<QByteArray> saved = BwkWriter::encode(read->document, read->entries);
    if (!saved)
        return 0;
    const Result<Project> reread = BwkReader::parseBytes(*saved);
    if (!reread || *reread != asSaved(*read))
        std::abort();
    return 0;
}
