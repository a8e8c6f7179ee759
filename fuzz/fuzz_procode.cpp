// A design's procode file may be anything a design author's editor saved.

#include "design/Procode.h"
#include "text/Cp932Codec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = Cp932Codec::decode(QByteArrayView(data, qsizetype(size)));
    const Procode procode = Procode::parse(text);
    if (procode.lineCount() > 3 || procode.namesDesignFile() != (procode.lineCount() >= 2))
        std::abort();
    for (const QString& line :
         {procode.displayName(), procode.designBaseName(), procode.description()}) {
        if (line.contains(u'\r') || !text.contains(line))
            std::abort();
    }
    if (!procode.hasDescription() && !procode.description().isEmpty())
        std::abort();
    return 0;
}
