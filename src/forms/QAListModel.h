#pragma once

#include <QAbstractTableModel>

class ProjectModel;
struct ProjectChange;

// Shows the project's entries in the table view: the question with its
// enabled mark in the first column, the answer in the second. It follows the
// project model's announcements, one row at a time where a change concerns
// one entry, so the view never redraws more than changed.
class QAListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { QuestionColumn, AnswerColumn, ColumnCount };

    explicit QAListModel(const ProjectModel& project, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void beginChange(const ProjectChange& change);
    void endChange(const ProjectChange& change);

    const ProjectModel& m_project;
};
