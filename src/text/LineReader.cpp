#include "text/LineReader.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

template <typename View>
qsizetype BasicLineReader<View>::indexOf(View text, char16_t c, qsizetype from) {
    if constexpr (std::is_same_v<View, QStringView>) {
        return text.indexOf(QChar(c), from);
    } else {
        if (from >= text.size())
            return -1;
        const void* found = std::memchr(text.data() + from, c, std::size_t(text.size() - from));
        return found ? static_cast<const char*>(found) - text.data() : -1;
    }
}

template <typename View>
qsizetype BasicLineReader<View>::lineEndLength(View text, qsizetype position) {
    if (position >= text.size() || text[position] != u'\r')
        return 0;
    return position + 1 < text.size() && text[position + 1] == u'\n' ? 2 : 1;
}

template <typename View>
View BasicLineReader<View>::readLine() {
    const qsizetype start = m_pos;
    const qsizetype cr = indexOf(m_text, u'\r', start);
    const qsizetype end = cr < 0 ? m_text.size() : cr;
    m_pos = end + lineEndLength(m_text, end);
    if (m_pos > start)
        ++m_line;
    return m_text.sliced(start, end - start);
}

template <typename View>
void BasicLineReader<View>::advanceTo(qsizetype position) {
    // Jumps from CR to CR: answers of many lines are passed over at the speed
    // of a search, not a character at a time.
    position = std::min(position, m_text.size());
    while (m_pos < position) {
        const qsizetype cr = indexOf(m_text.sliced(0, position), u'\r', m_pos);
        if (cr < 0) {
            m_pos = position;
            return;
        }
        m_pos = cr;
        const qsizetype length = lineEndLength(m_text, m_pos);
        if (m_pos + length <= position) {
            ++m_line;
            m_pos += length;
        } else {
            ++m_pos;
        }
    }
}

template class BasicLineReader<QStringView>;
template class BasicLineReader<QByteArrayView>;
