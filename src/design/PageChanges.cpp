#include "design/PageChanges.h"

#include <algorithm>

namespace {

// Beyond this much changed markup a page loads faster than it is patched.
constexpr qsizetype kMostChangedBytes = qsizetype(32) * 1024 * 1024;
// How far ahead children taken out or put in are looked for.
constexpr int kLookAhead = 64;

} // namespace

PageChanges::Content::Content(const PageOutline& outline, int element)
    : outline(outline)
    , element(element)
    , children(outline.children(element)) {}

QByteArrayView PageChanges::Content::gap(int index) const {
    return between(index - 1, index);
}

QByteArrayView PageChanges::Content::child(int index) const {
    const PageOutline::Element& found = outline.element(children[std::size_t(index)]);
    return outline.bytes(found.start, found.end);
}

QByteArrayView PageChanges::Content::between(int after, int before) const {
    const qsizetype from = after < 0 ? outline.element(element).contentStart
                                     : outline.element(children[std::size_t(after)]).end;
    const qsizetype to = before >= count() ? outline.element(element).contentEnd
                                           : outline.element(children[std::size_t(before)]).start;
    return outline.bytes(from, to);
}

PageChanges::PageChanges(const PageOutline& shown, const PageOutline& next)
    : m_shown(shown)
    , m_next(next) {}

std::optional<std::vector<PageChanges::Region>> PageChanges::between(const PageOutline& shown,
                                                                     const PageOutline& next) {
    if (shown.body() == PageOutline::kNone || next.body() == PageOutline::kNone)
        return std::nullopt;
    const PageOutline::Element& shownBody = shown.element(shown.body());
    const PageOutline::Element& nextBody = next.element(next.body());
    if (shown.bytes(0, shownBody.contentStart) != next.bytes(0, nextBody.contentStart) ||
        shown.bytes(shownBody.contentEnd, shown.page().size()) !=
            next.bytes(nextBody.contentEnd, next.page().size()))
        return std::nullopt;
    PageChanges changes(shown, next);
    changes.compare(shown.body(), next.body(), {});
    if (changes.m_bytes > kMostChangedBytes)
        return std::nullopt;
    return std::move(changes.m_regions);
}

bool PageChanges::sameStartTags(int shownElement, int nextElement) const {
    const PageOutline::Element& shown = m_shown.element(shownElement);
    const PageOutline::Element& next = m_next.element(nextElement);
    // Raw text (a script, a style) is taken over whole, with its element.
    return !shown.rawText && shown.implied == next.implied &&
           m_shown.bytes(shown.start, shown.contentStart) ==
               m_next.bytes(next.start, next.contentStart);
}

void PageChanges::compare(int shownElement, int nextElement, const std::vector<int>& path) {
    const Content shown(m_shown, shownElement);
    const Content next(m_next, nextElement);
    const int least = std::min(shown.count(), next.count());
    int same = 0;
    while (same < least && shown.gap(same) == next.gap(same) &&
           shown.child(same) == next.child(same))
        ++same;
    int sameAtEnd = 0;
    while (sameAtEnd < least - same &&
           shown.gap(shown.count() - sameAtEnd) == next.gap(next.count() - sameAtEnd) &&
           shown.child(shown.count() - 1 - sameAtEnd) == next.child(next.count() - 1 - sameAtEnd))
        ++sameAtEnd;
    const int shownEnd = shown.count() - sameAtEnd;
    const int nextEnd = next.count() - sameAtEnd;
    if (same == shownEnd && same == nextEnd && shown.gap(shownEnd) == next.gap(nextEnd))
        return;

    // As many children on both sides, the text between them unchanged: each
    // changed child is looked into on its own.
    bool pairwise = shownEnd - same == nextEnd - same;
    for (int index = same; pairwise && index <= shownEnd; ++index)
        pairwise = shown.gap(index) == next.gap(index);
    if (!pairwise) {
        align(path, shown, next, same, shownEnd, nextEnd);
        return;
    }
    for (int index = same; index < shownEnd; ++index) {
        if (shown.child(index) == next.child(index))
            continue;
        const int shownChild = shown.children[std::size_t(index)];
        const int nextChild = next.children[std::size_t(index)];
        if (sameStartTags(shownChild, nextChild)) {
            std::vector<int> deeper = path;
            deeper.push_back(index);
            compare(shownChild, nextChild, deeper);
        } else {
            add(path, shown, next, index - 1, index + 1, index - 1, index + 1);
        }
    }
}

// Children were taken out or put in between `from` and the ends. Each run
// of children that differ, up to the next child alike on both sides, is a
// region of its own: an entry taken out renumbers the anchors of later
// switched-off entries, and one region from the first difference to the
// last would be most of a long page.
void PageChanges::align(const std::vector<int>& path, const Content& shown, const Content& next,
                        int from, int shownEnd, int nextEnd) {
    int i = from;
    int j = from;
    while (i < shownEnd || j < nextEnd) {
        if (i < shownEnd && j < nextEnd && shown.gap(i) == next.gap(j) &&
            shown.child(i) == next.child(j)) {
            ++i;
            ++j;
            continue;
        }
        const auto [skipShown, skipNext] = nearestAlike(shown, i, shownEnd, next, j, nextEnd);
        add(path, shown, next, i - 1, i + skipShown, j - 1, j + skipNext);
        // The child found alike closes the region, the text before it included
        i += skipShown + 1;
        j += skipNext + 1;
    }
    if (i == shownEnd && j == nextEnd && shown.gap(i) != next.gap(j))
        add(path, shown, next, i - 1, i, j - 1, j);
}

std::pair<int, int> PageChanges::nearestAlike(const Content& shown, int i, int shownEnd,
                                              const Content& next, int j, int nextEnd) {
    for (int distance = 0; distance <= 2 * kLookAhead; ++distance) {
        for (int a = std::max(0, distance - kLookAhead); a <= std::min(distance, kLookAhead); ++a) {
            const int b = distance - a;
            if (i + a < shownEnd && j + b < nextEnd && shown.child(i + a) == next.child(j + b))
                return {a, b};
        }
    }
    return {shownEnd - i, nextEnd - j};
}

void PageChanges::add(const std::vector<int>& path, const Content& shown, const Content& next,
                      int shownAfter, int shownBefore, int nextAfter, int nextBefore) {
    Region region;
    region.path = path;
    region.after = shownAfter;
    region.before = shownBefore >= shown.count() ? PageOutline::kNone : shownBefore;
    region.shown = shown.between(shownAfter, shownBefore).toByteArray();
    region.next = next.between(nextAfter, nextBefore).toByteArray();
    m_bytes += region.shown.size() + region.next.size();
    m_regions.push_back(std::move(region));
}
