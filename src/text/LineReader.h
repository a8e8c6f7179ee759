#pragma once

#include <QByteArrayView>
#include <QStringView>

// Splits text into lines the way every file of the program is read: a line
// ends at CR LF or at a lone CR; a lone LF is an ordinary character and stays
// in the line. A last line without a line end is still a line.
//
// Works on decoded text and on code page 932 bytes alike: CR, LF and the
// other ASCII punctuation the files are made of never occur inside a
// double-byte character, whose second byte is 0x40 or above. Reading a large
// file as bytes saves decoding all of it into one text first.
template <typename View>
class BasicLineReader {
public:
    explicit BasicLineReader(View text)
        : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    // 1-based number of the line that the next read starts on.
    int lineNumber() const { return m_line; }
    qsizetype position() const { return m_pos; }

    // The next line without its line end. At the end of the text, empty.
    View readLine();

    // Moves forward to position, counting the line ends passed.
    void advanceTo(qsizetype position);

    View text() const { return m_text; }

    // The length of the line end at position, 0 if none starts there.
    static qsizetype lineEndLength(View text, qsizetype position);

    // The position of the first c (an ASCII character) at or after from, or
    // -1.
    static qsizetype indexOf(View text, char16_t c, qsizetype from);

private:
    View m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

using LineReader = BasicLineReader<QStringView>;
using ByteLineReader = BasicLineReader<QByteArrayView>;
