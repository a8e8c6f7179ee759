#include "FileSizeLimit.h"
#include "FormTestHelpers.h"
#include "TestDesigns.h"
#include "app/ExportFolders.h"
#include "app/FileCommands.h"
#include "app/ProjectLock.h"
#include "app/RecentFiles.h"
#include "design/HtmlExporter.h"
#include "forms/DocumentCodeForm.h"
#include "forms/JapaneseTranslation.h"
#include "forms/WidgetDialogs.h"
#include "project/BwkWriter.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The file menu's commands as the user runs them, in the main window with
// scripted answers: new, open, save, close, the recent files and the export.
class FileCommandsTest : public QObject {
    Q_OBJECT

private:
    std::optional<QTemporaryDir> m_dir;
    std::unique_ptr<WindowUnderTest> ui;

    QString path(const QString& name) const { return m_dir->filePath(name); }

private slots:
    void init() {
        m_dir.emplace();
        ui = WindowUnderTest::openFresh();
    }

    void cleanup() { WindowUnderTest::closeAnswered(ui); }

    void saveAsAddsTheExtensionUnlessTheNameHoldsIt_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("caption");
        // clang-format off
        QTest::newRow("plain name") << "faq" << "faq.bwk" << "faq - Brindlewick Ver1.2";
        QTest::newRow("with extension") << "faq.bwk" << "faq.bwk" << "faq.bwk - Brindlewick Ver1.2";
        QTest::newRow("from Windows") << "FAQ.BWK" << "FAQ.BWK" << "FAQ.BWK - Brindlewick Ver1.2";
        QTest::newRow("inside the name") << "notes.bwk.txt" << "notes.bwk.txt" << "notes.bwk.txt - Brindlewick Ver1.2";
        // Qt would take the name's own [*] for the unsaved mark.
        QTest::newRow("mark in the name") << "a[*]b" << "a[*]b.bwk" << "a[*]b - Brindlewick Ver1.2";
        // clang-format on
    }

    // Saved without a question, unmarked, and first among the recent files.
    void saveAsAddsTheExtensionUnlessTheNameHoldsIt() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(QString, caption);
        ui->setDataChanged(true);
        ui->dialogs.files << path(typed);
        ui->trigger("FileSave_FileName");
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(ui->filePath(), path(written));
        QCOMPARE(ui->shownTitle(), caption);
        QCOMPARE(ui->dialogs.shown, QStringList{u"B.W.Kファイル (*.bwk)"_s});
        QCOMPARE(RecentFiles::paths(), QStringList{path(written)});
    }

    // The real dialogs, in Japanese as at start: No to the question leaves
    // the user in the file dialog, Yes replaces the file.
    void saveAsReplacesAFileOnlyWhenAskedTo() {
        QVERIFY(JapaneseTranslation::install(*qApp));
        const QString target = path(u"faq.bwk"_s);
        WidgetDialogs real(&ui->window);
        for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
            writeFileBytes(target, "old");
            QStringList seen;
            QTimer::singleShot(0, [&] {
                auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(files);
                QTimer::singleShot(0, [&] {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    QVERIFY(box);
                    seen << box->text() << box->button(QMessageBox::No)->text();
                    box->button(button)->click();
                    if (files->isVisible())
                        files->reject();
                });
                files->selectFile(path(u"faq"_s));
                QMetaObject::invokeMethod(files, "accept");
            });
            ProjectLock lock(path(u"open"_s));
            const bool replaced = FileCommands(ui->project(), ui->window.projectHistory(), lock,
                                               real, ProgramFolder(builtProgramFolder()))
                                      .saveAs();
            QCOMPARE(replaced, button == QMessageBox::Yes);
            QCOMPARE(seen, (QStringList{u"faq.bwk は既に存在します。\n置き換えますか?"_s,
                                        u"いいえ(&N)"_s}));
            QCOMPARE(readPage(target) == u"old", !replaced);
        }
    }

    void failedSaveKeepsTheProjectChanged() {
        QVERIFY(BwkWriter::writeFile(path(u"full.bwk"_s), {}, {}));
        ui->window.openAtStart(path(u"full.bwk"_s));
        ui->project().appendEntry({u"Q"_s, QString(8192, u'x'), 1});
        {
            const FileSizeLimit fullAfter(1024);
            ui->trigger("FileUpSave_FileMenu");
        }
        QCOMPARE(ui->shownTitle(), u"full.bwk* - Brindlewick Ver1.2"_s);
        QCOMPARE(readFileBytes(path(u"full.bwk"_s)), BwkWriter::encode({}, {}).value());
        QVERIFY(ui->dialogs.reports.value(0).text.startsWith(u"保存できませんでした。\n\n"_s));
        QCOMPARE(ui->dialogs.reports.value(0).title, u"B.W.K"_s);
    }

    void failedOpenKeepsTheProject_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("atStart");
        QTest::newRow("damaged") << "damaged.bwk" << false;
        QTest::newRow("missing") << "missing.bwk" << false;
        QTest::newRow("damaged, named at start") << "damaged.bwk" << true;
    }

    // The project, its file, its history and its unsaved mark all stay.
    void failedOpenKeepsTheProject() {
        QFETCH(QString, name);
        QFETCH(bool, atStart);
        writeFileBytes(path(u"damaged.bwk"_s), "title\r\nonly two lines\r\n");
        ui->dialogs.files << path(u"old"_s);
        ui->trigger("FileSave_FileName");
        ui->project().appendEntry(entry(u"kept"_s));
        const Project before = ui->project().project();
        ui->dialogs.answers << true;
        if (atStart) {
            ui->window.openAtStart(path(name));
        } else {
            ui->dialogs.files << path(name);
            ui->trigger("FileOpen_FileMenu");
        }
        QCOMPARE(ui->dialogs.beeps, 1);
        QCOMPARE(ui->dialogs.reports.size(), 1);
        QVERIFY(ui->dialogs.reports[0].text.startsWith(u"bwkファイルが壊れています。\n\n"_s));
        QCOMPARE(ui->dialogs.reports[0].title, u"エラー"_s);
        QCOMPARE(ui->project().project(), before);
        QCOMPARE(ui->filePath(), path(u"old.bwk"_s));
        QCOMPARE(ui->shownTitle(), u"old* - Brindlewick Ver1.2"_s);
        QCOMPARE(ui->historyItems(), QStringList{u"元に戻す: 追加"_s});
    }

    // Saving keeps the history; back at the saved step the project counts
    // as saved again.
    void savingKeepsTheHistoryAndMarksTheSavedStep() {
        QVERIFY(ui->historyItems().isEmpty());
        ui->project().appendEntry(entry(u"x"_s));
        ui->dialogs.files << path(u"faq"_s);
        ui->trigger("FileSave_FileName");
        ui->project().appendEntry(entry(u"y"_s));
        ui->trigger("FileUpSave_FileMenu");
        ui->project().appendEntry(entry(u"z"_s));
        QStringList files;
        for (const char* action : {"undo_QACommand", "undo_QACommand", "undo_QACommand",
                                   "redo_QACommand", "redo_QACommand", "redo_QACommand"}) {
            ui->trigger(action);
            files << ui->shownTitle().chopped(u" - Brindlewick Ver1.2"_s.size());
        }
        QCOMPARE(files,
                 (QStringList{u"faq"_s, u"faq*"_s, u"faq*"_s, u"faq*"_s, u"faq"_s, u"faq*"_s}));
        for (int step = 0; step < 100; ++step)
            ui->project().appendEntry(entry(u"w"_s));
        for (int step = 0; step < 100; ++step)
            ui->trigger("undo_QACommand");
        QCOMPARE(ui->rows(), u"xy[z]"_s);
    }

    // A spreadsheet's entries come in as one step, after the table's entries
    // or in their place; a file that cannot be read changes nothing.
    void csvImportAddsOrReplacesInOneStep() {
        ui->project().appendEntry(entry(u"a"_s));
        ui->project().appendEntry(entry(u"b"_s));
        const QString csv = path(u"faq.csv"_s);
        QVERIFY(FileWriter::writeWhole(
            csv, u"質問,回答,有効\r\nx,\"1\r\n2\",1\r\ny,3,0\r\n"_s.toUtf8()));
        ui->dialogs.files << csv;
        ui->dialogs.choices << 0;
        ui->trigger("CsvImport_FileMenu");
        QCOMPARE(ui->rows(), u"ab[x]y"_s);
        QCOMPARE(ui->project().entries().item(3).answer, u"1\r\n2"_s);
        QCOMPARE(ui->project().entries().item(4).icon, QAEntry::kDisabledIcon);
        QCOMPARE(ui->historyItems().first(), u"元に戻す: CSVから読み込み"_s);
        ui->trigger("undo_QACommand");
        QCOMPARE(ui->project().entries().count(), 2);

        ui->dialogs.files << csv << csv;
        ui->dialogs.choices << 2 << 1;
        ui->trigger("CsvImport_FileMenu");
        QCOMPARE(ui->project().entries().count(), 2);
        ui->trigger("CsvImport_FileMenu");
        QCOMPARE(ui->rows(), u"[x]y"_s);

        const QString broken = path(u"broken.csv"_s);
        QVERIFY(FileWriter::writeWhole(broken, "question,answer\r\nc,\"open\r\n"));
        ui->dialogs.files << broken;
        ui->dialogs.choices << 0;
        ui->trigger("CsvImport_FileMenu");
        QCOMPARE(ui->rows(), u"[x]y"_s);
        QVERIFY2(ui->dialogs.reports.last().text.contains(u"2行目"_s),
                 qPrintable(ui->dialogs.reports.last().text));
    }

    // What the export writes, the import reads back as it was.
    void csvExportIsReadBackExactly() {
        ui->project().appendEntry(
            {u"カンマ, と \"引用符\""_s, u"一行目\r\n二行目"_s, QAEntry::kEnabledIcon});
        ui->project().appendEntry({u"〜 0123"_s, u" 空白 "_s, QAEntry::kDisabledIcon});
        const QAEntryTable written = ui->project().entries();
        ui->dialogs.files << path(u"out"_s);
        ui->trigger("CsvExport_FileMenu");
        const QByteArray bytes = TextFile::readRegularFileBytes(path(u"out.csv"_s)).value();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF\xE8\xB3\xAA\xE5\x95\x8F,"));
        ui->dialogs.files << path(u"out.csv"_s);
        ui->dialogs.choices << 1;
        ui->trigger("CsvImport_FileMenu");
        QCOMPARE(ui->project().entries(), written);
        // For spreadsheets that read only code page 932.
        ui->dialogs.files << path(u"sjis.csv"_s);
        ui->dialogs.fileTypes << u"CSVファイル Shift_JIS (*.csv)"_s;
        ui->trigger("CsvExport_FileMenu");
        QVERIFY(
            TextFile::readRegularFileBytes(path(u"sjis.csv"_s))->startsWith("\x8E\xBF\x96\xE2,"));
    }

    // A project started anew or read begins its own history, and the open
    // preview shows it.
    void newAndOpenedProjectsStartTheirOwnHistory() {
        ui->setRows(u"xy"_s);
        ui->dialogs.files << path(u"faq"_s);
        ui->trigger("FileSave_FileName");
        ExportFolders::remember(path(u"faq.bwk"_s), path(u"site"_s));
        ui->window.openAtStart(path(u"faq.bwk"_s));
        ui->project().appendEntry(entry(u"z"_s));
        ui->previewOutdated.clear();
        ui->dialogs.answers << true;
        ui->trigger("NewData_FileMenu");
        QCOMPARE(ui->shownTitle(), u"Brindlewick Ver1.2"_s);
        QCOMPARE(ui->project().project(), (Project{DocumentInfo::forNewProject(), {}}));
        QCOMPARE(ui->document().DocumentHomepage, QString());
        QVERIFY(ui->window.fileCommands().exports().lastFolder().isEmpty());
        QCOMPARE(ui->previewReloads(), 1);
        QVERIFY(ui->historyItems().isEmpty());
        // Without a file yet, the overwrite save asks for a name instead of
        // overwriting the previous project's file.
        ui->project().appendEntry(entry(u"新しい質問"_s));
        QCOMPARE(ui->shownTitle(), u"Brindlewick Ver1.2*"_s);
        ui->dialogs.files << path(u"fresh"_s);
        ui->trigger("FileUpSave_FileMenu");
        QCOMPARE(ui->shownTitle(), u"fresh - Brindlewick Ver1.2"_s);
        QVERIFY(!readPage(path(u"faq.bwk"_s)).contains(u"新しい質問"_s));
        // The new project was written: its title and homepage are empty.
        QVERIFY(readPage(path(u"fresh.bwk"_s)).startsWith(u"\r\n\r\n"_s));

        // Unchanged, nothing is asked. Typed without the extension: the
        // name with ".bwk" is opened.
        ui->dialogs.files << path(u"faq"_s);
        ui->trigger("FileOpen_FileMenu");
        QCOMPARE(ui->shownTitle(), u"faq - Brindlewick Ver1.2"_s);
        QCOMPARE(ui->filePath(), path(u"faq.bwk"_s));
        QCOMPARE(ui->rows(), u"[x]y"_s);
        QCOMPARE(ui->previewReloads(), 3);
        QVERIFY(ui->historyItems().isEmpty());

        // A name from Windows opens as itself; cancelled, nothing changes.
        ui->project().appendEntry(entry(u"w"_s));
        QVERIFY(QFile::copy(path(u"faq.bwk"_s), path(u"TWO.BWK"_s)));
        ui->dialogs.answers << true;
        ui->dialogs.files << path(u"TWO.BWK"_s) << QString();
        ui->trigger("FileOpen_FileMenu");
        ui->trigger("FileOpen_FileMenu");
        QCOMPARE(ui->filePath(), path(u"TWO.BWK"_s));
        QCOMPARE(ui->previewReloads(), 5);
        QCOMPARE(RecentFiles::paths(),
                 (QStringList{path(u"TWO.BWK"_s), path(u"faq.bwk"_s), path(u"fresh.bwk"_s)}));
    }

    // Another program's change is overwritten only when the user says so; a
    // file written again with the same bytes is no change.
    void savesNoticeAnotherProgramsChange() {
        const QString file = path(u"shop.bwk"_s);
        QVERIFY(BwkWriter::writeFile(file, {}, {}));
        ui->window.openAtStart(file);
        ui->project().appendEntry(entry(u"mine"_s));
        writeFileBytes(file, readFileBytes(file));
        ui->trigger("FileUpSave_FileMenu");
        QVERIFY(ui->dialogs.questions.isEmpty());

        writeFileBytes(file, "theirs");
        ui->project().appendEntry(entry(u"more"_s));
        ui->dialogs.answers << false << true;
        ui->trigger("FileUpSave_FileMenu");
        QCOMPARE(
            ui->dialogs.questions.value(0),
            (ScriptedDialogs::Shown{
                u"「shop.bwk」は、開いた後にほかのプログラムで変更されています。上書きしますか？"_s,
                u"B.W.K"_s, UserDialogs::Preselected::No}));
        QCOMPARE(readFileBytes(file), QByteArray("theirs"));
        QVERIFY(ui->dataChanged());
        // Saving under the open file's own name asks the same.
        ui->dialogs.files << file;
        ui->trigger("FileSave_FileName");
        QCOMPARE(ui->dialogs.questions.size(), 2);
        QVERIFY(!ui->dataChanged());
        QVERIFY(readFileBytes(file).contains("more"));
    }

    // The file is marked open for as long as a window of the program runs:
    // a second window is asked first, and the mark of one that has ended
    // counts for nothing.
    void aSecondWindowIsToldTheFileIsOpen() {
        const QString file = path(u"shared.bwk"_s);
        QVERIFY(BwkWriter::writeFile(file, {}, {}));
        QVERIFY(QDir().mkpath(path(u"run"_s)));
        QFile::setPermissions(path(u"run"_s),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"XDG_RUNTIME_DIR", "XDG_STATE_HOME", "XDG_CONFIG_HOME"})
            environment.insert(QString::fromLatin1(variable), path(u"run"_s));
        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(QStringLiteral(BRINDLEWICK_BUILD_DIR "/brindlewick"), {file});
        const QString marks = path(u"run/brindlewick/open"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(marks).entryList({u"*.lock"_s}).isEmpty(), 20000);

        WindowUnderTest second(builtProgramFolder(), {path(u"recovery"_s), marks});
        second.dialogs.answers << false;
        second.window.openAtStart(file);
        QCOMPARE(second.dialogs.questions.value(0),
                 (ScriptedDialogs::Shown{
                     u"「shared.bwk」は、別のウィンドウで開かれています。開きますか？"_s,
                     u"B.W.K"_s, UserDialogs::Preselected::No}));
        QVERIFY(second.filePath().isEmpty());
        first.kill();
        QVERIFY(first.waitForFinished());
        second.window.openAtStart(file);
        QCOMPARE(second.filePath(), file);
        QVERIFY(second.dialogs.allAnswered());
    }

    void closingAsksToSaveUnsavedChanges_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("closes");
        QTest::newRow("unchanged") << false << QList<bool>{} << u"none"_s << true;
        QTest::newRow("no") << true << QList<bool>{false} << u"none"_s << true;
        QTest::newRow("save cancelled") << true << QList<bool>{true} << QString() << false;
        QTest::newRow("saved") << true << QList<bool>{true} << u"kept"_s << true;
    }

    void closingAsksToSaveUnsavedChanges() {
        QFETCH(bool, changed);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, file);
        QFETCH(bool, closes);
        ui->setDataChanged(changed);
        ui->dialogs.answers = answers;
        if (file != u"none")
            ui->dialogs.files << (file.isEmpty() ? file : path(file));
        QCOMPARE(ui->window.close(), closes);
        const bool saved = QFile::exists(path(u"kept.bwk"_s));
        QCOMPARE(saved, file == u"kept");
        QCOMPARE(ui->dataChanged(), changed && !saved);
        QCOMPARE(ui->dialogs.questions.value(0).text,
                 changed ? u"まだ、保存されていない情報がありますが保存しますか？"_s : QString());
    }

    void filesOpenFromTheCommandLineAndTheRecentList() {
        QVERIFY(BwkWriter::writeFile(path(u"shop.bwk"_s), {}, {}));
        ui->window.openAtStart(path(u"shop.bwk"_s));
        QCOMPARE(ui->shownTitle(), u"shop.bwk - Brindlewick Ver1.2"_s);
        for (int i = 1; i <= 9; ++i)
            RecentFiles::add(path(u"%1.bwk"_s.arg(i)));
        auto& recent = child<QMenu>(ui->window, "RecentFiles_FileMenu");
        emit recent.aboutToShow();
        QCOMPARE(recent.actions().size(), RecentFiles::kLimit + 2);
        QCOMPARE(recent.actions().first()->text(), u"&1 9.bwk (%1)"_s.arg(m_dir->path()));
        // One that has gone is reported and dropped.
        recent.actions().first()->trigger();
        QVERIFY(ui->dialogs.reports.value(0).text.startsWith(u"bwkファイルが壊れています。"_s));
        QVERIFY(!RecentFiles::paths().contains(path(u"9.bwk"_s)));
        QCOMPARE(ui->shownTitle(), u"shop.bwk - Brindlewick Ver1.2"_s);
        child<QAction>(recent, "ClearRecentFiles").trigger();
        QVERIFY(!recent.isEnabled());
    }

    void exportAsksForAFolderOnlyForACompleteDocument() {
        ui->trigger("html_FileMenu");
        QCOMPARE(ui->dialogs.beeps, 1);
        QCOMPARE(ui->dialogs.reports.value(0),
                 (ScriptedDialogs::Shown{
                     u"ドキュメント情報が詳細に定義されていないためhtml出力ができません。\n"
                     u"ドキュメント設定で次の項目を設定してください：ページタイトル、作者名、"
                     u"メールアドレス、デザイン、説明文"_s,
                     u"B.W.K"_s}));

        ui->dialogs.answers << true;
        ui->trigger("AutoDocument_ProjectMenu");
        ui->setRows(u"q"_s);
        const QString output = path(u"faq"_s);
        ui->dialogs.files << output << QString() << output << output;
        ui->trigger("FileSave_FileName");
        ui->trigger("html_FileMenu");
        QCOMPARE(ui->dialogs.shown.last(), u"B.W.K.Folder"_s);
        QCOMPARE(ui->dialogs.reports.size(), 1);
        ui->trigger("html_FileMenu");
        QCOMPARE(ui->dialogs.reports.last().text, u"htmlファイルを書き出しました。"_s);
        QVERIFY(QFile::exists(output + u"/faq.html"_s));
        QVERIFY(!ui->dataChanged());
        // An existing folder is refused.
        ui->trigger("html_FileMenu");
        QVERIFY(ui->dialogs.reports.last().text.startsWith(u"html出力ができませんでした。\n\n"_s));
        // A copy saved under another name was exported there too.
        ui->dialogs.files << path(u"copy"_s);
        ui->trigger("FileSave_FileName");
        QCOMPARE(ExportFolders::lastFor(path(u"copy.bwk"_s)), output);

        // The folder is known again for the project's file, and exported
        // into again in one step.
        ui->verifyAllAnswered();
        ui = WindowUnderTest::open();
        QVERIFY(!ui->enabled("htmlAgain_FileMenu"));
        ui->dialogs.files << path(u"faq.bwk"_s);
        ui->trigger("FileOpen_FileMenu");
        ui->project().appendEntry(entry(u"再出力"_s));
        ui->activate();
        QTest::keyClick(&ui->table(), Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(ui->dialogs.reports.value(0).text, HtmlExporter::doneMessage());
        QVERIFY(readPage(output + u"/faq.html"_s).contains(u"再出力"_s));

        // A page that cannot be made leaves the published one alone.
        DocumentInfo broken = ui->document();
        broken.DocumentCode = u"standard\\gone.ddc"_s;
        ui->project().setDocument(broken);
        ui->project().removeEntry(2);
        ui->trigger("htmlAgain_FileMenu");
        QCOMPARE(ui->dialogs.beeps, 2);
        QVERIFY(ui->dialogs.reports.value(1).text.contains(u"gone.ddc"_s));
        QVERIFY(readPage(output + u"/faq.html"_s).contains(u"再出力"_s));
        QVERIFY(QDir(output).removeRecursively());
        emit child<QMenu>(ui->window, "FileMenu").aboutToShow();
        QVERIFY(!ui->enabled("htmlAgain_FileMenu"));
    }

    void pipesAndHugeFilesAreRefusedAtOnce_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("pipe") << "pipe.bwk" << "」は通常のファイルではありません";
        QTest::newRow("past the limit") << "huge.bwk" << "」は大きすぎて読み込めません";
        // clang-format on
    }

    // Nothing waits for a writer or reads without end; the project stays.
    void pipesAndHugeFilesAreRefusedAtOnce() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QCOMPARE(::mkfifo(QFile::encodeName(path(u"pipe.bwk"_s)).constData(), 0600), 0);
        QFile huge(path(u"huge.bwk"_s));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(TextFile::kSizeLimit + 1));
        ui->setRows(u"a[b]"_s);
        ui->window.openAtStart(path(name));
        QCOMPARE(ui->dialogs.beeps, 1);
        const ScriptedDialogs::Shown shown = ui->dialogs.reports.value(0);
        QVERIFY(shown.text.startsWith(u"bwkファイルが壊れています。\n\n"_s));
        QVERIFY2(shown.text.contains(path(name) + reason), qPrintable(shown.text));
        QCOMPARE(shown.title, u"エラー"_s);
        QCOMPARE(ui->rows(), u"a[b]"_s);
        QCOMPARE(ui->shownTitle(), u"Brindlewick Ver1.2"_s);
    }

    // Opened as it is, and said once, on the line where it happens first.
    void bytesThatAreNotCodePage932AreReportedOnce() {
        const QString file = path(u"sjis.bwk"_s);
        writeFileBytes(file, "T\r\nH\r\nM\r\nC\r\nx\x80y\r\nf\r\n\"d\x80\"\r\n");
        ui->dialogs.files << file;
        ui->trigger("FileOpen_FileMenu");
        QCOMPARE(ui->filePath(), file);
        QCOMPARE(ui->document().DocumentCode, u"x\uFFFDy"_s);
        QCOMPARE(ui->dialogs.beeps, 1);
        const QString message =
            u"「%1」の5行目に、Shift_JISとして読めない文字があります。読めない文字は「\uFFFD」に置き換えて開きました。"_s;
        QCOMPARE(ui->dialogs.reports,
                 (QList<ScriptedDialogs::Shown>{{message.arg(file), u"B.W.K"_s}}));
    }

    // The design dialog checks the chosen design's file without waiting
    // for a writer.
    void designFileThatIsAPipeIsRefusedAtOnce() {
        TestProgramFolder program;
        program.addDesign(u"piped"_s, u"管"_s, QString());
        const QByteArray designFile =
            QFile::encodeName(program.filePath(u"doc_code/piped/page.ddc"_s));
        QVERIFY(::unlink(designFile.constData()) == 0 &&
                ::mkfifo(designFile.constData(), 0600) == 0);
        DocumentCodeForm dialog(ui->project(), ui->dialogs, ProgramFolder(program.path()));
        click(dialog, "okButton");
        QCOMPARE(ui->dialogs.reports.value(0).text,
                 u"デザインファイルが壊れており、読み込むことができません。"_s);
        QCOMPARE(ui->document().DocumentCode, u"．．．"_s);
    }
};

QTEST_MAIN(FileCommandsTest)
#include "tst_filecommands.moc"
