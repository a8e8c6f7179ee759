#include "app/PreviewUpdates.h"

#include "app/ProjectModel.h"

PreviewUpdates::Hold::Hold(PreviewUpdates& updates)
    : m_updates(updates) {
    ++m_updates.m_holds;
}

PreviewUpdates::Hold::~Hold() {
    if (--m_updates.m_holds == 0)
        emit m_updates.outdated();
}

PreviewUpdates::PreviewUpdates(const ProjectModel& model, QObject* parent)
    : QObject(parent) {
    connect(&model, &ProjectModel::changed, this, &PreviewUpdates::changeMade);
}

void PreviewUpdates::changeMade(const ProjectChange& change) {
    // A project opened or started anew is not a change to save, but the
    // preview shows it all the same.
    if (!change.modifies() && change.kind != ProjectChange::Kind::ProjectReplaced)
        return;
    if (m_holds == 0)
        emit outdated();
}
