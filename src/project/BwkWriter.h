#pragma once

#include "project/BwkProject.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Writes project files (.bwk). A project that the format cannot carry
// faithfully is refused before anything is written, and a save that fails
// half-way leaves the previous file as it was.
class BwkWriter {
public:
    struct Encoded {
        std::optional<QByteArray> bytes;
        // Why the project was refused: names the field or the entry and the
        // character.
        QString error;
    };

    // The file's bytes, or the reason why the project cannot be stored.
    static Encoded encode(const DocumentInfo& document, const QAEntryTable& entries);

    // Why a value cannot be stored as a one-line field (header values and
    // questions) or a quoted field (the description and answers); empty when
    // it can. name says which field, for the message.
    static QString lineFieldRefusal(const QString& value, const QString& name);
    static QString quotedFieldRefusal(const QString& value, const QString& name);

    // Replaces the file at path; a failure leaves the old file whole. Returns
    // an empty text on success, otherwise the reason.
    static QString writeFile(const QString& path, const DocumentInfo& document,
                             const QAEntryTable& entries);
};
