#include "TestDesigns.h"
#include "app/MApp.h"
#include "design/PreviewBuilder.h"
#include "app/QuickDocumentSettings.h"

namespace {

MApp projectUsing(const QString& folder) {
    MApp app;
    app.DocumentTitle = app.DocumentCreater = app.DocumentMail = QStringLiteral("x");
    app.DocumentDataview = QStringLiteral("d");
    app.DocumentCode = folder + QStringLiteral("\\page.ddc");
    app.DocumentCodeFolder = folder;
    app.entries.append(QAEntry{QStringLiteral("質問"), QStringLiteral("答え"), 1});
    return app;
}

QStringList everythingIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

class PreviewBuilderTest : public QObject {
    Q_OBJECT

private slots:
    void buildReplacesPlainFilesOnly() {
        TestProgramFolder program;
        program.addDesign(QStringLiteral("Plain"), QStringLiteral("Simple"),
                          QStringLiteral("[loop::]<p>[question.]</p>[::loop]"),
                          {QStringLiteral("second.ddc"), QStringLiteral("back.gif"),
                           QStringLiteral("img/sub.png")});
        program.writeText(QStringLiteral("default/stale.css"), QStringLiteral("old design"));
        program.writeText(QStringLiteral("default/.hidden"), QStringLiteral("kept"));
        program.writeText(QStringLiteral("default/images/kept.png"), QStringLiteral("kept"));

        MApp app = projectUsing(QStringLiteral("Plain"));
        PreviewBuilder builder(app, ProgramFolder(program.path()));
        const QString folder = program.filePath(QStringLiteral("default"));
        const auto page = builder.build(folder);
        QVERIFY2(page, qPrintable(builder.errorString()));
        QCOMPARE(*page, folder + QStringLiteral("/default.html"));
        QCOMPARE(everythingIn(folder),
                 (QStringList{QStringLiteral(".hidden"), QStringLiteral("back.gif"),
                              QStringLiteral("default.html"), QStringLiteral("images")}));
        QFile file(*page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(Cp932Codec::decode(file.readAll()), QStringLiteral("<p>質問</p>\r\n\r\n"));
    }

    void failedBuildLeavesNoHalfCopiedDesign() {
        TestProgramFolder program;
        program.addDesign(QStringLiteral("Plain"), QStringLiteral("Simple"), QStringLiteral("x"),
                          {QStringLiteral("back.gif")});
        const QString folder = program.filePath(QStringLiteral("default"));
        QVERIFY(QDir().mkpath(folder));

        // The design file is unreadable: the last preview stays as it was.
        program.writeText(QStringLiteral("default/default.html"), QStringLiteral("last page"));
        MApp broken = projectUsing(QStringLiteral("Plain"));
        broken.DocumentCode = QStringLiteral("Plain\\missing.ddc");
        PreviewBuilder failing(broken, ProgramFolder(program.path()));
        QVERIFY(!failing.build(folder));
        QVERIFY(failing.errorString().contains(QStringLiteral("missing.ddc")));
        QCOMPARE(everythingIn(folder), QStringList{QStringLiteral("default.html")});

        // The design folder is gone: nothing of it is left in the preview.
        MApp gone = projectUsing(QStringLiteral("Plain"));
        gone.DocumentCodeFolder = QStringLiteral("Gone");
        PreviewBuilder copying(gone, ProgramFolder(program.path()));
        QVERIFY(!copying.build(folder));
        QVERIFY(everythingIn(folder).isEmpty());
    }

    void quickSettingsFillOnlyWhatIsEmpty() {
        TestProgramFolder program;
        program.addDesign(QStringLiteral("b-second"), QStringLiteral("B"), QStringLiteral("x"));
        program.addDesign(QStringLiteral("A-first"), QStringLiteral("A"), QStringLiteral("x"),
                          {QStringLiteral("z.ddc")});
        const ProgramFolder folder(program.path());

        // A fresh start: the homepage keeps "http://".
        DocumentInfo fresh;
        QuickDocumentSettings::apply(fresh, folder);
        QCOMPARE(fresh.DocumentCreater, QStringLiteral("むくさん"));
        QCOMPARE(fresh.DocumentCode, QStringLiteral("A-first\\page.ddc"));
        QCOMPARE(fresh.DocumentCodeFolder, QStringLiteral("A-first"));
        QCOMPARE(fresh.DocumentHomepage, QStringLiteral("http://"));
        QCOMPARE(fresh.DocumentMail, QuickDocumentSettings::placeholderMail());
        QCOMPARE(fresh.DocumentDataview, QStringLiteral("えふきゅーえーぺーじだよー。"));
        QCOMPARE(fresh.DocumentTitle, QStringLiteral("えふきゅーえー"));
        QVERIFY(fresh.isCompleteForPage());

        DocumentInfo fresh2 = fresh;
        QuickDocumentSettings::apply(fresh2, folder);
        QCOMPARE(fresh2, fresh);

        DocumentInfo afterNew = DocumentInfo::forNewProject();
        QuickDocumentSettings::apply(afterNew, folder);
        QCOMPARE(afterNew.DocumentHomepage, QStringLiteral("index.html"));

        // A chosen design without its folder keeps the design and gets the
        // first folder, even when that is another design.
        DocumentInfo designOnly;
        designOnly.DocumentCode = QStringLiteral("b-second\\page.ddc");
        designOnly.DocumentTitle = QStringLiteral(" ");
        QuickDocumentSettings::apply(designOnly, folder);
        QCOMPARE(designOnly.DocumentCode, QStringLiteral("b-second\\page.ddc"));
        QCOMPARE(designOnly.DocumentCodeFolder, QStringLiteral("A-first"));
        QCOMPARE(designOnly.DocumentTitle, QStringLiteral(" "));
    }

    void quickSettingsWithoutDesignsLeaveTheDesignUnset() {
        TestProgramFolder program;
        DocumentInfo info;
        QuickDocumentSettings::apply(info, ProgramFolder(program.path()));
        QCOMPARE(info.DocumentCode, DocumentInfo::noDesignCode());
        QCOMPARE(info.DocumentCodeFolder, QString());
        QCOMPARE(info.DocumentTitle, QStringLiteral("えふきゅーえー"));
        QuickDocumentSettings::apply(info, ProgramFolder(program.filePath(QStringLiteral("none"))));
        QCOMPARE(info.DocumentCode, DocumentInfo::noDesignCode());
    }
};

QTEST_GUILESS_MAIN(PreviewBuilderTest)
#include "tst_previewbuilder.moc"
