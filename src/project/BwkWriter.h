#pragma once

#include "project/Project.h"
#include "text/Result.h"

#include <QByteArray>
#include <QString>

// Writes project files (.bwk). A project that the format cannot carry
// faithfully is refused before anything is written, and a save that fails
// half-way leaves the previous file as it was.
class BwkWriter {
public:
    // The file's bytes, or why the project cannot be stored: the refusal
    // names the field or the entry and the character.
    static Result<QByteArray> encode(const DocumentInfo& document, const QAEntryTable& entries);

    // Whether a value can be stored as a one-line field (header values and
    // questions) or a quoted field (the description and answers), and if not,
    // why. name says which field, for the message.
    static Status checkLineField(const QString& value, const QString& name);
    static Status checkQuotedField(const QString& value, const QString& name);
    // Whether one entry, as typed or pasted, can be stored; the message names
    // its question or answer without a position.
    static Status checkEntry(const QAEntry& entry);

    // Replaces the file at path; a failure leaves the old file whole.
    static Status writeFile(const QString& path, const DocumentInfo& document,
                            const QAEntryTable& entries);
};
