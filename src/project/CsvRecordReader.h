#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Splits CSV text into records of fields, as spreadsheets write them: fields
// between commas, quoted ones with doubled quotes inside and line breaks of
// any kind, records ending at CR LF, LF or CR, the last one with or without
// a line end. Line breaks inside a field come out as CR LF, the program's
// line ends. Text after a closing quote is kept as it stands, as spreadsheets
// read it.
class CsvRecordReader {
public:
    enum class Outcome { Record, End, UnclosedQuote };

    explicit CsvRecordReader(QStringView text)
        : m_text(text) {}

    // Reads the next record into fields. UnclosedQuote when a quoted field
    // runs to the end of the text; column() then names that field.
    Outcome next(QList<QString>& fields);

    // The record last read (or refused) as a spreadsheet numbers its rows:
    // the first record is row 1, and a blank line is a row of its own.
    int row() const { return m_row; }
    // 1-based column of the field left open by an UnclosedQuote.
    int column() const { return m_column; }

private:
    // The field at the reading position, up to the comma or line end after
    // it; false for a quoted field that is never closed.
    bool readField(QString& field);
    bool readQuoted(QString& field);
    void readPlain(QString& field);

    QStringView m_text;
    qsizetype m_pos = 0;
    int m_row = 0;
    int m_column = 0;
};
