#pragma once

#include <QAbstractTableModel>

class ProjectModel;
struct ProjectChange;

// Shows the project's entries in the table view: the question with its
// enabled mark in the first column, the answer in the second, each as the
// start of its first line. It follows the project model's announcements, one
// row at a time where a change concerns one entry, so the view never redraws
// more than changed.
class QAListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { QuestionColumn, AnswerColumn, ColumnCount };

    explicit QAListModel(const ProjectModel& project, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A row dragged within the table asks for a move; the model itself
    // changes only through the project model.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    // The entry at `from` was dropped so that it belongs at `to` (1-based).
    void entryDropped(qsizetype from, qsizetype to);

private:
    void beginChange(const ProjectChange& change);
    void endChange(const ProjectChange& change);

    const ProjectModel& m_project;
};
