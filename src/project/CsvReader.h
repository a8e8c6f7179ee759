#pragma once

#include "project/QAEntryTable.h"
#include "text/Result.h"

#include <QByteArrayView>
#include <QString>

// Reads entries from CSV files as spreadsheets write them. The columns are
// 質問, 回答 and 有効, named by a header row in Japanese or English in any
// order, or without a header in that order. A file is read whole or not at
// all: a refusal names the row and the column as a spreadsheet shows them.
class CsvReader {
public:
    // The most entries a project holds.
    static constexpr qsizetype kEntryLimit = 32767;

    // The entries of a CSV file's bytes. existingCount is the number of entries the
    // project keeps besides these (0 when they replace the table), for the ceiling of
    // 32,767 entries in all. A failure names the row and column in Japanese.
    static Result<QAEntryTable> read(QByteArrayView bytes, qsizetype existingCount = 0);
    // The same for a file; a file that cannot be read is reported naming it.
    static Result<QAEntryTable> readFile(const QString& path, qsizetype existingCount = 0);

    // The text of the bytes: UTF-8 after a byte order mark or when the bytes
    // are valid UTF-8, code page 932 otherwise (what spreadsheets on Japanese
    // Windows write).
    static QString decode(QByteArrayView bytes);

    // A column as spreadsheets name it: 1 is A, 26 is Z, 27 is AA.
    static QString columnName(int column);
};
