#include "FormTestHelpers.h"
#include "TestDesigns.h"
#include "app/QuickDocumentSettings.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/TextEditorLauncher.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

class DocumentFormsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestProgramFolder> m_program;
    std::unique_ptr<WindowUnderTest> m_ui;

    MApp& app() { return m_ui->app; }
    DocumentInfo& document() { return m_ui->document(); }
    ScriptedDialogs& dialogs() { return m_ui->dialogs; }

    // Opens the settings dialog from the menu, acts in it, and returns when
    // it has closed.
    void inSettings(std::function<void(DocumentDataForm&)> act) {
        whenOpen<DocumentDataForm>(act);
        m_ui->trigger("Document_ProjectMenu");
    }

    // In the open settings dialog: opens the design dialog, acts in it.
    static void inDesigns(DocumentDataForm& settings, std::function<void(DocumentCodeForm&)> act) {
        whenOpen<DocumentCodeForm>(act);
        click(settings, "datainfoButton");
    }

    static QLineEdit& line(QWidget& form, const char* name) { return child<QLineEdit>(form, name); }
    static QString label(QWidget& form, const char* name) {
        return child<QLabel>(form, name).text();
    }
    static QPlainTextEdit& description(QWidget& form) {
        return child<QPlainTextEdit>(form, "DocumentViewEdit");
    }
    static QComboBox& designCombo(QWidget& form) {
        return child<QComboBox>(form, "DocumentCodeCombo");
    }

    std::unique_ptr<DocumentCodeForm> designDialog() {
        return std::make_unique<DocumentCodeForm>(m_ui->project(), dialogs(),
                                                  ProgramFolder(m_program->path()));
    }

private slots:
    void init() {
        startWithEmptySettings();
        m_program = std::make_unique<TestProgramFolder>();
        m_program->addDesign(u"blue"_s, u"青"_s, u"x"_s);
        m_program->addDesign(u"green"_s, u"緑"_s, u"x"_s);
        m_program->addDesign(u"red"_s, u"赤"_s, u"x"_s);
        m_ui = std::make_unique<WindowUnderTest>(m_program->path());
    }

    void cleanup() {
        m_ui->verifyAllAnswered();
        m_ui.reset();
    }

    void settingsShowAndStoreTheDocument() {
        document().DocumentTitle = u"題"_s;
        document().DocumentHomepage.clear();
        document().DocumentDataview = u"一行目\r\n二行目"_s;
        QStringList shown;
        inSettings([&](DocumentDataForm& form) {
            shown << line(form, "PageTitleEdit").text() << line(form, "HomePageEdit").text()
                  << label(form, "DocumentCodeEdit") << description(form).toPlainText();
            line(form, "CreaterEdit").setText(u"作者"_s);
            description(form).setPlainText(u"一\n二\n"_s);
            click(form, "okButton");
        });
        QCOMPARE(shown, (QStringList{u"題"_s, QString(), u"．．．"_s, u"一行目\n二行目"_s}));
        QCOMPARE(document().DocumentCreater, u"作者"_s);
        QCOMPARE(document().DocumentDataview, u"一\r\n二\r\n"_s);
        QCOMPARE(document().DocumentTitle, u"題"_s);
        QVERIFY(app().DataChanged);
        // The preview is closed: nothing is rebuilt.
        QCOMPARE(m_ui->previewReloads(), 0);
    }

    void cancelKeepsEverythingButAConfirmedDesign() {
        app().DocumentViewOpen = true;
        QString labelAfterChoice;
        qsizetype reloadsWhileOpen = -1;
        inSettings([&](DocumentDataForm& form) {
            line(form, "PageTitleEdit").setText(u"typed"_s);
            inDesigns(form, [](DocumentCodeForm& designs) {
                designCombo(designs).setCurrentText(u"緑"_s);
                click(designs, "okButton");
            });
            labelAfterChoice = label(form, "DocumentCodeEdit");
            reloadsWhileOpen = m_ui->previewReloads();
            click(form, "cancelButton");
        });
        QCOMPARE(labelAfterChoice, u"green\\page.ddc"_s);
        QCOMPARE(document().DocumentCode, u"green\\page.ddc"_s);
        QCOMPARE(document().DocumentCodeFolder, u"green"_s);
        QCOMPARE(document().DocumentTitle, QString());
        QVERIFY(app().DataChanged);
        // Rebuilt once, when the settings have closed.
        QCOMPARE(reloadsWhileOpen, 0);
        QCOMPARE(m_ui->previewReloads(), 1);

        // OK without any change still marks the project changed, and the
        // open preview is rebuilt after either button.
        app().DataChanged = false;
        inSettings([](DocumentDataForm& form) { click(form, "okButton"); });
        QVERIFY(app().DataChanged);
        QCOMPARE(m_ui->previewReloads(), 2);
    }

    void settingsRefuseTextTheFileCannotHold() {
        bool stayedOpen = false;
        inSettings([&](DocumentDataForm& form) {
            description(form).setPlainText(u"say \"hi\""_s);
            click(form, "okButton");
            stayedOpen = form.isVisible();
            click(form, "cancelButton");
        });
        QVERIFY(stayedOpen);
        QVERIFY(dialogs().reports.value(0).text.contains(u"説明文"_s));
        QCOMPARE(dialogs().beeps, 1);
        QCOMPARE(document().DocumentDataview, QString());
    }

    void designSelectionPreselectsAndMatchesByName() {
        // No design chosen: the last one listed.
        auto form = designDialog();
        QCOMPARE(designCombo(*form).count(), 3);
        QCOMPARE(designCombo(*form).currentText(), u"赤"_s);
        QCOMPARE(label(*form, "ProData"), u"赤 の説明"_s);

        // The chosen design is preselected. Typed text that names no design:
        // OK stores nothing, but the project counts as changed.
        document().DocumentCode = u"blue\\page.ddc"_s;
        form = designDialog();
        QCOMPARE(designCombo(*form).currentText(), u"青"_s);
        designCombo(*form).setCurrentText(u"紫"_s);
        click(*form, "okButton");
        QCOMPARE(document().DocumentCode, u"blue\\page.ddc"_s);
        QVERIFY(app().DataChanged);

        // Two designs with one name: the later one is shown and chosen.
        m_program->addDesign(u"zz-copy"_s, u"青"_s, u"x"_s);
        m_program->writeText(u"doc_code/zz-copy/procode"_s, u"青\r\npage\r\nもう一つの青\r\n"_s);
        form = designDialog();
        designCombo(*form).setCurrentIndex(0);
        emit designCombo(*form).activated(0);
        QCOMPARE(label(*form, "ProData"), u"もう一つの青"_s);
        click(*form, "okButton");
        QCOMPARE(document().DocumentCodeFolder, u"zz-copy"_s);
        QVERIFY(dialogs().reports.isEmpty());
    }

    void emptyDesignRootOffersNothing() {
        TestProgramFolder empty;
        DocumentCodeForm form(m_ui->project(), dialogs(), ProgramFolder(empty.path()));
        QCOMPARE(designCombo(form).count(), 0);
        QCOMPARE(label(form, "ProData"), DocumentCodeForm::creditText());
        click(form, "okButton");
        QCOMPARE(document().DocumentCode, u"．．．"_s);
        QVERIFY(app().DataChanged);
    }

    void brokenDesignsCloseOnlyTheDesignDialog_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("contents");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("code");
        const QString unreadable = u"デザインファイルが壊れており、読み込むことができません。"_s;
        const QString none = u"．．．"_s;
        // clang-format off
        QTest::newRow("plain file in the design root") << "doc_code/notes.txt" << "x" << false << unreadable << none;
        QTest::newRow("two-line procode preselected") << "doc_code/zz/procode" << "最後\r\npage" << false << u"デザインファイルが壊れている可能性があります。"_s << none;
        QTest::newRow("one-line procode") << "doc_code/a0/procode" << "一行だけ" << false << unreadable << none;
        // A design of the same name listed before the broken one is kept.
        QTest::newRow("design file missing on OK") << "doc_code/zz-red/page.ddc" << "" << true << unreadable << u"red\\page.ddc"_s;
        // clang-format on
    }

    void brokenDesignsCloseOnlyTheDesignDialog() {
        QFETCH(QString, file);
        QFETCH(QString, contents);
        QFETCH(bool, opens);
        QFETCH(QString, message);
        QFETCH(QString, code);
        if (contents.isEmpty()) {
            m_program->addDesign(u"zz-red"_s, u"赤"_s, u"x"_s);
            QVERIFY(QFile::remove(m_program->filePath(file)));
        } else {
            m_program->writeText(file, contents);
        }
        bool settingsStayed = false;
        bool markedChanged = true;
        inSettings([&](DocumentDataForm& form) {
            line(form, "PageTitleEdit").setText(u"typed"_s);
            if (opens)
                inDesigns(form, [](DocumentCodeForm& designs) { click(designs, "okButton"); });
            else
                click(form, "datainfoButton");
            settingsStayed = form.isVisible() && line(form, "PageTitleEdit").text() == u"typed" &&
                             QApplication::activeModalWidget() == &form;
            markedChanged = app().DataChanged;
            click(form, "okButton");
        });
        QVERIFY(settingsStayed);
        QVERIFY(!markedChanged);
        QCOMPARE(dialogs().beeps, 1);
        QCOMPARE(dialogs().reports.value(0), (ScriptedDialogs::Shown{message, u"エラー"_s}));
        QCOMPARE(document().DocumentTitle, u"typed"_s);
        QCOMPARE(document().DocumentCode, code);
        QVERIFY(m_ui->window.isEnabled());
    }

    void previewNeedsCompleteInformation() {
        m_ui->trigger("DocumentView_ProjectMenu");
        QCOMPARE(dialogs().beeps, 1);
        QCOMPARE(dialogs().reports.value(0).text,
                 QStringLiteral("ドキュメントビューを利用するためにはドキュメント情報を設定していな"
                                "ければ利用できません。"));
        QVERIFY(!app().DocumentViewOpen);
    }

    void editorCommandFromTheDesktopEntry() {
        TestProgramFolder folder;
        folder.writeText(u"editor.desktop"_s,
                         QStringLiteral("[Desktop Entry]\nName=Editor\nExec=gedit --new-window %U\n"
                                        "[Desktop Action new]\nExec=gedit --other\n"));
        const QString exec =
            TextEditorLauncher::execOfDesktopEntry(folder.filePath(u"editor.desktop"_s));
        QCOMPARE(exec, u"gedit --new-window %U"_s);
        const QString page = u"/opt/my programs/default/default.html"_s;
        QCOMPARE(TextEditorLauncher::commandFor(exec, page),
                 (QStringList{u"gedit"_s, u"--new-window"_s, page}));
        // Without a field code the file goes last; other field codes go.
        QCOMPARE(TextEditorLauncher::commandFor(u"\"my editor\" %i -x"_s, page),
                 (QStringList{u"my editor"_s, u"-x"_s, page}));
        QVERIFY(TextEditorLauncher::commandFor(QString(), page).isEmpty());
    }

    void quickSettingsFillTheDocumentWithoutMarkingAChange() {
        dialogs().answers << false << true;
        m_ui->trigger("AutoDocument_ProjectMenu");
        QCOMPARE(document().DocumentTitle, QString());
        QCOMPARE(dialogs().questions.value(0),
                 (ScriptedDialogs::Shown{QuickDocumentSettings::confirmation(), QString()}));

        app().DocumentViewOpen = true;
        m_ui->trigger("AutoDocument_ProjectMenu");
        QCOMPARE(document().DocumentCode, u"blue\\page.ddc"_s);
        QVERIFY(document().isCompleteForPage());
        QVERIFY(!app().DataChanged);
        QCOMPARE(m_ui->previewReloads(), 0);
    }
};

QTEST_MAIN(DocumentFormsTest)
#include "tst_documentforms.moc"
