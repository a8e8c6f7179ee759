#include "app/ProjectHistory.h"

#include "app/ProjectEditCommand.h"
#include "app/ProjectModel.h"

#include <QAction>
#include <QScopedValueRollback>
#include <QUndoStack>
#include <algorithm>

namespace {

// "元に戻す" alone while there is nothing to undo, else with what it undoes.
void showCaption(QAction* action, const QString& name, const QString& step) {
    action->setText(step.isEmpty() ? name : name + QStringLiteral(": ") + step);
}

} // namespace

ProjectHistory::Step::Step(ProjectHistory& history, const QString& caption)
    : m_history(history) {
    if (m_history.m_stepDepth++ == 0) {
        m_history.m_stepCaption = caption;
        m_history.m_stepMarks = false;
    }
}

ProjectHistory::Step::~Step() {
    m_history.endStep();
}

ProjectHistory::ProjectHistory(ProjectModel& model, QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_stack(new QUndoStack(this)) {
    m_stack->setUndoLimit(kUndoLimit);
    connect(m_stack, &QUndoStack::cleanChanged, this, &ProjectHistory::announceWhetherClean);
    connect(m_stack, &QUndoStack::indexChanged, this, &ProjectHistory::announceWhetherClean);
    connect(&model, &ProjectModel::aboutToChange, this, &ProjectHistory::changeComing);
    connect(&model, &ProjectModel::changed, this, &ProjectHistory::changeMade);
}

void ProjectHistory::bindUndoAction(QAction* action) {
    const QString name = action->text();
    action->setEnabled(m_stack->canUndo());
    connect(m_stack, &QUndoStack::canUndoChanged, action, &QAction::setEnabled);
    connect(m_stack, &QUndoStack::undoTextChanged, action,
            [action, name](const QString& step) { showCaption(action, name, step); });
}

void ProjectHistory::bindRedoAction(QAction* action) {
    const QString name = action->text();
    action->setEnabled(m_stack->canRedo());
    connect(m_stack, &QUndoStack::canRedoChanged, action, &QAction::setEnabled);
    connect(m_stack, &QUndoStack::redoTextChanged, action,
            [action, name](const QString& step) { showCaption(action, name, step); });
}

void ProjectHistory::undo() {
    if (!m_stack->canUndo())
        return;
    {
        const QScopedValueRollback replaying(m_replaying, true);
        m_stack->undo();
    }
    // Announced once the stack has moved, so that isClean() tells where it
    // is now. The step undone is the one the stack now stands at.
    emit replayed(stepAt(m_stack->index()).positionAfterUndo());
}

void ProjectHistory::redo() {
    if (!m_stack->canRedo())
        return;
    {
        const QScopedValueRollback replaying(m_replaying, true);
        m_stack->redo();
    }
    emit replayed(stepAt(m_stack->index() - 1).positionAfterRedo());
}

void ProjectHistory::clear() {
    m_stack->clear();
    announceWhetherClean();
}

void ProjectHistory::setClean() {
    m_stack->setClean();
    announceWhetherClean();
}

bool ProjectHistory::DataChanged() const {
    const int saved = m_stack->cleanIndex();
    if (saved < 0)
        return true;
    const int current = m_stack->index();
    for (int step = std::min(saved, current); step < std::max(saved, current); ++step) {
        if (stepAt(step).marks())
            return true;
    }
    return false;
}

void ProjectHistory::markUnsaved() {
    m_stack->resetClean();
    // The stack says nothing when it was unclean already.
    announceWhetherClean();
}

void ProjectHistory::announceWhetherClean() {
    const bool clean = isClean();
    if (clean != m_announcedClean) {
        m_announcedClean = clean;
        emit cleanChanged(clean);
    }
}

void ProjectHistory::changeComing(const ProjectChange& change) {
    if (!m_replaying)
        m_coming = ProjectEdit::before(m_model, change);
}

void ProjectHistory::changeMade(const ProjectChange& change) {
    if (m_replaying || !m_coming)
        return;
    ProjectEdit edit = std::move(*m_coming);
    m_coming.reset();
    if (change.kind == ProjectChange::Kind::ProjectReplaced && !change.modifies()) {
        m_stack->clear();
        return;
    }
    if (!edit.recordAfter(m_model)) {
        // Nothing to undo, yet the command counts as a change.
        if (change.modifies())
            markUnsaved();
        return;
    }
    if (m_stepDepth > 0) {
        m_stepEdits.append(std::move(edit));
        m_stepMarks = m_stepMarks || change.modifies();
    } else {
        push(captionOf(change.kind), {std::move(edit)}, change.modifies());
    }
}

void ProjectHistory::endStep() {
    if (--m_stepDepth > 0 || m_stepEdits.isEmpty())
        return;
    push(m_stepCaption, std::exchange(m_stepEdits, {}), m_stepMarks);
}

void ProjectHistory::push(const QString& caption, QList<ProjectEdit> edits, bool marks) {
    m_stack->push(new ProjectEditCommand(m_model, caption, std::move(edits), marks));
}

const ProjectEditCommand& ProjectHistory::stepAt(int index) const {
    return *static_cast<const ProjectEditCommand*>(m_stack->command(index));
}

QString ProjectHistory::captionOf(ProjectChange::Kind kind) {
    using enum ProjectChange::Kind;
    switch (kind) {
    case EntryInserted:
        return QStringLiteral("追加");
    case EntryRemoved:
        return QStringLiteral("削除");
    case EntryReplaced:
        return QStringLiteral("編集");
    case EntryMoved:
        return QStringLiteral("移動");
    case EntriesSorted:
        return QStringLiteral("ソート");
    case EntriesCleared:
        return QStringLiteral("初期化");
    case DocumentSet:
        return QStringLiteral("ドキュメント設定");
    case EntriesReplaced:
    case ProjectReplaced:
        break;
    }
    return QStringLiteral("変更");
}
