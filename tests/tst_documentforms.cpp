#include "FormTestHelpers.h"
#include "ScriptedDialogs.h"
#include "TestDesigns.h"
#include "app/MApp.h"
#include "app/QuickDocumentSettings.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/MainForm.h"
#include "forms/PreviewReloader.h"
#include "forms/TextEditorLauncher.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

class DocumentFormsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestProgramFolder> m_program;
    std::unique_ptr<WindowUnderTest> m_ui;

    MApp& app() { return m_ui->app; }
    ScriptedDialogs& dialogs() { return m_ui->dialogs; }

    // Opens the settings dialog from the menu, acts in it, and returns when
    // it has closed.
    void inSettings(std::function<void(DocumentDataForm&)> act) {
        whenOpen<DocumentDataForm>(act);
        m_ui->window.Document_ProjectMenu->trigger();
    }

    // In the open settings dialog: opens the design dialog, acts in it.
    static void inDesigns(DocumentDataForm& settings, std::function<void(DocumentCodeForm&)> act) {
        whenOpen<DocumentCodeForm>(act);
        settings.datainfoButton->click();
    }

private slots:
    void init() {
        m_program = std::make_unique<TestProgramFolder>();
        m_program->addDesign(QStringLiteral("blue"), QStringLiteral("青"), QStringLiteral("x"));
        m_program->addDesign(QStringLiteral("green"), QStringLiteral("緑"), QStringLiteral("x"));
        m_program->addDesign(QStringLiteral("red"), QStringLiteral("赤"), QStringLiteral("x"));
        m_ui = std::make_unique<WindowUnderTest>(m_program->path());
    }

    void cleanup() {
        m_ui->verifyAllAnswered();
        m_ui.reset();
    }

    void settingsLoadAndStore() {
        app().DocumentTitle = QStringLiteral("題");
        app().DocumentHomepage.clear();
        app().DocumentDataview = QStringLiteral("一行目\r\n二行目");
        QString shownHomepage;
        QString shownDesign;
        inSettings([&](DocumentDataForm& form) {
            shownHomepage = form.HomePageEdit->text();
            shownDesign = form.DocumentCodeEdit->text();
            QCOMPARE(form.PageTitleEdit->text(), QStringLiteral("題"));
            QCOMPARE(form.DocumentViewEdit->toPlainText(), QStringLiteral("一行目\n二行目"));
            form.CreaterEdit->setText(QStringLiteral("作者"));
            form.DocumentViewEdit->setPlainText(QStringLiteral("一\n二\n"));
            form.okButton->click();
        });
        QCOMPARE(shownHomepage, QString());
        QCOMPARE(shownDesign, QStringLiteral("．．．"));
        QCOMPARE(app().DocumentCreater, QStringLiteral("作者"));
        QCOMPARE(app().DocumentDataview, QStringLiteral("一\r\n二\r\n"));
        QCOMPARE(app().DocumentTitle, QStringLiteral("題"));
        QVERIFY(app().DataChanged);
        // The preview is closed: nothing is rebuilt.
        QCOMPARE(m_ui->preview.reloads, 0);
    }

    void cancelKeepsEverythingButAConfirmedDesign() {
        app().DocumentViewOpen = true;
        QString labelAfterChoice;
        inSettings([&](DocumentDataForm& form) {
            form.PageTitleEdit->setText(QStringLiteral("typed"));
            inDesigns(form, [](DocumentCodeForm& designs) {
                designs.DocumentCodeCombo->setCurrentText(QStringLiteral("緑"));
                designs.okButton->click();
            });
            labelAfterChoice = form.DocumentCodeEdit->text();
            form.cancelButton->click();
        });
        QCOMPARE(labelAfterChoice, QStringLiteral("green\\page.ddc"));
        QCOMPARE(app().DocumentCode, QStringLiteral("green\\page.ddc"));
        QCOMPARE(app().DocumentCodeFolder, QStringLiteral("green"));
        QCOMPARE(app().DocumentTitle, QString());
        QVERIFY(app().DataChanged);
        QCOMPARE(m_ui->preview.reloads, 1);

        // OK without any change still marks the project changed, and the
        // open preview is rebuilt after either button.
        app().DataChanged = false;
        inSettings([](DocumentDataForm& form) { form.okButton->click(); });
        QVERIFY(app().DataChanged);
        QCOMPARE(m_ui->preview.reloads, 2);
    }

    void settingsRefuseTextTheFileCannotHold() {
        bool stayedOpen = false;
        inSettings([&](DocumentDataForm& form) {
            form.DocumentViewEdit->setPlainText(QStringLiteral("say \"hi\""));
            form.okButton->click();
            stayedOpen = form.isVisible();
            form.cancelButton->click();
        });
        QVERIFY(stayedOpen);
        QVERIFY(dialogs().reports.value(0).text.contains(QStringLiteral("説明文")));
        QCOMPARE(app().DocumentDataview, QString());
    }

    void designSelectionPreselectsAndMatchesByName() {
        // No design chosen: the last one listed.
        {
            DocumentCodeForm form(app(), dialogs(), ProgramFolder(m_program->path()));
            QCOMPARE(form.DocumentCodeCombo->count(), 3);
            QCOMPARE(form.DocumentCodeCombo->currentText(), QStringLiteral("赤"));
            QCOMPARE(form.ProData->text(), QStringLiteral("赤 の説明"));
        }
        // The chosen design is preselected.
        app().DocumentCode = QStringLiteral("blue\\page.ddc");
        {
            DocumentCodeForm form(app(), dialogs(), ProgramFolder(m_program->path()));
            QCOMPARE(form.DocumentCodeCombo->currentText(), QStringLiteral("青"));
            // Typed text that names no design: OK stores nothing, but the
            // project counts as changed.
            form.DocumentCodeCombo->setCurrentText(QStringLiteral("紫"));
            form.okButton->click();
            QCOMPARE(app().DocumentCode, QStringLiteral("blue\\page.ddc"));
            QVERIFY(app().DataChanged);
        }
        // Two designs with one name: the later one is shown and chosen.
        m_program->addDesign(QStringLiteral("zz-copy"), QStringLiteral("青"), QStringLiteral("x"));
        m_program->writeText(QStringLiteral("doc_code/zz-copy/procode"),
                             QStringLiteral("青\r\npage\r\nもう一つの青\r\n"));
        {
            DocumentCodeForm form(app(), dialogs(), ProgramFolder(m_program->path()));
            form.DocumentCodeCombo->setCurrentIndex(0);
            QMetaObject::invokeMethod(form.DocumentCodeCombo, "activated", Q_ARG(int, 0));
            QCOMPARE(form.ProData->text(), QStringLiteral("もう一つの青"));
            form.okButton->click();
            QCOMPARE(app().DocumentCodeFolder, QStringLiteral("zz-copy"));
        }
        QVERIFY(dialogs().reports.isEmpty());
    }

    void emptyDesignRoot() {
        TestProgramFolder empty;
        DocumentCodeForm form(app(), dialogs(), ProgramFolder(empty.path()));
        QCOMPARE(form.DocumentCodeCombo->count(), 0);
        QCOMPARE(form.ProData->text(), DocumentCodeForm::creditText());
        form.okButton->click();
        QCOMPARE(app().DocumentCode, QStringLiteral("．．．"));
        QVERIFY(app().DataChanged);
    }

    void brokenDesignsCloseOnlyTheDesignDialog_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("contents");
        QTest::addColumn<QString>("message");
        QTest::newRow("plain file in the design root")
            << "doc_code/notes.txt"
            << "x"
            << "デザインファイルが壊れており、読み込むことができません。";
        QTest::newRow("two-line procode preselected")
            << "doc_code/zz/procode"
            << "最後\r\npage"
            << "デザインファイルが壊れている可能性があります。";
        QTest::newRow("one-line procode")
            << "doc_code/a0/procode"
            << "一行だけ"
            << "デザインファイルが壊れており、読み込むことができません。";
    }

    void brokenDesignsCloseOnlyTheDesignDialog() {
        QFETCH(QString, file);
        QFETCH(QString, contents);
        QFETCH(QString, message);
        m_program->writeText(file, contents);
        bool settingsStayed = false;
        inSettings([&](DocumentDataForm& form) {
            form.PageTitleEdit->setText(QStringLiteral("typed"));
            form.datainfoButton->click();
            settingsStayed = form.isVisible() && form.PageTitleEdit->text() == u"typed" &&
                             QApplication::activeModalWidget() == &form;
            form.okButton->click();
        });
        QVERIFY(settingsStayed);
        QCOMPARE(dialogs().beeps, 1);
        QCOMPARE(dialogs().reports.value(0),
                 (ScriptedDialogs::Shown{message, QStringLiteral("エラー")}));
        QCOMPARE(app().DocumentTitle, QStringLiteral("typed"));
        QVERIFY(m_ui->window.isEnabled());
    }

    void missingDesignFileFailsOnConfirm() {
        QVERIFY(QFile::remove(m_program->filePath(QStringLiteral("doc_code/green/page.ddc"))));
        app().DocumentCode = QStringLiteral("blue\\page.ddc");
        DocumentCodeForm form(app(), dialogs(), ProgramFolder(m_program->path()));
        QVERIFY(!form.failed());
        form.DocumentCodeCombo->setCurrentText(QStringLiteral("緑"));
        form.okButton->click();
        QVERIFY(form.failed());
        QCOMPARE(dialogs().reports.value(0).text,
                 QStringLiteral("デザインファイルが壊れており、読み込むことができません。"));
        QCOMPARE(app().DocumentCode, QStringLiteral("blue\\page.ddc"));
        QVERIFY(!app().DataChanged);
    }

    void previewNeedsCompleteInformation() {
        m_ui->window.DocumentView_ProjectMenu->trigger();
        QCOMPARE(dialogs().beeps, 1);
        QCOMPARE(dialogs().reports.value(0).text,
                 QStringLiteral("ドキュメントビューを利用するためにはドキュメント情報を設定していな"
                                "ければ利用できません。"));
        QVERIFY(!app().DocumentViewOpen);
    }

    void editorCommandFromTheDesktopEntry() {
        TestProgramFolder folder;
        folder.writeText(QStringLiteral("editor.desktop"),
                         QStringLiteral("[Desktop Entry]\nName=Editor\nExec=gedit --new-window %U\n"
                                        "[Desktop Action new]\nExec=gedit --other\n"));
        const QString exec = TextEditorLauncher::execOfDesktopEntry(
            folder.filePath(QStringLiteral("editor.desktop")));
        QCOMPARE(exec, QStringLiteral("gedit --new-window %U"));
        const QString page = QStringLiteral("/opt/my programs/default/default.html");
        QCOMPARE(TextEditorLauncher::commandFor(exec, page),
                 (QStringList{QStringLiteral("gedit"), QStringLiteral("--new-window"), page}));
        // Without a field code the file goes last; other field codes go.
        QCOMPARE(TextEditorLauncher::commandFor(QStringLiteral("\"my editor\" %i -x"), page),
                 (QStringList{QStringLiteral("my editor"), QStringLiteral("-x"), page}));
        QVERIFY(TextEditorLauncher::commandFor(QString(), page).isEmpty());
    }

    void quickSettingsFromTheMenu() {
        dialogs().answer(false);
        m_ui->window.AutoDocument_ProjectMenu->trigger();
        QCOMPARE(app().DocumentTitle, QString());
        QCOMPARE(dialogs().questions.value(0).text, QuickDocumentSettings::confirmation());
        QCOMPARE(dialogs().questions.value(0).title, QString());

        dialogs().answer(true);
        app().DocumentViewOpen = true;
        m_ui->window.AutoDocument_ProjectMenu->trigger();
        QCOMPARE(app().DocumentCode, QStringLiteral("blue\\page.ddc"));
        QVERIFY(app().isCompleteForPage());
        QVERIFY(!app().DataChanged);
        QCOMPARE(m_ui->preview.reloads, 0);
    }
};

QTEST_MAIN(DocumentFormsTest)
#include "tst_documentforms.moc"
