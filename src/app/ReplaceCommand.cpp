#include "app/ReplaceCommand.h"

#include "app/ProjectHistory.h"
#include "app/ProjectModel.h"
#include "app/TableCursor.h"
#include "app/UserDialogs.h"

ReplaceCommand::ReplaceCommand(ProjectModel& model, ProjectHistory& history, TableCursor& table,
                               UserDialogs& dialogs)
    : m_model(model)
    , m_history(history)
    , m_table(table)
    , m_dialogs(dialogs) {}

void ReplaceCommand::replaceAll(const EntryReplacement::Request& request) {
    Result<EntryReplacement::Outcome> outcome = EntryReplacement::apply(m_model.entries(), request);
    if (!outcome) {
        m_dialogs.beep();
        m_dialogs.report(outcome.error(), UserDialogs::boxTitle());
        return;
    }
    if (outcome->places == 0) {
        m_dialogs.report(notFoundMessage(request.find), UserDialogs::boxTitle());
        return;
    }
    {
        const int current = m_table.currentRow();
        const ProjectHistory::Step step(m_history, QStringLiteral("置換"));
        m_model.replaceEntries(std::move(outcome->entries));
        if (current >= 0)
            m_table.setCurrentRow(current);
    }
    m_dialogs.report(doneMessage(outcome->changedEntries, outcome->places),
                     UserDialogs::boxTitle());
}
