// The code page 932 conversion in both directions, on any bytes and on any
// UTF-16 text, lone surrogates included: the strict encoder, the page
// encoder and the search for unstorable characters must agree with each
// other and with the decoder, which gives back what was stored (the
// look-alikes that the code page keeps as its own characters included).

#include "text/Cp932Codec.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void checkEncoders(QStringView text) {
    QByteArray strict("kept");
    const Status stored = Cp932Codec::encode(text, strict);
    const std::optional<qsizetype> bad = Cp932Codec::findUnencodable(text);
    // A refusal names the character that the search finds first.
    if (stored.ok() == bad.has_value() || !strict.startsWith("kept") ||
        (bad && !stored.error().contains(Cp932Codec::describeCharacterAt(text, *bad))))
        std::abort();
    QByteArray page;
    Cp932Codec::encodeForHtml(text, page);
    if (bad) {
        // A refused text appends nothing; on a page it becomes a reference.
        if (strict != "kept" || !page.contains("&#x"))
            std::abort();
        return;
    }
    strict.remove(0, 4);
    if (page != strict || Cp932Codec::decode(strict) != Cp932Codec::asReadBack(text.toString()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkEncoders(Cp932Codec::decode(QByteArrayView(data, qsizetype(size))));
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size / 2 * 2);
    checkEncoders(units);
    return 0;
}
