#pragma once

#include "design/TemplateKey.h"

#include <QStringView>

// The bracket grammar of designs, written once: splits a text into runs of
// literal text and keys. The page's scan and the compilation of a loop block
// both read their text through it.
//
// The rules:
// - "[" always takes the next character with it. "[[" opens no key and both
//   brackets vanish; "[" with any other character opens a key whose text
//   starts with that character (so "[]" opens a key whose text starts
//   with "]").
// - A "]" closes the open key; a "]" with no key open vanishes.
// - Inside a key, "[" with a character other than "[" starts the key text
//   afresh with that character; "[[" keeps the key open and adds "[" to its
//   text, which then matches no key.
// - A key or a "[" still open at the end of the text vanishes with its text.
// Keys are matched exactly (templateKeyFor); a key text longer than the
// longest key is an unknown key.
class TemplateTokenizer {
public:
    struct Token {
        enum Kind { End, Literal, Key };
        Kind kind = End;
        // Literal: the text, a part of the tokenizer's text.
        QStringView text;
        // Key: which key; Unknown for any other key text.
        TemplateKey key = TemplateKey::Unknown;
        // Key: the position just after its "]".
        qsizetype end = 0;
    };

    explicit TemplateTokenizer(QStringView text)
        : m_s(text.utf16())
        , m_n(text.size()) {}

    // The next literal run or key; End once the text is used up.
    Token next() {
        while (m_i < m_n) {
            if (!m_inKey) {
                const qsizetype end = plainEnd(m_i);
                if (end > m_i) {
                    const qsizetype start = m_i;
                    m_i = end;
                    return Token{Token::Literal, QStringView(m_s + start, end - start), {}, 0};
                }
                if (m_s[m_i++] == u']')
                    continue;
                openAfterBracket();
                continue;
            }
            // Inside a key, character by character.
            const char16_t c = m_s[m_i++];
            if (c == u']') {
                m_inKey = false;
                return Token{Token::Key, {}, m_key.key(), m_i};
            }
            if (c != u'[') {
                m_key.append(c);
                continue;
            }
            // "[" inside the key: with another "[" the key goes on, "["
            // added to its text; with anything else it starts afresh.
            if (m_i < m_n && m_s[m_i] != u'[') {
                m_key.start(m_s[m_i++]);
                continue;
            }
            m_key.append(u'[');
            openAfterBracket();
        }
        return Token{};
    }

private:
    // The text of the key being read. Only the first few characters matter,
    // since no key is longer than that; the length is still counted so that
    // a long key text matches nothing.
    class KeyText {
    public:
        void start(char16_t c) {
            m_chars[0] = c;
            m_length = 1;
        }
        void append(char16_t c) {
            if (m_length < kKept)
                m_chars[m_length] = c;
            ++m_length;
        }
        TemplateKey key() const {
            return m_length > kLongestTemplateKey ? TemplateKey::Unknown
                                                  : templateKeyFor(QStringView(m_chars, m_length));
        }

    private:
        static constexpr qsizetype kKept = kLongestTemplateKey + 1;
        char16_t m_chars[kKept] = {};
        qsizetype m_length = 0;
    };

    qsizetype plainEnd(qsizetype from) const {
        while (from < m_n && m_s[from] != u'[' && m_s[from] != u']')
            ++from;
        return from;
    }

    // After a "[": takes the next character with it.
    void openAfterBracket() {
        if (m_i >= m_n)
            return;
        const char16_t d = m_s[m_i++];
        if (d != u'[') {
            m_key.start(d);
            m_inKey = true;
        }
    }

    const char16_t* m_s;
    qsizetype m_n;
    qsizetype m_i = 0;
    bool m_inKey = false;
    KeyText m_key;
};
