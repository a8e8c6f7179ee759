#include "text/Cp932Codec.h"

#include "text/LargeBuffer.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <cstring>
#include <iconv.h>
#include <memory>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr quint16 kUnmapped = 0;

// Linux input methods type these where Windows has the code page's own
// characters, which look the same: 〜 for ～, − for －, and so on. They are
// stored as the code page's characters, so text typed here is kept; read
// back, it shows the Windows forms, as files from Windows always do.
constexpr std::pair<char16_t, quint16> kLookAlikes[] = {
    {u'\u301C', 0x8160}, {u'\u2212', 0x817C}, {u'\u2014', 0x815C}, {u'\u2016', 0x8161},
    {u'\u00A2', 0x8191}, {u'\u00A3', 0x8192}, {u'\u00AC', 0x81CA},
};
constexpr quint8 kLead = 1;
constexpr quint8 kTrail = 2;

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
    // kLead and kTrail bits of each byte value.
    std::array<quint8, 256> byteKinds{};
    // Unicode for each double-byte code (lead << 8 | trail), or U+FFFD.
    std::unique_ptr<char16_t[]> pair{new char16_t[65536]};
    // Each BMP character as the encoders write it: its bytes in memory order
    // in the low 16 bits (for a single byte the second is scratch) and their
    // count above, or 0 when the code page cannot hold it. One load and one
    // two-byte store per character, whatever the character.
    std::unique_ptr<quint32[]> wire{new quint32[65536]};

    // Whether the system's converter was there to fill them. Without it
    // every byte above ASCII decodes to U+FFFD and no character encodes.
    bool loaded = false;

    Tables();

private:
    // Code page bytes for each BMP character: 0 = unmapped, below 0x100 a
    // single byte, otherwise lead << 8 | trail. False when the system has
    // no converter for the code page.
    bool fillFromSystem(quint16* encoded);
    void addLookAlikes(quint16* encoded);
    void fillWire(const quint16* encoded);
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
    for (int b = 0; b < 256; ++b)
        byteKinds[b] = (isLeadByte(quint8(b)) ? kLead : 0) | (isTrailByte(quint8(b)) ? kTrail : 0);
    single.fill(kReplacement);
    std::fill_n(pair.get(), 65536, kReplacement);
    const std::unique_ptr<quint16[]> encoded(new quint16[65536]);
    std::fill_n(encoded.get(), 65536, kUnmapped);
    loaded = fillFromSystem(encoded.get());
    if (!loaded) {
        std::fill_n(wire.get(), 65536, quint32(0));
        return;
    }
    addLookAlikes(encoded.get());
    fillWire(encoded.get());
}

void Tables::addLookAlikes(quint16* encoded) {
    for (const auto& [character, code] : kLookAlikes) {
        if (encoded[character] == kUnmapped)
            encoded[character] = code;
    }
}

bool Tables::fillFromSystem(quint16* encoded) {
    IconvDecoder decoder;
    if (!decoder.valid())
        return false;
    for (int b = 0; b < 256; ++b) {
        if (isLeadByte(quint8(b)))
            continue;
        const char byte = char(b);
        const char16_t u = b < 0x80 ? char16_t(b) : decoder.decodeOne(&byte, 1);
        single[b] = u;
        if (u != kReplacement)
            encoded[u] = quint16(b);
    }
    for (quint8 lead : leadBytesByPreference()) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrailByte(quint8(trail)))
                continue;
            const char bytes[2] = {char(lead), char(trail)};
            const char16_t u = decoder.decodeOne(bytes, 2);
            const auto code = quint16(lead << 8 | trail);
            pair[code] = u;
            if (u != kReplacement && encoded[u] == kUnmapped)
                encoded[u] = code;
        }
    }
    return true;
}

void Tables::fillWire(const quint16* encoded) {
    for (int u = 0; u < 65536; ++u) {
        const quint16 code = encoded[u];
        if (code == kUnmapped)
            wire[u] = 0;
        else if (code < 0x100)
            wire[u] = 1U << 16 | code;
        else
            wire[u] = 2U << 16 | (code & 0xFFU) << 8 | code >> 8;
    }
    // NUL is an ordinary character of the code page, but 0 marks "unmapped"
    // in the table above.
    wire[0] = 1U << 16;
}

const Tables& tables() {
    static const Tables instance;
    return instance;
}

inline bool isMapped(quint32 wire) {
    return wire != 0;
}

// The second byte of a single-byte character is scratch that the next
// character overwrites; the buffer has two bytes of room per unit.
inline char* putWire(char* pos, quint32 wire) {
    const auto bytes = quint16(wire);
    std::memcpy(pos, &bytes, 2);
    return pos + (wire >> 16);
}

constexpr qsizetype kAsciiBlock = 8;

// Writes eight units as eight bytes if all of them are ASCII, which code page
// 932 keeps as they are; returns whether it did.
inline bool putAsciiBlock(const char16_t* units, char* pos) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
    const __m128i aboveAscii = _mm_and_si128(block, _mm_set1_epi16(short(0xFF80)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(aboveAscii, _mm_setzero_si128())) != 0xFFFF)
        return false;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pos), _mm_packus_epi16(block, block));
    return true;
#else
    char16_t any = 0;
    for (qsizetype k = 0; k < kAsciiBlock; ++k)
        any |= units[k];
    if (any >= 0x80)
        return false;
    for (qsizetype k = 0; k < kAsciiBlock; ++k)
        pos[k] = char(units[k]);
    return true;
#endif
}

// "&#x1F600;", at most ten bytes.
char* putReference(char* pos, char32_t codePoint) {
    char hex[8];
    int digits = 0;
    do {
        hex[digits++] = "0123456789ABCDEF"[codePoint & 0xF];
        codePoint >>= 4;
    } while (codePoint != 0);
    *pos++ = '&';
    *pos++ = '#';
    *pos++ = 'x';
    while (digits > 0)
        *pos++ = hex[--digits];
    *pos++ = ';';
    return pos;
}

// Lets the encoders write straight into the array's buffer. Appending byte
// by byte costs a capacity check and a new terminator each time, which made
// encoding the slowest step of an export. The encoders keep the write
// position in a local variable: stored in a member, every byte written
// through a char pointer would force it to be reloaded.
class ByteBuffer {
public:
    explicit ByteBuffer(QByteArray& out)
        : m_out(out)
        , m_start(out.size()) {}

    // Room for two bytes per unit, the most a mapped unit takes.
    char* begin(qsizetype units) {
        m_out.resize(m_start + 2 * units);
        LargeBuffer::preferHugePages(m_out.data() + m_start, 2 * units);
        return m_out.data() + m_start;
    }

    // Room for extra bytes and two per unit still to come.
    char* makeRoom(const char* pos, qsizetype extra, qsizetype unitsLeft) {
        const qsizetype used = pos - m_out.constData();
        const qsizetype wanted = used + extra + 2 * unitsLeft;
        if (wanted > m_out.size())
            m_out.resize(wanted);
        return m_out.data() + used;
    }

    void finish(const char* pos) { m_out.truncate(pos - m_out.constData()); }
    void abandon() { m_out.truncate(m_start); }

private:
    QByteArray& m_out;
    const qsizetype m_start;
};

} // namespace

QString Cp932Codec::decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    LargeBuffer::preferHugePages(out, text.size() * 2);
    text.truncate(decodeInto(bytes, out));
    return text;
}

qsizetype Cp932Codec::decodeInto(QByteArrayView bytes, char16_t* out) {
    const Tables& t = tables();
    const char16_t* single = t.single.data();
    const char16_t* pair = t.pair.get();
    const quint8* kinds = t.byteKinds.data();
    char16_t* const begin = out;
    const auto* p = reinterpret_cast<const quint8*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const quint8 b = *p;
        if (b < 0x80) {
            *out++ = b;
            ++p;
        } else if (kinds[b] & kLead && end - p > 1 && kinds[p[1]] & kTrail) {
            *out++ = pair[b << 8 | p[1]];
            p += 2;
        } else {
            // A lead byte whose trail is missing or unusable stands alone, so
            // the byte after it is read as a character of its own.
            *out++ = single[b];
            ++p;
        }
    }
    return out - begin;
}

Status Cp932Codec::check() {
    if (!tables().loaded)
        return Failure{QStringLiteral("Shift_JIS（CP932）の変換表を読み込めません。"
                                      "システムの文字コード変換（iconv）がCP932に対応して"
                                      "いません。")};
    return {};
}

Status Cp932Codec::encode(QStringView text, QByteArray& out) {
    const quint32* wire = tables().wire.get();
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    ByteBuffer buffer(out);
    char* pos = buffer.begin(n);
    for (qsizetype i = 0; i < n; ++i) {
        const quint32 w = wire[s[i]];
        if (!isMapped(w)) {
            buffer.abandon();
            return Failure{QStringLiteral("文字%1はShift_JISで表せません。")
                               .arg(describeCharacterAt(text, i))};
        }
        pos = putWire(pos, w);
    }
    buffer.finish(pos);
    return {};
}

void Cp932Codec::encodeForHtml(QStringView text, QByteArray& out) {
    const quint32* wire = tables().wire.get();
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    ByteBuffer buffer(out);
    char* pos = buffer.begin(n);
    qsizetype i = 0;
    while (i < n) {
        // A page is half markup: runs of ASCII go eight characters at a time.
        if (n - i >= kAsciiBlock && putAsciiBlock(s + i, pos)) {
            i += kAsciiBlock;
            pos += kAsciiBlock;
            continue;
        }
        const qsizetype blockEnd = std::min(i + kAsciiBlock, n);
        for (; i < blockEnd; ++i) {
            const char16_t u = s[i];
            const quint32 w = wire[u];
            if (isMapped(w)) {
                pos = putWire(pos, w);
                continue;
            }
            char32_t codePoint = u;
            if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]))
                codePoint = QChar::surrogateToUcs4(u, s[++i]);
            pos = putReference(buffer.makeRoom(pos, 10, n - i - 1), codePoint);
        }
    }
    buffer.finish(pos);
}

QString Cp932Codec::asReadBack(QString text) {
    const Tables& t = tables();
    for (const auto& [character, code] : kLookAlikes)
        text.replace(QChar(character), QChar(t.pair[code]));
    return text;
}

std::optional<qsizetype> Cp932Codec::findUnencodable(QStringView text) {
    const quint32* wire = tables().wire.get();
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        if (!isMapped(wire[s[i]]))
            return i;
    }
    return std::nullopt;
}

namespace {

// The code point, in upper-case hex, of the character of `length` units at
// index; half a surrogate pair is taken as it is.
QString codePointHex(QStringView text, qsizetype index, qsizetype length) {
    const char32_t codePoint = length == 2 ? QChar::surrogateToUcs4(text[index], text[index + 1])
                                           : char32_t(text[index].unicode());
    return QString::number(quint32(codePoint), 16).toUpper();
}

} // namespace

qsizetype Cp932Codec::characterLengthAt(QStringView text, qsizetype index) {
    if (index < 0 || index >= text.size())
        return 0;
    return text[index].isHighSurrogate() && index + 1 < text.size() &&
                   text[index + 1].isLowSurrogate()
               ? 2
               : 1;
}

QString Cp932Codec::describeCharacterAt(QStringView text, qsizetype index) {
    const qsizetype length = characterLengthAt(text, index);
    if (length == 0)
        return {};
    return QStringLiteral("「%1」(U+%2)")
        .arg(text.mid(index, length), codePointHex(text, index, length).rightJustified(4, u'0'));
}

QString Cp932Codec::htmlReferenceAt(QStringView text, qsizetype index) {
    const qsizetype length = characterLengthAt(text, index);
    if (length == 0 || (length == 1 && text[index].isSurrogate()))
        return {};
    return QStringLiteral("&#x%1;").arg(codePointHex(text, index, length));
}
