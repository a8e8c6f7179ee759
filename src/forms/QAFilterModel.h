#pragma once

#include <QSortFilterProxyModel>

class EntryFilter;
class QAListModel;

// The entry table as the view shows it: the rows of QAListModel that the
// entry filter shows, in the project's order. A new query lays the table out
// once; a change of the project moves only the rows it concerns. While the
// user searches, rows are not dragged: their neighbours are hidden.
class QAFilterModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    QAFilterModel(QAListModel& rows, EntryFilter& filter, QObject* parent = nullptr);

    // The entry of a row of the view (1-based), 0 for none; and back, -1 for
    // an entry the view does not show.
    qsizetype positionOf(int row) const;
    int rowOf(qsizetype position) const;
    // The row of the entry, or of the nearest one in sight after it, else
    // before it; -1 when no row is.
    int nearestRowOf(qsizetype position) const;

    // "310件", or "12件 / 310件" while the user searches.
    QString countText() const;

    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    EntryFilter& m_filter;
};
