#include "app/EntryFilter.h"

#include "app/ProjectModel.h"
#include "project/SearchText.h"

#include <algorithm>
#include <iterator>

EntryFilter::EntryFilter(const ProjectModel& model, QObject* parent)
    : QObject(parent)
    , m_model(model) {
    connect(&model, &ProjectModel::aboutToChange, this, &EntryFilter::beginChange);
}

void EntryFilter::setQuery(const QString& query) {
    const QStringList words = SearchText::words(query);
    if (words == m_words)
        return;
    m_words = words;
    ++m_query;
    for (Item& each : m_items)
        each.changed = false;
    emit queryChanged();
}

bool EntryFilter::isShown(qsizetype position) {
    return !isActive() || item(position).changed || matches(position);
}

bool EntryFilter::matches(qsizetype position) {
    Item& entry = item(position);
    if (entry.matchedQuery == m_query)
        return entry.matches;
    if (entry.folded.isNull()) {
        const QAEntry& shown = m_model.entries().item(position);
        entry.folded = SearchText::fold(shown.question) + u'\n' + SearchText::fold(shown.answer);
    }
    entry.matches = SearchText::containsAll(entry.folded, m_words);
    entry.matchedQuery = m_query;
    return entry.matches;
}

std::vector<EntryFilter::Item>& EntryFilter::items() {
    if (m_items.empty())
        m_items.resize(std::size_t(m_model.entries().count()));
    return m_items;
}

void EntryFilter::beginChange(const ProjectChange& change) {
    const auto at = [this](qsizetype position) {
        return std::next(items().begin(), std::ptrdiff_t(position - 1));
    };
    switch (change.kind) {
    case ProjectChange::Kind::ProjectReplaced:
    case ProjectChange::Kind::EntriesCleared:
    case ProjectChange::Kind::EntriesSorted:
    case ProjectChange::Kind::EntriesReplaced:
        m_items.clear();
        break;
    case ProjectChange::Kind::EntryInserted:
        items().insert(at(change.position), Item{QString(), 0, false, isActive()});
        break;
    case ProjectChange::Kind::EntryRemoved:
        items().erase(at(change.position));
        break;
    case ProjectChange::Kind::EntryReplaced:
        *at(change.position) = Item{QString(), 0, false, isActive()};
        break;
    case ProjectChange::Kind::EntryMoved: {
        const auto from = at(change.position);
        const auto to = at(change.destination);
        if (from < to)
            std::rotate(from, std::next(from), std::next(to));
        else
            std::rotate(to, from, std::next(from));
        to->changed = isActive();
        break;
    }
    case ProjectChange::Kind::DocumentSet:
        break;
    }
}
