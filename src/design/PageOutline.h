#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

// The elements of a written page and where each lies in its bytes, nested as
// a browser nests them for the markup designs use: end tags a browser
// supplies (of p, li, dt, dd, option and table cells), elements without
// content, and the raw text of scripts and styles. Markup a browser
// rearranges in ways not followed here (misnested formatting, tables
// without their row groups) gives an outline that differs from the browser's;
// whoever relies on it checks it against what the browser made.
//
// The page is read as bytes: code page 932 and UTF-8 never use the bytes of
// markup characters inside a character.
class PageOutline {
public:
    static constexpr int kNone = -1;

    struct Element {
        // The name as written, in any case.
        QByteArrayView name;
        // From the start tag's '<' to after its '>'.
        qsizetype start = 0;
        qsizetype contentStart = 0;
        // Where the content stops: the end tag's '<', or where the browser
        // ends the element without one; the element stops after the end tag.
        qsizetype contentEnd = 0;
        qsizetype end = 0;
        int parent = kNone;
        int firstChild = kNone;
        int nextSibling = kNone;
        int childCount = 0;
        // Made by the browser without a tag of its own (a table's tbody).
        bool implied = false;
        // Holds text only, whatever it looks like (a script, a style).
        bool rawText = false;
    };

    explicit PageOutline(QByteArray page);

    const QByteArray& page() const { return m_page; }
    QByteArrayView bytes(qsizetype from, qsizetype to) const {
        return QByteArrayView(m_page).sliced(from, to - from);
    }
    const Element& element(int index) const { return m_elements[std::size_t(index)]; }
    // The element the page's <body> tag opens; kNone without one.
    int body() const { return m_body; }
    // The element children of an element, in order.
    std::vector<int> children(int index) const;
    // Where an element of the body is: its position among the element
    // children of each element from the body down.
    std::vector<int> pathOf(int index) const;
    // The elements of the body with at least `count` element children: the
    // lists of a long page.
    std::vector<int> elementsWithChildren(int count) const;

private:
    class Builder;

    QByteArray m_page;
    std::vector<Element> m_elements;
    int m_body = kNone;
};
