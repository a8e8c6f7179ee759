#pragma once

#include "app/ProjectEdit.h"

#include <QList>
#include <QObject>
#include <optional>

class ProjectEditCommand;
class ProjectModel;
class QAction;
class QUndoStack;

// The undo history of the project: every change the model announces is
// recorded, those a command makes together as one step named after it. A
// project read or started anew begins a fresh history.
//
// The history alone decides whether the project has unsaved changes
// (DataChanged): it has them when a step that marks the project lies between
// the current step and the one that matches the file. Steps made only of
// changes that leave the project unmarked (the quick settings) are crossed
// freely, and a change the history holds no step for (an edit closed
// without changes) marks the project until it is saved.
class ProjectHistory : public QObject {
    Q_OBJECT

public:
    // Fewer steps than this would surprise; more would keep many copies of
    // large tables alive.
    static constexpr int kUndoLimit = 100;

    // While a Step lives, the changes made are one step of the history with
    // its caption; a step opened within another joins it.
    class Step {
    public:
        Step(ProjectHistory& history, const QString& caption);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        ProjectHistory& m_history;
    };

    explicit ProjectHistory(ProjectModel& model, QObject* parent = nullptr);

    // Keeps the menu items' captions ("元に戻す: 削除") and enabling in step
    // with the history.
    void bindUndoAction(QAction* action);
    void bindRedoAction(QAction* action);

    void undo();
    void redo();
    // Forgets every step, as when the project starts.
    void clear();
    // The current step matches the saved file.
    void setClean();
    bool isClean() const { return !DataChanged(); }
    bool DataChanged() const;
    // The project differs from its file whatever the steps say, as a project
    // restored after a crash does.
    void markUnsaved();

signals:
    // An undo or redo has finished; position is the entry to make current
    // (0 to leave it).
    void replayed(qsizetype position);
    // DataChanged() has changed to !clean.
    void cleanChanged(bool clean);

private:
    void changeComing(const ProjectChange& change);
    void changeMade(const ProjectChange& change);
    void push(const QString& caption, QList<ProjectEdit> edits, bool marks);
    const ProjectEditCommand& stepAt(int index) const;
    void endStep();
    void announceWhetherClean();
    static QString captionOf(ProjectChange::Kind kind);

    ProjectModel& m_model;
    QUndoStack* m_stack;
    std::optional<ProjectEdit> m_coming;
    QList<ProjectEdit> m_stepEdits;
    QString m_stepCaption;
    bool m_stepMarks = false;
    bool m_announcedClean = true;
    int m_stepDepth = 0;
    // While a step is undone or made again, its changes are not recorded.
    bool m_replaying = false;
};
