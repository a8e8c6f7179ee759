#include "FileSizeLimit.h"
#include "ScriptedDialogs.h"
#include "app/MApp.h"
#include "project/BwkWriter.h"
#include "app/FileCommands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

MApp projectWithOneEntry() {
    MApp app;
    app.DocumentTitle = QStringLiteral("FAQ");
    app.entries.append(QAEntry{QStringLiteral("Q"), QStringLiteral("A"), 1});
    return app;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
        QTest::addColumn<QString>("caption");
        QTest::newRow("plain name") << "faq"
                                    << "faq.bwk"
                                    << "faq - Brindlewick Ver1.2";
        QTest::newRow("with extension") << "faq.bwk"
                                        << "faq.bwk"
                                        << "faq.bwk - Brindlewick Ver1.2";
        QTest::newRow("upper case") << "faq.BWK"
                                    << "faq.BWK.bwk"
                                    << "faq.BWK - Brindlewick Ver1.2";
        QTest::newRow("inside the name") << "notes.bwk.txt"
                                         << "notes.bwk.txt"
                                         << "notes.bwk.txt - Brindlewick Ver1.2";
    }

    void saveAsAppendsTheExtensionCaseSensitively() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(QString, caption);
        QTemporaryDir dir;
        MApp app = projectWithOneEntry();
        app.DataChanged = true;
        ScriptedDialogs dialogs;
        dialogs.file(dir.filePath(typed));
        QVERIFY(FileCommands(app, dialogs).saveAs());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(app.CurrentFilePath, dir.filePath(written));
        QCOMPARE(app.CurrentFileTitle, typed);
        QCOMPARE(FileCommands::caption(app), caption);
        QVERIFY(!app.DataChanged);
        QCOMPARE(dialogs.filters, QStringList{QStringLiteral("B.W.Kファイル (*.bwk)")});
        QVERIFY(dialogs.questions.isEmpty());
    }

    void openReadsTheFileAndAsksFirstWhenChanged() {
        MApp saved = projectWithOneEntry();
        QCOMPARE(
            BwkWriter::writeFile(path(QStringLiteral("one.bwk")), saved.document(), saved.entries),
            QString());

        MApp app;
        app.entries.append(QAEntry{QStringLiteral("unsaved"), QString(), 1});
        app.DataChanged = true;
        ScriptedDialogs dialogs;
        dialogs.answer(false);
        QVERIFY(!FileCommands(app, dialogs).open());
        QCOMPARE(
            dialogs.questions.value(0).text,
            QStringLiteral("現在保存されていない情報がまだありますが、ファイルを開きますか？"));
        QCOMPARE(app.entries.item(1).question, QStringLiteral("unsaved"));

        // Typed without the extension: the name with ".bwk" is opened.
        dialogs.answer(true).file(path(QStringLiteral("one")));
        QVERIFY(FileCommands(app, dialogs).open());
        QCOMPARE(app.entries, saved.entries);
        QCOMPARE(app.DocumentTitle, QStringLiteral("FAQ"));
        QCOMPARE(app.CurrentFilePath, path(QStringLiteral("one.bwk")));
        QVERIFY(!app.DataChanged);
        QVERIFY(dialogs.allAnswered());

        // Unchanged: no question; cancelled: nothing changes.
        dialogs.file(QString());
        QVERIFY(!FileCommands(app, dialogs).open());
        QCOMPARE(dialogs.questions.size(), 2);
        QCOMPARE(app.CurrentFilePath, path(QStringLiteral("one.bwk")));
    }

    void failedOpenKeepsTheProject() {
        QFile damaged(path(QStringLiteral("damaged.bwk")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("title\r\nonly two lines\r\n");
        damaged.close();

        for (const QString& name : {QStringLiteral("damaged.bwk"), QStringLiteral("missing.bwk")}) {
            MApp app = projectWithOneEntry();
            app.DataChanged = true;
            app.CurrentFilePath = QStringLiteral("/somewhere/old.bwk");
            const MApp before = app;
            ScriptedDialogs dialogs;
            dialogs.answer(true).file(path(name));
            QVERIFY(!FileCommands(app, dialogs).open());
            QCOMPARE(dialogs.beeps, 1);
            QCOMPARE(dialogs.reports.size(), 1);
            QVERIFY(
                dialogs.reports[0].text.startsWith(QStringLiteral("bwkファイルが壊れています。")));
            QCOMPARE(dialogs.reports[0].title, QStringLiteral("エラー"));
            QCOMPARE(app.entries, before.entries);
            QCOMPARE(app.document(), before.document());
            QVERIFY(app.DataChanged);
            QCOMPARE(app.CurrentFilePath, before.CurrentFilePath);
        }
    }

    void newProjectResetsAndForgetsTheFile() {
        MApp app = projectWithOneEntry();
        app.DataChanged = true;
        app.CurrentFilePath = path(QStringLiteral("keep.bwk"));
        app.CurrentFileTitle = QStringLiteral("keep.bwk");
        ScriptedDialogs dialogs;
        dialogs.answer(false);
        QVERIFY(!FileCommands(app, dialogs).newProject());
        QCOMPARE(app.entries.count(), 1);

        dialogs.answer(true);
        QVERIFY(FileCommands(app, dialogs).newProject());
        QCOMPARE(dialogs.questions.last().text,
                 QStringLiteral("現在の情報はなくなりますがよろしいですか？"));
        QVERIFY(app.entries.isEmpty());
        QCOMPARE(app.document(), DocumentInfo::forNewProject());
        QCOMPARE(app.DocumentHomepage, QString());
        QVERIFY(!app.DataChanged);
        QCOMPARE(FileCommands::caption(app), QStringLiteral("Brindlewick Ver1.2"));

        // The next overwrite save asks for a name instead of overwriting the
        // previous project's file.
        app.DataChanged = true;
        dialogs.file(QString());
        QVERIFY(!FileCommands(app, dialogs).overwriteSave());
        QVERIFY(app.DataChanged);
        QVERIFY(!QFile::exists(path(QStringLiteral("keep.bwk"))));
        QVERIFY(dialogs.allAnswered());
    }

    void overwriteSaveWritesTheCurrentFile() {
        MApp app = projectWithOneEntry();
        ScriptedDialogs dialogs;
        dialogs.file(path(QStringLiteral("over")));
        QVERIFY(FileCommands(app, dialogs).overwriteSave());
        QCOMPARE(app.CurrentFilePath, path(QStringLiteral("over.bwk")));

        app.entries.item(1).answer = QStringLiteral("changed");
        app.DataChanged = true;
        QVERIFY(FileCommands(app, dialogs).overwriteSave());
        QVERIFY(!app.DataChanged);
        QVERIFY(readAll(app.CurrentFilePath).endsWith("\"changed\"\r\n"));
        QVERIFY(dialogs.allAnswered());
    }

    void failedSaveKeepsTheProjectChanged() {
        const QString target = path(QStringLiteral("full.bwk"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();

        MApp app = projectWithOneEntry();
        app.CurrentFilePath = target;
        app.CurrentFileTitle = QStringLiteral("full.bwk");
        app.DataChanged = true;
        app.entries.item(1).answer = QString(8192, u'x');
        ScriptedDialogs dialogs;

        const bool written = [&] {
            const FileSizeLimit fullAfter(1024);
            return FileCommands(app, dialogs).overwriteSave();
        }();

        QVERIFY(!written);
        QVERIFY(app.DataChanged);
        QCOMPARE(readAll(target), QByteArray("old"));
        QCOMPARE(dialogs.reports.size(), 1);
        QCOMPARE(dialogs.reports[0].title, QStringLiteral("B.W.K"));

        // A refused project is reported the same way, naming the entry.
        app.entries.item(1).answer = QStringLiteral("say \"hi\"");
        QVERIFY(!FileCommands(app, dialogs).overwriteSave());
        QVERIFY(dialogs.reports[1].text.contains(QStringLiteral("1番目の項目の答え")));
        QVERIFY(app.DataChanged);
        QCOMPARE(app.CurrentFileTitle, QStringLiteral("full.bwk"));
    }
};

QTEST_GUILESS_MAIN(FileCommandsTest)
#include "tst_filecommands.moc"
