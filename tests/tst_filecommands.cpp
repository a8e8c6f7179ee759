#include "FileSizeLimit.h"
#include "ScriptedDialogs.h"
#include "TestDesigns.h"
#include "app/ExportFolders.h"
#include "app/FileCommands.h"
#include "app/RecentFiles.h"
#include "project/BwkWriter.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Project projectWithOneEntry() {
    Project project;
    project.document.DocumentTitle = u"FAQ"_s;
    project.entries.append(QAEntry{u"Q"_s, u"A"_s, 1});
    return project;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program's state with unsaved changes, its model and scripted answers.
struct Session {
    explicit Session(Project project = projectWithOneEntry()) {
        app.project = std::move(project);
        app.DataChanged = true;
    }

    FileCommands commands() { return FileCommands(app, model, dialogs); }

    // The one change announced: the project replaced, leaving it unmodified.
    void verifyReplacedUnmodified() const {
        QCOMPARE(changes.count(), 1);
        const auto change = changes[0][0].value<ProjectChange>();
        QCOMPARE(change.kind, ProjectChange::Kind::ProjectReplaced);
        QVERIFY(!change.modifies());
        QVERIFY(!app.DataChanged);
    }

    MApp app;
    ProjectModel model{app.project};
    ScriptedDialogs dialogs;
    QSignalSpy changes{&model, &ProjectModel::changed};
};

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QSettings().clear(); }

    void saveAsAppendsTheExtensionUnlessTheNameHoldsIt_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("caption");
        // clang-format off
        QTest::newRow("plain name") << "faq" << "faq.bwk" << "faq[*] - Brindlewick Ver1.2";
        QTest::newRow("with extension") << "faq.bwk" << "faq.bwk" << "faq.bwk[*] - Brindlewick Ver1.2";
        QTest::newRow("from Windows") << "FAQ.BWK" << "FAQ.BWK" << "FAQ.BWK[*] - Brindlewick Ver1.2";
        QTest::newRow("inside the name") << "notes.bwk.txt" << "notes.bwk.txt" << "notes.bwk.txt[*] - Brindlewick Ver1.2";
        // Qt would take the name's own [*] for the unsaved mark.
        QTest::newRow("mark in the name") << "a[*]b" << "a[*]b.bwk" << "a[*][*]b[*] - Brindlewick Ver1.2";
        // clang-format on
    }

    void saveAsAppendsTheExtensionUnlessTheNameHoldsIt() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(QString, caption);
        QTemporaryDir dir;
        Session session;
        session.dialogs.files << dir.filePath(typed);
        QVERIFY(session.commands().saveAs());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(session.app.CurrentFilePath, dir.filePath(written));
        QCOMPARE(FileCommands::caption(session.app), caption);
        QVERIFY(!session.app.DataChanged);
        QCOMPARE(session.dialogs.filters, QStringList{u"B.W.Kファイル (*.bwk)"_s});
        QVERIFY(session.dialogs.questions.isEmpty());
        QCOMPARE(session.changes.count(), 0);
        QCOMPARE(RecentFiles::paths(), QStringList{dir.filePath(written)});
    }

    void saveAsReplacesAFileOnlyWhenAskedTo() {
        const QString target = path(u"faq.bwk"_s);
        for (const bool replace : {false, true}) {
            writeFileBytes(target, "old");
            Session session;
            session.app.LastExportFolder = path(u"site"_s);
            session.dialogs.files << path(u"faq"_s);
            session.dialogs.answers << replace;
            QCOMPARE(session.commands().saveAs(), replace);
            QCOMPARE(session.dialogs.questions.value(0).text,
                     ScriptedDialogs::replaceQuestion(target));
            QCOMPARE(readAll(target) == "old", !replace);
            QCOMPARE(session.app.DataChanged, !replace);
            // The copy was exported where the project was.
            QCOMPARE(ExportFolders::lastFor(target), replace ? path(u"site"_s) : QString());
        }
    }

    void openAsksFirstWhenChangedAndReplacesTheProject() {
        const Project saved = projectWithOneEntry();
        QVERIFY(BwkWriter::writeFile(path(u"one.bwk"_s), saved.document, saved.entries));

        Session session(Project{{}, {}});
        session.model.appendEntry(QAEntry{u"unsaved"_s, QString(), 1});
        session.changes.clear();
        session.dialogs.answers << false;
        QVERIFY(!session.commands().open());
        QCOMPARE(session.dialogs.questions.value(0).text,
                 u"現在保存されていない情報がまだありますが、ファイルを開きますか？"_s);
        QCOMPARE(session.changes.count(), 0);

        // Typed without the extension: the name with ".bwk" is opened.
        ExportFolders::remember(path(u"one.bwk"_s), path(u"site"_s));
        session.dialogs.answers << true;
        session.dialogs.files << path(u"one"_s);
        QVERIFY(session.commands().open());
        QCOMPARE(session.app.project, saved);
        QCOMPARE(session.app.CurrentFilePath, path(u"one.bwk"_s));
        QCOMPARE(session.app.LastExportFolder, path(u"site"_s));
        session.verifyReplacedUnmodified();
        QVERIFY(session.dialogs.allAnswered());

        // A name from Windows opens as itself; a file named directly too.
        QVERIFY(QFile::copy(path(u"one.bwk"_s), path(u"TWO.BWK"_s)));
        session.dialogs.files << path(u"TWO.BWK"_s);
        QVERIFY(session.commands().open());
        QVERIFY(session.commands().openFile(path(u"one.bwk"_s)));
        QCOMPARE(session.app.CurrentFileTitle, u"one.bwk"_s);
        QCOMPARE(RecentFiles::paths(), (QStringList{path(u"one.bwk"_s), path(u"TWO.BWK"_s)}));

        // Unchanged: no question; cancelled: nothing changes.
        session.dialogs.files << QString();
        QVERIFY(!session.commands().open());
        QCOMPARE(session.dialogs.questions.size(), 2);
        QCOMPARE(session.changes.count(), 3);
    }

    void failedOpenKeepsTheProject_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("damaged") << "damaged.bwk";
        QTest::newRow("missing") << "missing.bwk";
    }

    void failedOpenKeepsTheProject() {
        QFETCH(QString, name);
        writeFileBytes(path(u"damaged.bwk"_s), "title\r\nonly two lines\r\n");
        Session session;
        session.app.CurrentFilePath = u"/somewhere/old.bwk"_s;
        session.dialogs.answers << true;
        session.dialogs.files << path(name);
        QVERIFY(!session.commands().open());
        QCOMPARE(session.dialogs.beeps, 1);
        QCOMPARE(session.dialogs.reports.size(), 1);
        QVERIFY(session.dialogs.reports[0].text.startsWith(u"bwkファイルが壊れています。\n\n"_s));
        QCOMPARE(session.dialogs.reports[0].title, u"エラー"_s);
        QCOMPARE(session.app.project, projectWithOneEntry());
        QCOMPARE(session.changes.count(), 0);
        QVERIFY(session.app.DataChanged);
        QCOMPARE(session.app.CurrentFilePath, u"/somewhere/old.bwk"_s);
    }

    void newProjectResetsAndForgetsTheFile() {
        Session session;
        session.app.CurrentFilePath = path(u"keep.bwk"_s);
        session.app.CurrentFileTitle = u"keep.bwk"_s;
        session.app.LastExportFolder = path(u"site"_s);
        session.dialogs.answers << false << true;
        QVERIFY(!session.commands().newProject());
        QCOMPARE(session.app.project, projectWithOneEntry());

        QVERIFY(session.commands().newProject());
        QCOMPARE(session.dialogs.questions.last().text,
                 u"現在の情報はなくなりますがよろしいですか？"_s);
        QCOMPARE(session.app.project, (Project{DocumentInfo::forNewProject(), {}}));
        QCOMPARE(session.app.project.document.DocumentHomepage, QString());
        QVERIFY(session.app.LastExportFolder.isEmpty());
        session.verifyReplacedUnmodified();

        // The next overwrite save asks for a name instead of overwriting the
        // previous project's file.
        session.app.DataChanged = true;
        session.dialogs.files << path(u"fresh"_s);
        QVERIFY(session.commands().overwriteSave());
        QVERIFY(!session.app.DataChanged);
        QVERIFY(!QFile::exists(path(u"keep.bwk"_s)));
        // The new project was written: its title line is empty.
        QVERIFY(readAll(path(u"fresh.bwk"_s)).startsWith("\r\n"));
        QVERIFY(session.dialogs.allAnswered());
    }

    void failedSaveKeepsTheProjectChanged() {
        const QString target = path(u"full.bwk"_s);
        writeFileBytes(target, "old");
        Session session;
        session.app.CurrentFilePath = target;
        session.app.CurrentFileTitle = u"full.bwk"_s;
        session.model.replaceEntry(1, QAEntry{u"Q"_s, QString(8192, u'x'), 1});
        const bool written = [&] {
            const FileSizeLimit fullAfter(1024);
            return session.commands().overwriteSave();
        }();
        QVERIFY(!written);
        QVERIFY(session.app.DataChanged);
        QCOMPARE(readAll(target), QByteArray("old"));
        QVERIFY(session.dialogs.reports.value(0).text.startsWith(u"保存できませんでした。\n\n"_s));
        QCOMPARE(session.dialogs.reports.value(0).title, u"B.W.K"_s);
    }
};

QTEST_GUILESS_MAIN(FileCommandsTest)
#include "tst_filecommands.moc"
