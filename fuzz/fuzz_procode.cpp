// A design's procode file may be anything a design author's editor saved.

#include "app/Cp932Codec.h"
#include "design/Procode.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = Cp932Codec::decode(QByteArrayView(data, qsizetype(size)));
    const std::optional<Procode> procode = Procode::parse(text);
    if (!procode)
        return 0;
    for (const QString* line :
         {&procode->displayName, &procode->designBaseName, &procode->description}) {
        if (line->contains(u'\r') || !text.contains(*line))
            std::abort();
    }
    if (!procode->hasDescription && !procode->description.isEmpty())
        std::abort();
    return 0;
}
