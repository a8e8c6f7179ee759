// The recovery copy of an unsaved project: kept while the project differs
// from its file, gone once it is saved or let go, and offered again by the
// next window after the program was killed.

#include "FormTestHelpers.h"
#include "app/CrashRecovery.h"
#include "app/RecoveryStore.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"

#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class RecoveryTest : public QObject {
    Q_OBJECT

private:
    std::optional<QTemporaryDir> m_dir;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    MainForm::StateFolders folders() const { return {path(u"recovery"_s), path(u"open"_s)}; }
    QStringList copies() const {
        return QDir(path(u"recovery"_s)).entryList({u"*.recovery"_s}, QDir::Files);
    }
    static QByteArray bytesOf(const Project& project) {
        return BwkWriter::encode(project.document, project.entries).value();
    }

    // A window that made a change and was killed -9 once its copy was
    // written; expected is the project as it was when killed.
    void killAfterAChange(const QString& file, Project& expected) {
        QProcess window;
        window.start(QStringLiteral(BRINDLEWICK_RECOVERY_CRASH_HELPER),
                     {builtProgramFolder(), folders().recovery, folders().openFiles, file,
                      u"送料はいくらですか？"_s});
        QByteArray said;
        while (!said.contains("\n") && window.waitForReadyRead(20000))
            said += window.readAllStandardOutput();
        QCOMPARE(said, QByteArray("written\n"));
        window.kill();
        window.waitForFinished();
        expected = BwkReader::parseBytes(readFileBytes(file)).value();
        expected.entries.append({u"送料はいくらですか？"_s, u"一行目\r\n二行目"_s, 2});
    }

private slots:
    void init() {
        startWithEmptySettings();
        m_dir.emplace();
    }

    void copyFollowsTheUnsavedChanges() {
        WindowUnderTest ui(builtProgramFolder(), folders());
        QSignalSpy written(&ui.window.crashRecovery(), &CrashRecovery::written);
        ui.project().appendEntry(entry(u"a"_s));
        QVERIFY(written.wait(CrashRecovery::kDelayMs + 5000));
        QCOMPARE(written.value(0).value(0).toBool(), true);
        const Result<RecoveryCopy> copy =
            RecoveryStore::read(path(u"recovery/"_s) + copies().value(0));
        QVERIFY(copy);
        QCOMPARE(bytesOf(copy->project), bytesOf(ui.project().project()));

        ui.dialogs.files << path(u"faq.bwk"_s);
        ui.trigger("FileSave_FileName");
        ui.window.crashRecovery().flush();
        QVERIFY(copies().isEmpty());
        // A project let go at the end leaves nothing either.
        ui.project().appendEntry(entry(u"b"_s));
        ui.window.crashRecovery().flush();
        QCOMPARE(copies().size(), 1);
        ui.dialogs.answers << false;
        QVERIFY(ui.window.close());
        ui.verifyAllAnswered();
        ui.setDataChanged(false);
        ui.window.crashRecovery().flush();
    }

    // A project restored after a kill -9 is the project as it was, unsaved,
    // with its file; saving it asks nothing while the file is unchanged.
    void aKilledWindowsProjectIsRestored() {
        const QString file = path(u"shop.bwk"_s);
        QAEntryTable entries;
        entries.append({u"既存"_s, u"答え"_s, QAEntry::kEnabledIcon});
        QVERIFY(BwkWriter::writeFile(file, {}, entries));
        Project expected;
        killAfterAChange(file, expected);
        QCOMPARE(copies().size(), 1);

        WindowUnderTest ui(builtProgramFolder(), folders());
        ui.show();
        ui.dialogs.answers << true;
        ui.window.offerRecovery();
        const QString question = ui.dialogs.questions.value(0).text;
        QVERIFY(question.startsWith(RecoveryStore::restoreQuestion() + u"\n\n"_s + file + u'\n'));
        QCOMPARE(bytesOf(ui.project().project()), bytesOf(expected));
        QCOMPARE(ui.shownTitle(), u"shop.bwk* - Brindlewick Ver1.2"_s);
        QVERIFY(ui.dataChanged());
        ui.trigger("FileUpSave_FileMenu");
        ui.verifyAllAnswered();
        QCOMPARE(readFileBytes(file), bytesOf(expected));
        ui.window.crashRecovery().flush();
        QVERIFY(copies().isEmpty());
    }

    void aCopyThatIsNotWantedIsDeleted() {
        const QString file = path(u"shop.bwk"_s);
        QVERIFY(BwkWriter::writeFile(file, {}, {}));
        Project killed;
        killAfterAChange(file, killed);
        QCOMPARE(copies().size(), 1);
        WindowUnderTest ui(builtProgramFolder(), folders());
        ui.dialogs.answers << false;
        ui.window.offerRecovery();
        QVERIFY(copies().isEmpty());
        QVERIFY(!ui.dataChanged());
        QVERIFY(ui.project().project().entries.isEmpty());
        ui.verifyAllAnswered();
    }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
