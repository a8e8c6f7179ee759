#include "TestDesigns.h"
#include "app/QuickDocumentSettings.h"
#include "design/PreviewBuilder.h"

using namespace Qt::StringLiterals;

namespace {

Project projectUsing(const QString& folder) {
    Project project;
    DocumentInfo& doc = project.document;
    doc.DocumentTitle = doc.DocumentCreater = doc.DocumentMail = u"x"_s;
    doc.DocumentDataview = u"d"_s;
    doc.DocumentCode = folder + u"\\page.ddc"_s;
    doc.DocumentCodeFolder = folder;
    project.entries.append(QAEntry{u"質問"_s, u"答え"_s, 1});
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
        program.addDesign(u"Plain"_s, u"Simple"_s, u"[loop::]<p>[question.]</p>[::loop]"_s,
                          {u"second.ddc"_s, u"back.gif"_s, u"img/sub.png"_s});
        program.writeText(u"default/stale.css"_s, u"old design"_s);
        program.writeText(u"default/.hidden"_s, u"kept"_s);
        program.writeText(u"default/images/kept.png"_s, u"kept"_s);

        const Project project = projectUsing(u"Plain"_s);
        const QString folder = program.filePath(u"default"_s);
        const Result<QString> page =
            PreviewBuilder(project, ProgramFolder(program.path())).build(folder);
        QVERIFY2(page, qPrintable(page.error()));
        QCOMPARE(*page, folder + u"/default.html"_s);
        QCOMPARE(everythingIn(folder),
                 (QStringList{u".hidden"_s, u"back.gif"_s, u"default.html"_s, u"images"_s}));
        QFile file(*page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(Cp932Codec::decode(file.readAll()), u"<p>質問</p>\r\n\r\n"_s);
    }

    void failedBuildLeavesNoHalfCopiedDesign() {
        TestProgramFolder program;
        program.addDesign(u"Plain"_s, u"Simple"_s, u"x"_s, {u"back.gif"_s});
        const QString folder = program.filePath(u"default"_s);
        QVERIFY(QDir().mkpath(folder));

        // The design file is unreadable: the last preview stays as it was.
        program.writeText(u"default/default.html"_s, u"last page"_s);
        Project broken = projectUsing(u"Plain"_s);
        broken.document.DocumentCode = u"Plain\\missing.ddc"_s;
        const Result<QString> failed =
            PreviewBuilder(broken, ProgramFolder(program.path())).build(folder);
        QVERIFY(failed.error().contains(u"missing.ddc"_s));
        QCOMPARE(everythingIn(folder), QStringList{u"default.html"_s});

        // The design folder is gone: nothing of it is left in the preview.
        Project gone = projectUsing(u"Plain"_s);
        gone.document.DocumentCodeFolder = u"Gone"_s;
        QVERIFY(!PreviewBuilder(gone, ProgramFolder(program.path())).build(folder));
        QVERIFY(everythingIn(folder).isEmpty());
    }

    void quickSettingsFillOnlyWhatIsEmpty() {
        TestProgramFolder program;
        program.addDesign(u"b-second"_s, u"B"_s, u"x"_s);
        program.addDesign(u"A-first"_s, u"A"_s, u"x"_s, {u"z.ddc"_s});
        const ProgramFolder folder(program.path());

        // A fresh start: the homepage keeps "http://".
        DocumentInfo fresh;
        QuickDocumentSettings::apply(fresh, folder);
        DocumentInfo expected;
        expected.DocumentTitle = u"えふきゅーえー"_s;
        expected.DocumentCreater = u"むくさん"_s;
        expected.DocumentMail = QuickDocumentSettings::placeholderMail();
        expected.DocumentCode = u"A-first\\page.ddc"_s;
        expected.DocumentCodeFolder = u"A-first"_s;
        expected.DocumentDataview = u"えふきゅーえーぺーじだよー。"_s;
        QCOMPARE(fresh, expected);

        DocumentInfo fresh2 = fresh;
        QuickDocumentSettings::apply(fresh2, folder);
        QCOMPARE(fresh2, fresh);

        DocumentInfo afterNew = DocumentInfo::forNewProject();
        QuickDocumentSettings::apply(afterNew, folder);
        QCOMPARE(afterNew.DocumentHomepage, u"index.html"_s);

        // A chosen design without its folder keeps the design and gets the
        // first folder, even when that is another design.
        DocumentInfo designOnly;
        designOnly.DocumentCode = u"b-second\\page.ddc"_s;
        designOnly.DocumentTitle = u" "_s;
        QuickDocumentSettings::apply(designOnly, folder);
        QCOMPARE(designOnly.DocumentCode, u"b-second\\page.ddc"_s);
        QCOMPARE(designOnly.DocumentCodeFolder, u"A-first"_s);
        QCOMPARE(designOnly.DocumentTitle, u" "_s);
    }

    void quickSettingsWithoutDesignsLeaveTheDesignUnset() {
        TestProgramFolder program;
        DocumentInfo info;
        QuickDocumentSettings::apply(info, ProgramFolder(program.path()));
        QCOMPARE(info.DocumentCode, DocumentInfo::noDesignCode());
        QCOMPARE(info.DocumentCodeFolder, QString());
        QCOMPARE(info.DocumentTitle, u"えふきゅーえー"_s);
        QuickDocumentSettings::apply(info, ProgramFolder(program.filePath(u"none"_s)));
        QCOMPARE(info.DocumentCode, DocumentInfo::noDesignCode());
    }
};

QTEST_GUILESS_MAIN(PreviewBuilderTest)
#include "tst_previewbuilder.moc"
