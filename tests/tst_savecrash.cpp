// A save that cannot finish because the process is killed must leave either
// the project as it was before the save or the new one, never a mix or a
// file cut short (a full disk is tst_project's). An export that cannot
// finish leaves no output folder at all.

#include "SaveCrashProjects.h"
#include "TestDesigns.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const Project& project) {
    return *BwkWriter::encode(project.document, project.entries);
}

} // namespace

class SaveCrashTest : public QObject {
    Q_OBJECT

private slots:
    void killedSavesLeaveOneWholeProject() {
        const Project projects[2] = {saveCrashProject(0), saveCrashProject(1)};
        const QByteArray files[2] = {fileBytes(projects[0]), fileBytes(projects[1])};
        QVERIFY(!files[0].isEmpty() && !files[1].isEmpty());

        QTemporaryDir dir;
        const QString path = dir.filePath(u"project.bwk"_s);
        // Fixed, so that a failure can be run again with the same delays.
        QRandomGenerator random(20261207);
        int found[2] = {0, 0};
        for (int round = 0; round < 50; ++round) {
            QProcess saver;
            saver.start(QStringLiteral(BRINDLEWICK_SAVE_LOOP_HELPER), {path});
            QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
            // Once a save has finished the loop is running; the kill then
            // falls anywhere in the saves that follow.
            while (!saver.readAllStandardOutput().contains("saved"))
                QVERIFY2(saver.waitForReadyRead(60'000), saver.readAllStandardError().constData());
            QThread::msleep(random.bounded(60));
            saver.kill();
            QVERIFY(saver.waitForFinished(60'000));
            QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

            const QByteArray bytes = readFileBytes(path);
            const int which = bytes == files[0] ? 0 : bytes == files[1] ? 1 : -1;
            QVERIFY2(which >= 0, qPrintable(u"round %1: a torn file of %2 bytes"_s.arg(round).arg(
                                     bytes.size())));
            ++found[which];
        }
        // Both versions turned up, so the kills fell at different points of
        // the loop rather than always in the same place.
        QVERIFY2(found[0] > 0 && found[1] > 0,
                 qPrintable(u"%1 / %2"_s.arg(found[0]).arg(found[1])));
        const Result<Project> read = BwkReader::readFile(path);
        QVERIFY2(read, qPrintable(read.error()));
        QVERIFY(*read == projects[0] || *read == projects[1]);
    }

    void killedExportsLeaveNoFolderThatLooksFinished() {
        QTemporaryDir dir;
        Project project = saveCrashProject(0);
        project.document = projectUsingDesign(u"standard"_s, u"faq.ddc"_s).document;
        const QString projectPath = dir.filePath(u"p.bwk"_s);
        QVERIFY(BwkWriter::writeFile(projectPath, project.document, project.entries).ok());
        const QString output = dir.filePath(u"faq"_s);
        const QString cli = QStringLiteral(BRINDLEWICK_BUILD_DIR "/brindlewick-cli");
        const QStringList arguments{u"export"_s, projectPath, output};

        QProcess exporter;
        exporter.start(cli, arguments);
        QVERIFY(exporter.waitForFinished(60'000));
        QCOMPARE(exporter.exitCode(), 0);
        const QByteArray page = readFileBytes(output + u"/faq.html"_s);
        QVERIFY(page.size() > 1'000'000);
        QVERIFY(QDir(output).removeRecursively());

        QRandomGenerator random(20261207);
        int finished = 0;
        for (int round = 0; round < 30; ++round) {
            exporter.start(cli, arguments);
            QVERIFY(exporter.waitForStarted());
            QThread::msleep(random.bounded(80));
            exporter.kill();
            QVERIFY(exporter.waitForFinished(60'000));
            if (QFileInfo::exists(output)) {
                QCOMPARE(readFileBytes(output + u"/faq.html"_s), page);
                QVERIFY(QDir(output).removeRecursively());
                ++finished;
            }
        }
        QVERIFY2(finished < 30, "every export finished before it was killed");

        // A file-size limit stops the export with SIGXFSZ half-way through
        // the page; the folders the killed exports were built in stay hidden
        // and block nothing.
        exporter.start(u"/bin/sh"_s, {u"-c"_s, u"ulimit -f 64; exec \"$0\" \"$@\""_s, cli,
                                      arguments.at(0), arguments.at(1), arguments.at(2)});
        QVERIFY(exporter.waitForFinished(60'000));
        QVERIFY(exporter.exitStatus() == QProcess::CrashExit || exporter.exitCode() != 0);
        QVERIFY(!QFileInfo::exists(output));
        exporter.start(cli, arguments);
        QVERIFY(exporter.waitForFinished(60'000));
        QCOMPARE(exporter.exitCode(), 0);
        QCOMPARE(readFileBytes(output + u"/faq.html"_s), page);
    }
};

QTEST_GUILESS_MAIN(SaveCrashTest)
#include "tst_savecrash.moc"
