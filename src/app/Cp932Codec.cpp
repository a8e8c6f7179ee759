#include "app/Cp932Codec.h"

#include <QChar>
#include <array>
#include <iconv.h>
#include <memory>

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr quint16 kUnmapped = 0;

bool isLeadByte(quint8 b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(quint8 b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The order in which double-byte rows win when one Unicode character has
// several encodings: the JIS rows first, then the NEC special row, then the
// IBM extensions, and the NEC-selected copies of the IBM extensions last.
// This is the choice the code page's own encoder makes.
std::array<quint8, 188> leadBytesByPreference() {
    std::array<quint8, 188> order{};
    std::size_t n = 0;
    for (int b = 0x81; b <= 0xFC; ++b) {
        if (isLeadByte(quint8(b)) && b != 0x87 && b != 0xED && b != 0xEE && b < 0xFA)
            order[n++] = quint8(b);
    }
    for (int b : {0x87, 0xFA, 0xFB, 0xFC, 0xED, 0xEE})
        order[n++] = quint8(b);
    return order;
}

struct Tables {
    // Unicode for each single byte, or U+FFFD (also for lead bytes).
    std::array<char16_t, 256> single{};
    // Unicode for each double-byte code (lead << 8 | trail), or U+FFFD.
    std::unique_ptr<char16_t[]> pair{new char16_t[65536]};
    // Code page bytes for each BMP character: 0 = unmapped, below 0x100 a
    // single byte, otherwise lead << 8 | trail.
    std::unique_ptr<quint16[]> encoded{new quint16[65536]};

    Tables();
};

class IconvDecoder {
public:
    IconvDecoder()
        : m_cd(iconv_open("UTF-16LE", "CP932")) {}
    ~IconvDecoder() {
        if (valid())
            iconv_close(m_cd);
    }
    IconvDecoder(const IconvDecoder&) = delete;
    IconvDecoder& operator=(const IconvDecoder&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // The single UTF-16 unit that the bytes decode to, or U+FFFD.
    char16_t decodeOne(const char* bytes, std::size_t length) {
        char in[2] = {bytes[0], length > 1 ? bytes[1] : '\0'};
        char out[8];
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = length;
        std::size_t outLeft = sizeof out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0 || sizeof out - outLeft != 2)
            return kReplacement;
        return char16_t(quint8(out[0]) | quint8(out[1]) << 8);
    }

private:
    iconv_t m_cd;
};

Tables::Tables() {
    single.fill(kReplacement);
    std::fill_n(pair.get(), 65536, kReplacement);
    std::fill_n(encoded.get(), 65536, kUnmapped);

    IconvDecoder decoder;
    Q_ASSERT(decoder.valid());
    if (!decoder.valid()) {
        // Without the system's table only ASCII can be converted.
        for (int b = 0; b < 0x80; ++b) {
            single[b] = char16_t(b);
            encoded[b] = quint16(b);
        }
        return;
    }

    for (int b = 0; b < 256; ++b) {
        if (isLeadByte(quint8(b)))
            continue;
        const char byte = char(b);
        const char16_t u = b < 0x80 ? char16_t(b) : decoder.decodeOne(&byte, 1);
        single[b] = u;
        if (u != kReplacement)
            encoded[u] = quint16(b);
    }
    // NUL is an ordinary character of the code page, but 0 marks "unmapped"
    // in the table; the encoder special-cases it.
    for (quint8 lead : leadBytesByPreference()) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrailByte(quint8(trail)))
                continue;
            const char bytes[2] = {char(lead), char(trail)};
            const char16_t u = decoder.decodeOne(bytes, 2);
            const quint16 code = quint16(lead << 8 | trail);
            pair[code] = u;
            if (u != kReplacement && encoded[u] == kUnmapped)
                encoded[u] = code;
        }
    }
}

const Tables& tables() {
    static const Tables instance;
    return instance;
}

// Encoded bytes of one UTF-16 unit, or kUnmapped.
inline quint16 lookup(const Tables& t, char16_t u) {
    if (u < 0x80)
        return u;
    if (QChar::isSurrogate(u))
        return kUnmapped;
    return t.encoded[u];
}

inline void appendCode(QByteArray& out, char16_t u, quint16 code) {
    if (u < 0x80 || code < 0x100) {
        out.append(char(code));
    } else {
        out.append(char(code >> 8));
        out.append(char(code & 0xFF));
    }
}

} // namespace

QString Cp932Codec::decode(QByteArrayView bytes) {
    const Tables& t = tables();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    char16_t* const begin = out;
    const auto* p = reinterpret_cast<const quint8*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const quint8 b = *p;
        if (b < 0x80) {
            *out++ = b;
            ++p;
        } else if (isLeadByte(b) && p + 1 < end && isTrailByte(p[1])) {
            *out++ = t.pair[b << 8 | p[1]];
            p += 2;
        } else {
            // A lead byte whose trail is missing or unusable stands alone, so
            // the byte after it is read as a character of its own.
            *out++ = t.single[b];
            ++p;
        }
    }
    text.truncate(out - begin);
    return text;
}

std::optional<qsizetype> Cp932Codec::encode(QStringView text, QByteArray& out) {
    if (const auto bad = findUnencodable(text))
        return bad;
    const Tables& t = tables();
    out.reserve(out.size() + text.size() * 2);
    for (const QChar c : text)
        appendCode(out, c.unicode(), lookup(t, c.unicode()));
    return std::nullopt;
}

void Cp932Codec::encodeForHtml(QStringView text, QByteArray& out) {
    const Tables& t = tables();
    out.reserve(out.size() + text.size() * 2);
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = s[i];
        const quint16 code = lookup(t, u);
        if (code != kUnmapped || u == 0) {
            appendCode(out, u, code);
            continue;
        }
        char32_t codePoint = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]))
            codePoint = QChar::surrogateToUcs4(u, s[++i]);
        out.append("&#x");
        out.append(QByteArray::number(quint32(codePoint), 16).toUpper());
        out.append(';');
    }
}

std::optional<qsizetype> Cp932Codec::findUnencodable(QStringView text) {
    const Tables& t = tables();
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = s[i];
        if (u != 0 && lookup(t, u) == kUnmapped)
            return i;
    }
    return std::nullopt;
}

QString Cp932Codec::describeCharacterAt(QStringView text, qsizetype index) {
    if (index < 0 || index >= text.size())
        return {};
    char32_t codePoint = text[index].unicode();
    qsizetype length = 1;
    if (text[index].isHighSurrogate() && index + 1 < text.size() &&
        text[index + 1].isLowSurrogate()) {
        codePoint = QChar::surrogateToUcs4(text[index], text[index + 1]);
        length = 2;
    }
    const QString hex = QString::number(quint32(codePoint), 16).toUpper();
    return QStringLiteral("「%1」(U+%2)").arg(text.mid(index, length), hex.rightJustified(4, u'0'));
}
