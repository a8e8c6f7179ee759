#pragma once

#include <QString>

// How long a page may grow, in characters (UTF-16 code units), and what a run
// of a design that would pass it says. A loop block is written once per entry,
// so a short design over a large project, or a hostile one, could otherwise
// ask for more memory than the machine has.
class PageSizeLimit {
public:
    static constexpr qsizetype kDefaultCharacters = 512'000'000;

    constexpr explicit PageSizeLimit(qsizetype characters = kDefaultCharacters)
        : m_characters(characters) {}

    constexpr qsizetype characters() const { return m_characters; }

    // Whether a page of pageSize characters may take more characters.
    constexpr bool allows(qsizetype pageSize, qsizetype more) const {
        return more <= m_characters - pageSize;
    }

    // The failure of a run that stopped at the limit: starts with
    // "ページが大きすぎます".
    QString message() const;

private:
    qsizetype m_characters;
};
