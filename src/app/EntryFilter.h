#pragma once

#include <QObject>
#include <QStringList>
#include <vector>

class ProjectModel;
struct ProjectChange;

// Which entries the table shows while the user searches it: those whose
// question or answer holds every word of the query, as SearchText compares
// them, and those that a change has added, replaced or moved since the query
// was typed, so that the user sees what an add, a paste, an edit or an undo
// did, and an edited entry does not vanish under the user's eyes.
//
// Each entry's text is kept folded, and a keystroke only compares strings.
// The folded texts follow the project model change by change, before the
// change is applied, so that whoever asks while the change is announced
// already sees it; an entry is folded when a query first needs it.
class EntryFilter : public QObject {
    Q_OBJECT

public:
    explicit EntryFilter(const ProjectModel& model, QObject* parent = nullptr);

    // A query of nothing but spaces shows every entry.
    void setQuery(const QString& query);
    bool isActive() const { return !m_words.isEmpty(); }

    // Whether the table shows the entry at position (1-based).
    bool isShown(qsizetype position);

signals:
    // Any entry may have been shown or hidden.
    void queryChanged();

private:
    struct Item {
        // The question and the answer, folded, on two lines; null until
        // folded.
        QString folded;
        // The query the match below was made for.
        quint64 matchedQuery = 0;
        bool matches = false;
        // Changed while the query stands: shown whatever it holds.
        bool changed = false;
    };

    void beginChange(const ProjectChange& change);
    std::vector<Item>& items();
    Item& item(qsizetype position) { return items()[std::size_t(position - 1)]; }
    bool matches(qsizetype position);

    const ProjectModel& m_model;
    QStringList m_words;
    // Numbers the queries from 1: an item matched for 0 never was.
    quint64 m_query = 1;
    // Emptied when the whole table changes, filled again when next needed.
    std::vector<Item> m_items;
};
