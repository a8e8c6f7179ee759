#include "FileSizeLimit.h"
#include "ScriptedDialogs.h"
#include "TestDesigns.h"
#include "app/FileCommands.h"
#include "project/BwkWriter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
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
    void saveAsAppendsTheExtensionCaseSensitively_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        // clang-format off
        QTest::newRow("plain name") << "faq" << "faq.bwk";
        QTest::newRow("with extension") << "faq.bwk" << "faq.bwk";
        QTest::newRow("upper case") << "faq.BWK" << "faq.BWK.bwk";
        QTest::newRow("inside the name") << "notes.bwk.txt" << "notes.bwk.txt";
        // clang-format on
    }

    void saveAsAppendsTheExtensionCaseSensitively() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir dir;
        Session session;
        session.dialogs.files << dir.filePath(typed);
        QVERIFY(session.commands().saveAs());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(session.app.CurrentFilePath, dir.filePath(written));
        // The caption shows the name as typed.
        QCOMPARE(FileCommands::caption(session.app), typed + u" - Brindlewick Ver1.2"_s);
        QVERIFY(!session.app.DataChanged);
        QCOMPARE(session.dialogs.filters, QStringList{u"B.W.Kファイル (*.bwk)"_s});
        QVERIFY(session.dialogs.questions.isEmpty());
        QCOMPARE(session.changes.count(), 0);
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
        session.dialogs.answers << true;
        session.dialogs.files << path(u"one"_s);
        QVERIFY(session.commands().open());
        QCOMPARE(session.app.project, saved);
        QCOMPARE(session.app.CurrentFilePath, path(u"one.bwk"_s));
        session.verifyReplacedUnmodified();
        QVERIFY(session.dialogs.allAnswered());

        // Unchanged: no question; cancelled: nothing changes.
        session.dialogs.files << QString();
        QVERIFY(!session.commands().open());
        QCOMPARE(session.dialogs.questions.size(), 2);
        QCOMPARE(session.changes.count(), 1);
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
        session.dialogs.answers << false << true;
        QVERIFY(!session.commands().newProject());
        QCOMPARE(session.app.project, projectWithOneEntry());

        QVERIFY(session.commands().newProject());
        QCOMPARE(session.dialogs.questions.last().text,
                 u"現在の情報はなくなりますがよろしいですか？"_s);
        QCOMPARE(session.app.project, (Project{DocumentInfo::forNewProject(), {}}));
        QCOMPARE(session.app.project.document.DocumentHomepage, QString());
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
