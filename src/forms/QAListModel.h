#pragma once

#include "app/MApp.h"

#include <QAbstractTableModel>

// Shows the entry table of the program's state in the table view: the
// question with its enabled mark in the first column, the answer in the
// second. Every change of the table goes through this model, one row at a
// time where it is one row, so the view never redraws more than changed.
class QAListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { QuestionColumn, AnswerColumn, ColumnCount };

    explicit QAListModel(MApp& app, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Positions are 1-based, as in the entry table.
    void appendEntry(const QAEntry& entry);
    void replaceEntry(qsizetype position, const QAEntry& entry);
    void removeEntry(qsizetype position);
    // After a change of the whole table (open, new, clear, sort), made by the
    // commands directly. They make it after their last dialog, so no event
    // reaches the view between the change and this call.
    void reloadAll();

private:
    MApp& m_app;
};
