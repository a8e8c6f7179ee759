#pragma once

#include "project/QAEntryTable.h"
#include "text/Result.h"

#include <QByteArray>
#include <QString>

// Writes entries as a CSV file that spreadsheets open as they are: the
// header 質問,回答,有効, one record per entry with 1 or 0 for enabled, CR LF
// after every record. A field is quoted only when it holds a comma, a quote,
// a line break or leading or trailing blanks; line breaks inside an answer
// are written as LF, as spreadsheets write the line breaks of a cell.
class CsvWriter {
public:
    enum class Encoding { Utf8, Cp932 };

    // UTF-8 starts with a byte order mark, which spreadsheets need to tell
    // it from code page 932. Code page 932 fails when an entry holds a
    // character that it cannot store, such as the replacement character of
    // a project opened with undecodable bytes; the message names the entry.
    static Result<QByteArray> write(const QAEntryTable& entries,
                                    Encoding encoding = Encoding::Utf8);
    // Written atomically (temporary file renamed over the name), like every write of the program.
    static Status writeFile(const QAEntryTable& entries, const QString& path,
                            Encoding encoding = Encoding::Utf8);

private:
    // The file as text, before it is encoded.
    static QString text(const QAEntryTable& entries);
};
