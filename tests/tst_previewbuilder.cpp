#include "TestDesigns.h"
#include "app/QuickDocumentSettings.h"
#include "design/PreviewBuilder.h"

namespace {

Project projectUsing(const QString& folder) {
    Project project;
    DocumentInfo& doc = project.document;
    doc.DocumentTitle = doc.DocumentCreater = doc.DocumentMail = QStringLiteral("x");
    doc.DocumentDataview = QStringLiteral("d");
    doc.DocumentCode = folder + QStringLiteral("\\page.ddc");
    doc.DocumentCodeFolder = folder;
    project.entries.append(QAEntry{QStringLiteral("質問"), QStringLiteral("答え"), 1});
    return project;
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

        const Project project = projectUsing(QStringLiteral("Plain"));
        const QString folder = program.filePath(QStringLiteral("default"));
        const Result<QString> page =
            PreviewBuilder(project, ProgramFolder(program.path())).build(folder);
        QVERIFY2(page, qPrintable(page.error()));
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
        Project broken = projectUsing(QStringLiteral("Plain"));
        broken.document.DocumentCode = QStringLiteral("Plain\\missing.ddc");
        const Result<QString> failed =
            PreviewBuilder(broken, ProgramFolder(program.path())).build(folder);
        QVERIFY(failed.error().contains(QStringLiteral("missing.ddc")));
        QCOMPARE(everythingIn(folder), QStringList{QStringLiteral("default.html")});

        // The design folder is gone: nothing of it is left in the preview.
        Project gone = projectUsing(QStringLiteral("Plain"));
        gone.document.DocumentCodeFolder = QStringLiteral("Gone");
        QVERIFY(!PreviewBuilder(gone, ProgramFolder(program.path())).build(folder));
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
        DocumentInfo expected;
        expected.DocumentTitle = QStringLiteral("えふきゅーえー");
        expected.DocumentCreater = QStringLiteral("むくさん");
        expected.DocumentMail = QuickDocumentSettings::placeholderMail();
        expected.DocumentCode = QStringLiteral("A-first\\page.ddc");
        expected.DocumentCodeFolder = QStringLiteral("A-first");
        expected.DocumentDataview = QStringLiteral("えふきゅーえーぺーじだよー。");
        QCOMPARE(fresh, expected);

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
