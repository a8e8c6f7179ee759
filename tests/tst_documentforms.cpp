#include "FormTestHelpers.h"
#include "TestDesigns.h"
#include "app/QuickDocumentSettings.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/DocumentViewForm.h"

#include <QComboBox>
#include <QLabel>

using namespace Qt::StringLiterals;

class DocumentFormsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestProgramFolder> m_program;
    std::unique_ptr<WindowUnderTest> ui;

    // Opens the settings dialog from the menu, acts in it, and returns when
    // it has closed.
    void inSettings(std::function<void(DocumentDataForm&)> act) {
        whenOpen<DocumentDataForm>(act);
        ui->trigger("Document_ProjectMenu");
    }

    // In the open settings dialog: opens the design dialog, acts in it.
    static void inDesigns(DocumentDataForm& settings, std::function<void(DocumentCodeForm&)> act) {
        whenOpen<DocumentCodeForm>(act);
        click(settings, "datainfoButton");
    }

    static QLineEdit& line(QWidget& form, const char* name) { return child<QLineEdit>(form, name); }
    static QPlainTextEdit& description(QWidget& form) {
        return child<QPlainTextEdit>(form, "DocumentViewEdit");
    }
    static QComboBox& designs(QWidget& form) { return child<QComboBox>(form, "DocumentCodeCombo"); }

    std::unique_ptr<DocumentCodeForm> designDialog() {
        return std::make_unique<DocumentCodeForm>(ui->project(), ui->dialogs,
                                                  ProgramFolder(m_program->path()));
    }

    // What the design dialog shows: every design, the one offered, its
    // description.
    static QStringList shown(DocumentCodeForm& form) {
        QStringList names;
        for (int index = 0; index < designs(form).count(); ++index)
            names << designs(form).itemText(index);
        return {names.join(u'|'), designs(form).currentText(),
                child<QLabel>(form, "ProData").text()};
    }

private slots:
    void init() {
        startWithEmptySettings();
        m_program = std::make_unique<TestProgramFolder>();
        m_program->addDesign(u"blue"_s, u"青"_s, u"x"_s);
        m_program->addDesign(u"green"_s, u"緑"_s, u"x"_s);
        m_program->addDesign(u"red"_s, u"赤"_s, u"x"_s);
        ui = std::make_unique<WindowUnderTest>(m_program->path());
    }

    void cleanup() {
        ui->verifyAllAnswered();
        ui.reset();
    }

    // Text the project file cannot hold keeps the dialog open.
    void settingsShowAndStoreTheDocument() {
        DocumentInfo expected;
        expected.DocumentTitle = u"題"_s;
        expected.DocumentHomepage.clear();
        expected.DocumentDataview = u"一行目\r\n二行目"_s;
        ui->project().setDocument(expected, ProjectModel::Marking::Unmodified);
        QStringList shownFields;
        bool refused = false;
        inSettings([&](DocumentDataForm& form) {
            shownFields << line(form, "PageTitleEdit").text() << line(form, "HomePageEdit").text()
                        << child<QLabel>(form, "DocumentCodeEdit").text()
                        << description(form).toPlainText();
            line(form, "CreaterEdit").setText(u"作者"_s);
            description(form).setPlainText(u"say \"hi\""_s);
            click(form, "okButton");
            refused = form.isVisible() && !ui->dataChanged();
            description(form).setPlainText(u"一\n二\n"_s);
            click(form, "okButton");
        });
        QCOMPARE(shownFields, (QStringList{u"題"_s, QString(), u"．．．"_s, u"一行目\n二行目"_s}));
        QVERIFY(refused);
        QVERIFY(ui->dialogs.reports.value(0).text.contains(u"説明文"_s));
        QCOMPARE(ui->dialogs.beeps, 1);
        expected.DocumentCreater = u"作者"_s;
        expected.DocumentDataview = u"一\r\n二\r\n"_s;
        QCOMPARE(ui->document(), expected);
        QVERIFY(ui->dataChanged());
    }

    void cancelKeepsEverythingButAConfirmedDesign() {
        QString labelAfterChoice;
        qsizetype reloadsWhileOpen = -1;
        inSettings([&](DocumentDataForm& form) {
            line(form, "PageTitleEdit").setText(u"typed"_s);
            inDesigns(form, [](DocumentCodeForm& dialog) {
                designs(dialog).setCurrentText(u"緑"_s);
                click(dialog, "okButton");
            });
            labelAfterChoice = child<QLabel>(form, "DocumentCodeEdit").text();
            reloadsWhileOpen = ui->previewReloads();
            click(form, "cancelButton");
        });
        QCOMPARE(labelAfterChoice, u"green\\page.ddc"_s);
        QCOMPARE(ui->document().DocumentCode, u"green\\page.ddc"_s);
        QCOMPARE(ui->document().DocumentCodeFolder, u"green"_s);
        QCOMPARE(ui->document().DocumentTitle, QString());
        QVERIFY(ui->dataChanged());
        // Rebuilt once, when the settings have closed.
        QCOMPARE(reloadsWhileOpen, 0);
        QCOMPARE(ui->previewReloads(), 1);

        // OK without any change still marks the project changed, and the
        // open preview is rebuilt after either button. Nothing is cut, and
        // line ends not edited stay as they were.
        ui->setDataChanged(false);
        DocumentInfo unedited = ui->document();
        unedited.DocumentTitle = QString(40000, u'題');
        unedited.DocumentDataview = u"一\n二\r三\r\n"_s;
        ui->project().setDocument(unedited, ProjectModel::Marking::Unmodified);
        inSettings([](DocumentDataForm& form) { click(form, "okButton"); });
        QCOMPARE(ui->document(), unedited);
        QVERIFY(ui->dataChanged());
        QCOMPARE(ui->previewReloads(), 2);
    }

    void designDialogOffersTheChosenDesignElseTheLast() {
        // An empty design root offers nothing; OK keeps "no design".
        const TestProgramFolder empty;
        DocumentCodeForm none(ui->project(), ui->dialogs, ProgramFolder(empty.path()));
        QCOMPARE(shown(none), (QStringList{QString(), QString(), DocumentCodeForm::creditText()}));
        click(none, "okButton");
        QCOMPARE(ui->document().DocumentCode, u"．．．"_s);

        auto form = designDialog();
        QCOMPARE(shown(*form), (QStringList{u"青|緑|赤"_s, u"赤"_s, u"赤 の説明"_s}));

        // The chosen design is preselected. Typed text that names no design:
        // OK stores nothing, but the project counts as changed, as it did
        // above.
        QVERIFY(ui->dataChanged());
        ui->setDataChanged(false);
        DocumentInfo blue = ui->document();
        blue.DocumentCode = u"blue\\page.ddc"_s;
        ui->project().setDocument(blue, ProjectModel::Marking::Unmodified);
        form = designDialog();
        QCOMPARE(designs(*form).currentText(), u"青"_s);
        designs(*form).setCurrentText(u"紫"_s);
        click(*form, "okButton");
        QCOMPARE(ui->document().DocumentCode, u"blue\\page.ddc"_s);
        QVERIFY(ui->dataChanged());

        // Two designs with one name: the later one is shown and chosen.
        m_program->addDesign(u"zz-copy"_s, u"青"_s, u"x"_s);
        m_program->writeText(u"doc_code/zz-copy/procode"_s, u"青\r\npage\r\nもう一つの青\r\n"_s);
        form = designDialog();
        designs(*form).setCurrentIndex(0);
        emit designs(*form).activated(0);
        QCOMPARE(child<QLabel>(*form, "ProData").text(), u"もう一つの青"_s);
        click(*form, "okButton");
        QCOMPARE(ui->document().DocumentCodeFolder, u"zz-copy"_s);
        QVERIFY(ui->dialogs.reports.isEmpty());
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
        QTest::newRow("design file missing on OK") << "doc_code/zz-red/procode" << "赤\r\npage\r\n赤 の説明" << true << unreadable << u"red\\page.ddc"_s;
        // clang-format on
    }

    void brokenDesignsCloseOnlyTheDesignDialog() {
        QFETCH(QString, file);
        QFETCH(QString, contents);
        QFETCH(bool, opens);
        QFETCH(QString, message);
        QFETCH(QString, code);
        m_program->writeText(file, contents);
        bool settingsStayed = false;
        bool markedChanged = true;
        inSettings([&](DocumentDataForm& form) {
            line(form, "PageTitleEdit").setText(u"typed"_s);
            if (opens)
                inDesigns(form, [](DocumentCodeForm& dialog) { click(dialog, "okButton"); });
            else
                click(form, "datainfoButton");
            settingsStayed = form.isVisible() && line(form, "PageTitleEdit").text() == u"typed" &&
                             QApplication::activeModalWidget() == &form;
            markedChanged = ui->dataChanged();
            click(form, "okButton");
        });
        QVERIFY(settingsStayed);
        QVERIFY(!markedChanged);
        QCOMPARE(ui->dialogs.beeps, 1);
        QCOMPARE(ui->dialogs.reports.value(0), (ScriptedDialogs::Shown{message, u"エラー"_s}));
        QCOMPARE(ui->document().DocumentTitle, u"typed"_s);
        QCOMPARE(ui->document().DocumentCode, code);
        QVERIFY(ui->window.isEnabled());
    }

    void previewNeedsCompleteInformation() {
        ui->trigger("DocumentView_ProjectMenu");
        QCOMPARE(ui->dialogs.beeps, 1);
        QCOMPARE(
            ui->dialogs.reports.value(0).text,
            QStringLiteral("ドキュメントビューを利用するためにはドキュメント情報を設定していな"
                           "ければ利用できません。\nドキュメント設定で次の項目を設定してく"
                           "ださい：ページタイトル、作者名、メールアドレス、デザイン、説明文"));
        QVERIFY(!ui->window.findChild<DocumentViewForm*>());
    }

    // The question carries the program's name; No leaves the document, Yes
    // fills in what is empty and keeps the rest.
    void quickSettingsAskFirstAndFillOnlyWhatIsEmpty() {
        ui->dialogs.answers << false << true;
        ui->trigger("AutoDocument_ProjectMenu");
        QCOMPARE(ui->document(), DocumentInfo());
        QCOMPARE(ui->dialogs.questions.value(0),
                 (ScriptedDialogs::Shown{QuickDocumentSettings::confirmation(), QString()}));
        ui->trigger("AutoDocument_ProjectMenu");
        // A fresh start: the homepage keeps "http://".
        DocumentInfo expected;
        expected.DocumentTitle = u"えふきゅーえー"_s;
        expected.DocumentCreater = u"むくさん"_s;
        expected.DocumentMail = QuickDocumentSettings::placeholderMail();
        expected.DocumentCode = u"blue\\page.ddc"_s;
        expected.DocumentCodeFolder = u"blue"_s;
        expected.DocumentDataview = u"えふきゅーえーぺーじだよー。"_s;
        QCOMPARE(ui->document(), expected);

        const ProgramFolder folder(m_program->path());
        DocumentInfo again = expected;
        QuickDocumentSettings::apply(again, folder);
        QCOMPARE(again, expected);
        DocumentInfo afterNew = DocumentInfo::forNewProject();
        QuickDocumentSettings::apply(afterNew, folder);
        QCOMPARE(afterNew.DocumentHomepage, u"index.html"_s);

        // A chosen design without its folder keeps the design and gets the
        // first folder, even when that is another design.
        DocumentInfo designOnly;
        designOnly.DocumentCode = u"red\\page.ddc"_s;
        designOnly.DocumentTitle = u" "_s;
        QuickDocumentSettings::apply(designOnly, folder);
        QCOMPARE(designOnly.DocumentCode, u"red\\page.ddc"_s);
        QCOMPARE(designOnly.DocumentCodeFolder, u"blue"_s);
        QCOMPARE(designOnly.DocumentTitle, u" "_s);

        // Without designs, or without the design folder, none is chosen.
        const TestProgramFolder empty;
        for (const QString& programFolder : {empty.path(), empty.filePath(u"none"_s)}) {
            DocumentInfo info;
            QuickDocumentSettings::apply(info, ProgramFolder(programFolder));
            QCOMPARE(info.DocumentCode, DocumentInfo::noDesignCode());
            QCOMPARE(info.DocumentCodeFolder, QString());
            QCOMPARE(info.DocumentTitle, u"えふきゅーえー"_s);
        }
    }
};

QTEST_MAIN(DocumentFormsTest)
#include "tst_documentforms.moc"
