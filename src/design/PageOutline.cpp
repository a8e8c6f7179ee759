#include "design/PageOutline.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <unordered_map>

namespace {

// What a browser makes of an element, by its name.
enum Kind : unsigned {
    Void = 1U << 0,
    RawText = 1U << 1,
    Heading = 1U << 2,
    // Starting one ends an open paragraph.
    EndsParagraph = 1U << 3,
    // An open paragraph behind one is not ended.
    HoldsParagraphs = 1U << 4,
    Paragraph = 1U << 5,
    ListItem = 1U << 6,
    List = 1U << 7,
    Term = 1U << 8,
    Definition = 1U << 9,
    DefinitionList = 1U << 10,
    Option = 1U << 11,
    OptionGroup = 1U << 12,
    Cell = 1U << 13,
    Row = 1U << 14,
    RowGroup = 1U << 15,
    Table = 1U << 16,
    Foreign = 1U << 17,
    Root = 1U << 18,
    Body = 1U << 19,
    // May stand before the <body> tag.
    HeadContent = 1U << 20,
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

const std::unordered_map<std::string, unsigned>& kinds() {
    static const std::unordered_map<std::string, unsigned> table = [] {
        std::unordered_map<std::string, unsigned> made;
        const auto mark = [&made](std::initializer_list<const char*> names, unsigned kind) {
            for (const char* name : names)
                made[name] |= kind;
        };
        mark({"area", "base", "br", "col", "embed", "hr", "img", "input", "keygen", "link", "meta",
              "param", "source", "track", "wbr"},
             Void);
        mark({"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"},
             RawText);
        mark({"h1", "h2", "h3", "h4", "h5", "h6"}, Heading | EndsParagraph);
        mark({"address", "article", "aside",  "blockquote", "center",     "details",   "dialog",
              "dir",     "div",     "dl",     "fieldset",   "figcaption", "figure",    "footer",
              "form",    "header",  "hgroup", "hr",         "main",       "menu",      "nav",
              "ol",      "p",       "pre",    "section",    "summary",    "table",     "ul",
              "listing", "xmp",     "li",     "dd",         "dt",         "plaintext", "search"},
             EndsParagraph);
        mark({"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template",
              "button", "body"},
             HoldsParagraphs);
        mark({"p"}, Paragraph);
        mark({"li"}, ListItem);
        mark({"ul", "ol", "menu"}, List);
        mark({"dt"}, Term);
        mark({"dd"}, Definition);
        mark({"dl"}, DefinitionList);
        mark({"option"}, Option);
        mark({"optgroup"}, OptionGroup);
        mark({"td", "th"}, Cell);
        mark({"tr"}, Row);
        mark({"tbody", "thead", "tfoot"}, RowGroup);
        mark({"table"}, Table);
        mark({"svg", "math"}, Foreign);
        mark({"html", "head"}, Root);
        mark({"body"}, Body);
        mark({"html", "head", "meta", "link", "title", "script", "style", "base", "noscript",
              "template"},
             HeadContent);
        return made;
    }();
    return table;
}

unsigned kindOf(QByteArrayView name) {
    if (name.size() > 12)
        return 0;
    std::string lowered(std::size_t(name.size()), ' ');
    for (qsizetype i = 0; i < name.size(); ++i)
        lowered[std::size_t(i)] = lower(name[i]);
    const auto found = kinds().find(lowered);
    return found == kinds().end() ? 0 : found->second;
}

} // namespace

class PageOutline::Builder {
public:
    explicit Builder(PageOutline& outline)
        : m_outline(outline)
        , m_text(outline.m_page.constData())
        , m_size(outline.m_page.size()) {}

    void run() {
        qsizetype at = 0;
        while (at < m_size && !m_done) {
            const void* found = std::memchr(m_text + at, '<', std::size_t(m_size - at));
            if (!found)
                break;
            at = readMarkup(qsizetype(static_cast<const char*>(found) - m_text));
        }
        if (m_open.size() > 1)
            closeTo(1, m_size, m_size);
    }

private:
    // Reads the markup at '<' and gives where reading goes on.
    qsizetype readMarkup(qsizetype lt) {
        const char next = charAt(lt + 1);
        if (next == '!')
            return skipDeclaration(lt);
        if (next == '?')
            return after('>', lt + 1);
        if (next == '/') {
            if (!isLetter(charAt(lt + 2)))
                return after('>', lt + 2);
            const qsizetype nameEnd = nameEndFrom(lt + 2);
            const qsizetype gt = after('>', nameEnd);
            endTag(m_outline.bytes(lt + 2, nameEnd), lt, gt);
            return gt;
        }
        if (!isLetter(next))
            return lt + 1;
        const qsizetype nameEnd = nameEndFrom(lt + 1);
        const qsizetype gt = startTagEnd(nameEnd);
        const bool selfClosing = gt >= 2 && m_text[gt - 2] == '/';
        return startTag(m_outline.bytes(lt + 1, nameEnd), lt, gt, selfClosing);
    }

    char charAt(qsizetype at) const { return at < m_size ? m_text[at] : '\0'; }

    // After the next `c` from `from`, or the end of the page.
    qsizetype after(char c, qsizetype from) const {
        if (from >= m_size)
            return m_size;
        const void* found = std::memchr(m_text + from, c, std::size_t(m_size - from));
        return found ? qsizetype(static_cast<const char*>(found) - m_text) + 1 : m_size;
    }

    qsizetype nameEndFrom(qsizetype at) const {
        while (at < m_size && !isSpace(m_text[at]) && m_text[at] != '/' && m_text[at] != '>')
            ++at;
        return at;
    }

    qsizetype skipDeclaration(qsizetype lt) const {
        if (m_outline.bytes(lt, std::min(m_size, lt + 4)) != QByteArrayView("<!--"))
            return after('>', lt + 2);
        if (charAt(lt + 4) == '>')
            return lt + 5;
        if (charAt(lt + 4) == '-' && charAt(lt + 5) == '>')
            return lt + 6;
        const qsizetype close = QByteArrayView(m_outline.m_page).indexOf("-->", lt + 4);
        return close < 0 ? m_size : close + 3;
    }

    // After the '>' of a start tag, past attribute values that hold one.
    qsizetype startTagEnd(qsizetype at) const {
        while (at < m_size) {
            const char c = m_text[at++];
            if (c == '>')
                return at;
            if (c != '=')
                continue;
            while (at < m_size && isSpace(m_text[at]))
                ++at;
            if (at < m_size && (m_text[at] == '"' || m_text[at] == '\''))
                at = after(m_text[at], at + 1);
        }
        return m_size;
    }

    Element& at(int index) { return m_outline.m_elements[std::size_t(index)]; }
    unsigned currentKind() const { return m_kinds[std::size_t(m_open.back())]; }

    int add(QByteArrayView name, unsigned kind, qsizetype start, qsizetype contentStart,
            bool implied = false) {
        Element element;
        element.name = name;
        element.start = start;
        element.contentStart = element.contentEnd = element.end = contentStart;
        element.parent = m_open.back();
        element.implied = implied;
        const int index = int(m_outline.m_elements.size());
        m_outline.m_elements.push_back(element);
        m_kinds.push_back(kind);
        m_lastChild.push_back(kNone);
        int& last = m_lastChild[std::size_t(element.parent)];
        if (last == kNone)
            at(element.parent).firstChild = index;
        else
            at(last).nextSibling = index;
        last = index;
        ++at(element.parent).childCount;
        return index;
    }

    void open(int index) {
        m_open.push_back(index);
        if (m_kinds[std::size_t(index)] & Foreign)
            ++m_foreignDepth;
    }

    // Ends the open elements from the top of the stack down to `depth`: the
    // one at `depth` ends at `end`, those above it where `lt` is, without an
    // end tag.
    void closeTo(std::size_t depth, qsizetype lt, qsizetype end) {
        while (m_open.size() > depth) {
            Element& closing = at(m_open.back());
            closing.contentEnd = lt;
            closing.end = m_open.size() - 1 == depth ? end : lt;
            if (m_kinds[std::size_t(m_open.back())] & Foreign)
                --m_foreignDepth;
            m_open.pop_back();
        }
    }

    // Ends the nearest open element of `kind`, unless an element of a
    // `border` kind comes first.
    void closeOpen(unsigned kind, unsigned border, qsizetype lt) {
        for (std::size_t depth = m_open.size() - 1; depth > m_bodyDepth; --depth) {
            const unsigned open = m_kinds[std::size_t(m_open[depth])];
            if (open & kind) {
                closeTo(depth, lt, lt);
                return;
            }
            if (open & border)
                return;
        }
    }

    void closeImplied(unsigned kind, qsizetype lt) {
        if (kind & EndsParagraph)
            closeOpen(Paragraph, HoldsParagraphs, lt);
        if ((kind & Heading) && (currentKind() & Heading))
            closeTo(m_open.size() - 1, lt, lt);
        if (kind & ListItem)
            closeOpen(ListItem, List | Table | Body, lt);
        if (kind & (Term | Definition))
            closeOpen(Term | Definition, DefinitionList | Table | Body, lt);
        if ((kind & (Option | OptionGroup)) && (currentKind() & Option))
            closeTo(m_open.size() - 1, lt, lt);
        if ((kind & OptionGroup) && (currentKind() & OptionGroup))
            closeTo(m_open.size() - 1, lt, lt);
        if (kind & Cell)
            closeOpen(Cell, Row | RowGroup | Table, lt);
        if (kind & (Row | RowGroup))
            closeOpen(Row, RowGroup | Table, lt);
        if (kind & RowGroup)
            closeOpen(RowGroup, Table, lt);
        if ((kind & Row) && (currentKind() & Table))
            open(add(QByteArrayView("tbody"), RowGroup, lt, lt, true));
    }

    qsizetype startTag(QByteArrayView name, qsizetype lt, qsizetype gt, bool selfClosing) {
        const unsigned kind = kindOf(name);
        if (m_bodyDepth == 0) {
            if (kind & Body) {
                m_outline.m_body = add(name, kind, lt, gt);
                open(m_outline.m_body);
                m_bodyDepth = m_open.size() - 1;
            } else if (!(kind & HeadContent)) {
                // Content before any <body> tag: the browser starts the body
                // there, not where the page says.
                m_done = true;
            }
            return kind & RawText ? after('>', rawTextEnd(name, gt)) : gt;
        }
        if (kind & (Root | Body))
            return gt;
        closeImplied(kind, lt);
        const bool foreign = m_foreignDepth > 0 || (kind & Foreign);
        const int index = add(name, kind, lt, gt);
        if ((kind & Void) || (foreign && selfClosing))
            return gt;
        if ((kind & RawText) && !foreign) {
            const qsizetype close = rawTextEnd(name, gt);
            at(index).contentEnd = close;
            at(index).end = after('>', close);
            at(index).rawText = true;
            return at(index).end;
        }
        open(index);
        return gt;
    }

    // Where the raw text that starts at `from` ends: the '<' of its end tag.
    qsizetype rawTextEnd(QByteArrayView name, qsizetype from) const {
        const QByteArrayView page(m_outline.m_page);
        for (qsizetype at = from; at < m_size;) {
            const qsizetype lt = page.indexOf("</", at);
            if (lt < 0)
                break;
            const qsizetype nameEnd = lt + 2 + name.size();
            if (nameEnd <= m_size && sameName(page.sliced(lt + 2, name.size()), name)) {
                const char next = charAt(nameEnd);
                if (nameEnd == m_size || isSpace(next) || next == '/' || next == '>')
                    return lt;
            }
            at = lt + 2;
        }
        return m_size;
    }

    void endTag(QByteArrayView name, qsizetype lt, qsizetype gt) {
        if (m_bodyDepth == 0)
            return;
        if ((kindOf(name) & Body) || sameName(name, QByteArrayView("html"))) {
            // What follows still goes into the body, at its end; the page is
            // followed no further.
            closeTo(m_bodyDepth + 1, lt, lt);
            at(m_outline.m_body).contentEnd = lt;
            at(m_outline.m_body).end = gt;
            m_open.resize(m_bodyDepth);
            m_done = true;
            return;
        }
        for (std::size_t depth = m_open.size() - 1; depth > m_bodyDepth; --depth) {
            if (sameName(at(m_open[depth]).name, name)) {
                closeTo(depth, lt, gt);
                return;
            }
        }
    }

    PageOutline& m_outline;
    const char* m_text;
    qsizetype m_size;
    // The open elements, the page itself at the bottom.
    std::vector<int> m_open{0};
    std::vector<unsigned> m_kinds{0};
    std::vector<int> m_lastChild{kNone};
    std::size_t m_bodyDepth = 0;
    int m_foreignDepth = 0;
    bool m_done = false;
};

PageOutline::PageOutline(QByteArray page)
    : m_page(std::move(page)) {
    Element document;
    document.contentEnd = document.end = m_page.size();
    m_elements.reserve(std::size_t(m_page.size() / 64) + 1);
    m_elements.push_back(document);
    Builder(*this).run();
}

std::vector<int> PageOutline::children(int index) const {
    std::vector<int> found;
    found.reserve(std::size_t(element(index).childCount));
    for (int child = element(index).firstChild; child != kNone; child = element(child).nextSibling)
        found.push_back(child);
    return found;
}

std::vector<int> PageOutline::pathOf(int index) const {
    std::vector<int> path;
    for (; index != m_body && index > 0; index = element(index).parent) {
        int position = 0;
        for (int sibling = element(element(index).parent).firstChild; sibling != index;
             sibling = element(sibling).nextSibling)
            ++position;
        path.insert(path.begin(), position);
    }
    return path;
}

std::vector<int> PageOutline::elementsWithChildren(int count) const {
    std::vector<int> found;
    if (m_body == kNone)
        return found;
    for (int index = m_body; index < int(m_elements.size()); ++index) {
        if (element(index).childCount >= count)
            found.push_back(index);
    }
    return found;
}
