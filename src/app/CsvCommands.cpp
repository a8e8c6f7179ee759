#include "app/CsvCommands.h"

#include "app/ProjectHistory.h"
#include "app/ProjectModel.h"
#include "app/TableCursor.h"
#include "app/UserDialogs.h"
#include "project/CsvReader.h"
#include "project/CsvWriter.h"

#include <QFileInfo>

QString CsvCommands::withExtension(const QString& path) {
    return QFileInfo(path).suffix().compare(u"csv", Qt::CaseInsensitive) == 0
               ? path
               : path + QStringLiteral(".csv");
}

CsvCommands::CsvCommands(ProjectModel& model, ProjectHistory& history, TableCursor& table,
                         UserDialogs& dialogs)
    : m_model(model)
    , m_history(history)
    , m_table(table)
    , m_dialogs(dialogs) {}

CsvCommands::Placement CsvCommands::askPlacement() {
    // Into an empty table there is nothing to keep, so nothing to ask.
    if (m_model.entries().isEmpty())
        return Placement::Replace;
    const int answer = m_dialogs.askChoice(
        QStringLiteral("読み込む項目を、今ある項目の後に追加しますか？\n"
                       "それとも、今ある項目と置き換えますか？"),
        UserDialogs::boxTitle(),
        {QStringLiteral("追加"), QStringLiteral("置き換え"), QStringLiteral("キャンセル")});
    switch (answer) {
    case 0:
        return Placement::Append;
    case 1:
        return Placement::Replace;
    default:
        return Placement::Cancel;
    }
}

bool CsvCommands::importEntries() {
    const UserDialogs::FileChoice choice = m_dialogs.chooseFileToOpen(fileFilter());
    if (choice.cancelled())
        return false;
    const Placement placement = askPlacement();
    if (placement == Placement::Cancel)
        return false;
    const qsizetype kept = placement == Placement::Append ? m_model.entries().count() : 0;
    Result<QAEntryTable> read = CsvReader::readFile(choice.fileName, kept);
    if (!read) {
        m_dialogs.beep();
        m_dialogs.report(read.error(), UserDialogs::boxTitle());
        return false;
    }
    QAEntryTable entries = placement == Placement::Append ? m_model.entries() : QAEntryTable();
    entries.reserve(kept + read->count());
    for (const QAEntry& entry : *read)
        entries.append(entry);
    {
        const ProjectHistory::Step step(m_history, QStringLiteral("CSVから読み込み"));
        m_model.replaceEntries(std::move(entries));
    }
    // The first entry read is shown, where the user looks for what came in.
    if (!read->isEmpty())
        m_table.setCurrentRow(int(kept));
    return true;
}

bool CsvCommands::exportEntries() {
    const UserDialogs::FileChoice choice =
        m_dialogs.chooseFileToReplace(exportFilter(), &CsvCommands::withExtension);
    if (choice.cancelled())
        return false;
    const auto encoding = choice.fileType.contains(u"Shift_JIS") ? CsvWriter::Encoding::Cp932
                                                                 : CsvWriter::Encoding::Utf8;
    const Status written =
        CsvWriter::writeFile(m_model.entries(), withExtension(choice.fileName), encoding);
    if (!written) {
        m_dialogs.beep();
        m_dialogs.report(written.error(), UserDialogs::boxTitle());
        return false;
    }
    return true;
}
