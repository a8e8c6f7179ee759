#pragma once

#include "text/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

// Text conversion between Unicode and code page 932, the Microsoft variant of
// Shift-JIS that every file of the program is stored in ("．" is 81 44 and the
// backslash stays 5C).
//
// The mapping comes from the system's converter; it is turned into lookup
// tables once per process so that multi-megabyte pages convert in a single
// pass and so that every character that cannot be stored is known exactly.
class Cp932Codec {
public:
    // Whether the system has the converter that the tables are made from.
    // Without it no text can be read or written, so both programs ask first
    // and stop when it fails.
    static Status check();

    // Bytes that do not form a character of the code page become U+FFFD.
    static QString decode(QByteArrayView bytes);
    // The same into out, which has room for bytes.size() units; returns the
    // number of units written. For callers that decode many small pieces.
    static qsizetype decodeInto(QByteArrayView bytes, char16_t* out);

    // Appends the encoding of text to out. Fails, naming the first character
    // that the code page cannot hold, with nothing appended.
    static Status encode(QStringView text, QByteArray& out);

    // Appends the encoding of a page: characters the code page cannot hold
    // are written as HTML numeric character references (&#x1F600;), so the
    // page loses nothing.
    static void encodeForHtml(QStringView text, QByteArray& out);

    // The text as it reads back once stored: the look-alikes that Linux
    // input methods type (〜 − — ‖ ¢ £ ¬) become the code page's own
    // characters (～ － ― ∥ ￠ ￡ ￢); everything else stays.
    static QString asReadBack(QString text);

    // Position of the first character (a surrogate pair counts as one) that
    // the code page cannot hold, if any.
    static std::optional<qsizetype> findUnencodable(QStringView text);

    // The character at position index as the user would name it, with its
    // code point ("😀" U+1F600), for messages about refused text.
    static QString describeCharacterAt(QStringView text, qsizetype index);

    // The reference a page can hold instead of the character at index
    // (&#x1F600;), as encodeForHtml writes it; empty for half a surrogate
    // pair, which stands for no character.
    static QString htmlReferenceAt(QStringView text, qsizetype index);

    // How many units the character at index takes: 2 for a surrogate pair,
    // 0 past the end.
    static qsizetype characterLengthAt(QStringView text, qsizetype index);
};
