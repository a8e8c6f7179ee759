#pragma once

#include "project/BwkHeader.h"
#include "project/Project.h"
#include "text/Result.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Writes project files (.bwk). A project that the format cannot carry
// faithfully is refused before anything is written, and a save that fails
// half-way leaves the previous file as it was.
class BwkWriter {
public:
    // The file's bytes, or why the project cannot be stored: the refusal
    // names the field or the entry and the character.
    static Result<QByteArray> encode(const DocumentInfo& document, const QAEntryTable& entries);

    // A one-line field (header values and questions) or a quoted one (the
    // description and answers).
    using FieldForm = BwkHeaderField::Form;

    // Whether a value can be stored as a field of that form, and if not, why
    // and what to type instead. name says which field, for the message,
    // which is about the first character the field cannot hold.
    static Status checkField(const QString& value, FieldForm form, const QString& name);
    static Status checkLineField(const QString& value, const QString& name);
    static Status checkQuotedField(const QString& value, const QString& name);

    // Where the first character is that a field of the form cannot hold.
    static std::optional<qsizetype> findUnstorable(QStringView value, FieldForm form);
    // The value with each character the field cannot hold written the way
    // a page shows as that character: a half-width double quote as &quot;,
    // a character outside the code page as its reference (&#x1F600;).
    // Nothing when one has no such form: a line break in a one-line field,
    // half a surrogate pair.
    static std::optional<QString> withStandIns(QStringView value, FieldForm form);
    // Whether one entry, as typed or pasted, can be stored; the message names
    // its question or answer without a position.
    static Status checkEntry(const QAEntry& entry);

    // Replaces the file at path; a failure leaves the old file whole.
    static Status writeFile(const QString& path, const DocumentInfo& document,
                            const QAEntryTable& entries);
};
