#pragma once

#include "design/PageOutline.h"

#include <QByteArray>
#include <optional>
#include <utility>
#include <vector>

// Where the body of a rebuilt page differs from the page shown before: the
// few stretches of markup a shown page must take over to look like the new
// one, each as small as the elements around it allow, so that what the
// reader's browser made of the rest stays as it is.
class PageChanges {
public:
    // A stretch of one element's content that lies between two of its child
    // elements, both unchanged (or its start or end).
    struct Region {
        // The element whose content changes: the positions among element
        // children from the body down, as in the page shown.
        std::vector<int> path;
        // The child elements around the stretch, as positions in the page
        // shown; PageOutline::kNone when it starts at the beginning of the
        // element or runs to its end.
        int after = PageOutline::kNone;
        int before = PageOutline::kNone;
        QByteArray shown;
        QByteArray next;
    };

    // The stretches that changed, in page order; none when the pages are
    // alike. Nothing when the page must be loaded anew: a page without a
    // <body> tag of its own, or one whose other parts (the head, the body
    // tag, what follows the body) changed, or so much changed that loading
    // it costs less.
    static std::optional<std::vector<Region>> between(const PageOutline& shown,
                                                      const PageOutline& next);

private:
    PageChanges(const PageOutline& shown, const PageOutline& next);

    // The children of an element and the stretches of text around them.
    struct Content {
        Content(const PageOutline& outline, int element);
        QByteArrayView gap(int index) const;
        QByteArrayView child(int index) const;
        int count() const { return int(children.size()); }
        // Where the stretch from after child `after` to child `before`
        // starts and ends.
        QByteArrayView between(int after, int before) const;

        const PageOutline& outline;
        int element;
        std::vector<int> children;
    };

    void compare(int shownElement, int nextElement, const std::vector<int>& path);
    bool sameStartTags(int shownElement, int nextElement) const;
    void align(const std::vector<int>& path, const Content& shown, const Content& next, int from,
               int shownEnd, int nextEnd);
    // How many children to pass on each side from `i` and `j` to the
    // nearest pair alike; up to the ends when there is none near.
    static std::pair<int, int> nearestAlike(const Content& shown, int i, int shownEnd,
                                            const Content& next, int j, int nextEnd);
    // The stretch between the children `after` and `before` of each side.
    void add(const std::vector<int>& path, const Content& shown, const Content& next,
             int shownAfter, int shownBefore, int nextAfter, int nextBefore);

    const PageOutline& m_shown;
    const PageOutline& m_next;
    std::vector<Region> m_regions;
    qsizetype m_bytes = 0;
};
