#include "project/CsvRecordReader.h"

namespace {

bool isLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// Appends piece with each of its line breaks (CR LF, lone LF or lone CR)
// written as CR LF.
void appendWithCrLf(QString& out, QStringView piece) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < piece.size(); ++i) {
        const char16_t c = piece[i].unicode();
        if (!isLineBreak(c))
            continue;
        out.append(piece.sliced(start, i - start));
        out.append(u"\r\n");
        if (c == u'\r' && i + 1 < piece.size() && piece[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    out.append(piece.sliced(start));
}

} // namespace

CsvRecordReader::Outcome CsvRecordReader::next(QList<QString>& fields) {
    const qsizetype size = m_text.size();
    if (m_pos >= size)
        return Outcome::End;
    fields.clear();
    ++m_row;
    for (;;) {
        m_column = int(fields.size()) + 1;
        QString field;
        if (!readField(field))
            return Outcome::UnclosedQuote;
        fields.append(std::move(field));
        if (m_pos >= size)
            return Outcome::Record;
        const char16_t c = m_text[m_pos++].unicode();
        if (c == u',')
            continue;
        if (c == u'\r' && m_pos < size && m_text[m_pos] == u'\n')
            ++m_pos;
        return Outcome::Record;
    }
}

bool CsvRecordReader::readField(QString& field) {
    if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
        if (!readQuoted(field))
            return false;
    }
    readPlain(field);
    return true;
}

bool CsvRecordReader::readQuoted(QString& field) {
    ++m_pos;
    for (;;) {
        const qsizetype close = m_text.indexOf(u'"', m_pos);
        if (close < 0)
            return false;
        const QStringView piece = m_text.sliced(m_pos, close - m_pos);
        if (field.isEmpty() && !piece.contains(u'\r') && !piece.contains(u'\n'))
            field = piece.toString();
        else
            appendWithCrLf(field, piece);
        m_pos = close + 1;
        if (m_pos >= m_text.size() || m_text[m_pos] != u'"')
            return true;
        field.append(u'"');
        ++m_pos;
    }
}

void CsvRecordReader::readPlain(QString& field) {
    const qsizetype start = m_pos;
    const qsizetype size = m_text.size();
    while (m_pos < size) {
        const char16_t c = m_text[m_pos].unicode();
        if (c == u',' || isLineBreak(c))
            break;
        ++m_pos;
    }
    if (m_pos > start)
        field.append(m_text.sliced(start, m_pos - start));
}
