#include "design/QuestionAnchors.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace {

constexpr std::uint32_t kOffsetBasis = 2166136261U;
constexpr std::uint32_t kPrime = 16777619U;
constexpr qsizetype kPlainLength = 10; // "q-" and 8 digits

std::uint32_t addByte(std::uint32_t hash, std::uint32_t byte) {
    return (hash ^ byte) * kPrime;
}

} // namespace

std::uint32_t QuestionAnchors::hash(QStringView text) {
    // Encodes on the fly; text with surrogates takes Qt's encoder, which
    // pairs them (and replaces lone ones) as every UTF-8 file of Qt does.
    std::uint32_t h = kOffsetBasis;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80) {
            h = addByte(h, c);
        } else if (c < 0x800) {
            h = addByte(h, 0xC0 | (c >> 6));
            h = addByte(h, 0x80 | (c & 0x3F));
        } else if (!QChar::isSurrogate(c)) {
            h = addByte(h, 0xE0 | (c >> 12));
            h = addByte(h, 0x80 | ((c >> 6) & 0x3F));
            h = addByte(h, 0x80 | (c & 0x3F));
        } else {
            h = kOffsetBasis;
            for (const char byte : text.toUtf8())
                h = addByte(h, std::uint8_t(byte));
            return h;
        }
    }
    return h;
}

QuestionAnchors::QuestionAnchors(const QAEntryTable& entries) {
    m_anchors.resize(entries.count());
    std::unordered_map<std::uint32_t, std::uint32_t> seen;
    seen.reserve(entries.count());
    qsizetype index = 0;
    for (const QAEntry& entry : entries) {
        Anchor& anchor = m_anchors[index++];
        if (!entry.isEnabled())
            continue;
        anchor.hash = hash(entry.question);
        anchor.occurrence = ++seen[anchor.hash];
    }
    char buffer[kMaxLength];
    for (qsizetype position = 1; position <= index; ++position)
        m_longest = std::max(m_longest, format(position, buffer));
}

qsizetype QuestionAnchors::format(qsizetype position, char* text) const {
    if (position < 1 || position > qsizetype(m_anchors.size()))
        return 0;
    const Anchor& anchor = m_anchors[position - 1];
    if (anchor.occurrence == 0)
        return formatDisabled(position, text);
    static constexpr char kDigits[] = "0123456789abcdef";
    text[0] = 'q';
    text[1] = '-';
    for (int i = 0; i < 8; ++i)
        text[2 + i] = kDigits[(anchor.hash >> (28 - 4 * i)) & 0xF];
    qsizetype length = kPlainLength;
    if (anchor.occurrence > 1) {
        text[length++] = '-';
        const auto result = std::to_chars(text + length, text + kMaxLength, anchor.occurrence);
        length = result.ptr - text;
    }
    return length;
}

qsizetype QuestionAnchors::formatDisabled(qsizetype position, char* text) {
    static constexpr char kPrefix[] = "q-off-";
    std::copy(kPrefix, kPrefix + sizeof kPrefix - 1, text);
    const auto result =
        std::to_chars(text + sizeof kPrefix - 1, text + kMaxLength, qint64(position));
    return result.ptr - text;
}

QString QuestionAnchors::at(qsizetype position) const {
    char text[kMaxLength];
    return QString::fromLatin1(text, format(position, text));
}
