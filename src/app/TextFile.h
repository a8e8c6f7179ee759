#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Text files of the program: code page 932 on disk, Unicode in memory.
class TextFile {
public:
    // The whole file, decoded. On failure returns nothing and sets error to a
    // message that names the file and the reason.
    static std::optional<QString> read(const QString& path, QString* error);
};

// Splits text into lines the way every file of the program is read: a line
// ends at CR LF or at a lone CR; a lone LF is an ordinary character and stays
// in the line. A last line without a line end is still a line.
class LineReader {
public:
    explicit LineReader(QStringView text)
        : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    // 1-based number of the line that the next read starts on.
    int lineNumber() const { return m_line; }
    qsizetype position() const { return m_pos; }

    // The next line without its line end. At the end of the text, empty.
    QStringView readLine();

    // Moves forward to position, counting the line ends passed.
    void advanceTo(qsizetype position);

    QStringView text() const { return m_text; }

    // The length of the line end at position, 0 if none starts there.
    static qsizetype lineEndLength(QStringView text, qsizetype position);

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};
