// Pages written into folders: the export into a new folder, the export again
// into a published one, and the preview's folder. What is refused, and what a
// failure leaves. The page itself is checked byte for byte by tst_golden, the
// shipped designs' folders by tst_shippeddesigns and tst_cli.

#include "FileSizeLimit.h"
#include "TestDesigns.h"
#include "design/HtmlExporter.h"
#include "design/PageChanges.h"
#include "design/PreviewBuilder.h"

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class PageExportTest : public QObject {
    Q_OBJECT

private:
    TestProgramFolder m_program;

    ProgramFolder program() const { return ProgramFolder(m_program.path()); }
    QString path(const QString& relative) const { return m_program.filePath(relative); }

    static unsigned modeOf(const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
    }

private slots:
    void initTestCase() {
        m_program.addDesign(u"Plain"_s, u"Simple"_s, u"[loop::]<p>[question.]</p>[::loop]"_s,
                            {u"back.gif"_s, u"style.css"_s, u"old.ddc"_s, u"img/sub.png"_s});
        m_program.addDesign(u"Other"_s, u"Other"_s, u"<b></b>"_s, {u"other.css"_s});
    }

    // The refusal names what is missing by the captions of the settings.
    void incompleteDocumentOrUnreadableDesignIsRefused() {
        const std::pair<QString DocumentInfo::*, QString> fields[] = {
            {&DocumentInfo::DocumentTitle, u"ページタイトル"_s},
            {&DocumentInfo::DocumentCreater, u"作者名"_s},
            {&DocumentInfo::DocumentHomepage, u"HomePageアドレス"_s},
            {&DocumentInfo::DocumentMail, u"メールアドレス"_s},
            {&DocumentInfo::DocumentDataview, u"説明文"_s},
            {&DocumentInfo::DocumentCodeFolder, u"デザイン"_s},
            {&DocumentInfo::DocumentCode, u"デザイン"_s}};
        for (const auto& [field, caption] : fields) {
            Project project = projectUsingDesign(u"Plain"_s);
            project.document.*field =
                field == &DocumentInfo::DocumentCode ? DocumentInfo::noDesignCode() : QString();
            const Result<QString> page = HtmlExporter(project, program()).render();
            QVERIFY(!page);
            QCOMPARE(page.error(), HtmlExporter::incompleteMessage() +
                                       u"\nドキュメント設定で次の項目を設定してください："_s +
                                       caption);
        }
        Project missing = projectUsingDesign(u"Plain"_s, u"missing.ddc"_s);
        QVERIFY(HtmlExporter(missing, program()).render().error().contains(u"missing.ddc"_s));
    }

    void existingOutputIsRefused() {
        const Project project = projectUsingDesign(u"Plain"_s);
        const HtmlExporter exporter(project, program());
        const QString output = path(u"taken"_s);
        m_program.writeText(u"taken/keep.txt"_s, u"mine"_s);
        const Result<QString> taken = exporter.write(u"page"_s, output);
        QVERIFY(!taken);
        QVERIFY(taken.error().contains(output));
        QCOMPARE(QDir(output).entryList(QDir::Files), QStringList{u"keep.txt"_s});

        m_program.writeText(u"a-file"_s, u"mine"_s);
        QVERIFY(!exporter.write(u"page"_s, path(u"a-file"_s)));
        QCOMPARE(readFileBytes(path(u"a-file"_s)), QByteArray("mine"));
    }

    void failedExportsLeaveNothingBehind() {
        Project project = projectUsingDesign(u"Plain"_s);
        const HtmlExporter exporter(project, program());
        const QString noParent = path(u"no/such/parent"_s);
        QVERIFY(!exporter.write(u"page"_s, noParent));
        QVERIFY(!QFileInfo::exists(noParent));

        project.document.DocumentCodeFolder = u"Gone"_s;
        const QString output = path(u"half"_s);
        const Result<QString> gone = exporter.write(u"page"_s, output);
        QVERIFY(!gone);
        QVERIFY(gone.error().contains(u"Gone"_s));
        QVERIFY(!QFileInfo::exists(output));

        // A disk that fills up while the page is written.
        project.document.DocumentCodeFolder = u"Plain"_s;
        const auto written = [&] {
            const FileSizeLimit fullAfter(4096);
            return exporter.write(QString(10000, u'x'), output);
        }();
        QVERIFY(!written);
        QVERIFY(!QFileInfo::exists(output));
    }

    void exportingAgainReplacesOnlyWhatItWrites() {
        QVERIFY(QDir().mkpath(path(u"again"_s)));
        const QString output = path(u"again/site"_s);
        Project project = projectUsingDesign(u"Plain"_s);
        QVERIFY(!HtmlExporter::holdsExport(output));
        QVERIFY(HtmlExporter(project, program()).write(u"old page"_s, output));
        QVERIFY(HtmlExporter::holdsExport(output));
        const QStringList added{u"logo.png"_s, u"about.html"_s, u"photos/shop.jpg"_s,
                                u".htaccess"_s};
        for (const QString& file : added)
            m_program.writeText(u"again/site/"_s + file, file);
        QCOMPARE(::chmod(QFile::encodeName(output).constData(), 0711), 0);
        QCOMPARE(::chmod(QFile::encodeName(output + u"/site.html"_s).constData(), 0640), 0);

        project.document.DocumentCodeFolder = u"Other"_s;
        const Result<QString> page =
            HtmlExporter(project, program()).rewrite(u"new page"_s, output + u'/');
        QVERIFY2(page, qPrintable(page.error()));
        QCOMPARE(*page, output + u"/site.html"_s);
        QCOMPARE(readFileBytes(*page), QByteArray("new page\r\n"));
        QCOMPARE(everythingIn(path(u"again"_s)), QStringList{u"site"_s});
        QCOMPARE(everythingIn(output),
                 (QStringList{u".htaccess"_s, u"about.html"_s, u"back.gif"_s, u"logo.png"_s,
                              u"other.css"_s, u"photos"_s, u"site.html"_s, u"style.css"_s}));
        for (const QString& file : added)
            QCOMPARE(readFileBytes(output + u'/' + file), file.toLatin1());
        QCOMPARE(modeOf(output), 0711u);
        QCOMPARE(modeOf(*page), 0640u);

        // A design that fails half-way leaves the published folder as it was.
        project.document.DocumentCodeFolder = u"gone"_s;
        QVERIFY(!HtmlExporter(project, program()).rewrite(u"newer"_s, output));
        QCOMPARE(readFileBytes(output + u"/site.html"_s), QByteArray("new page\r\n"));
        QVERIFY(!HtmlExporter(project, program()).rewrite(u"x"_s, m_program.path()));
    }

    void exportingAgainStaysInsideTheFolder() {
        const Project project = projectUsingDesign(u"Plain"_s);
        HtmlExporter exporter(project, program());
        const QString output = path(u"held/site"_s);
        const QString home = path(u"held/home"_s);
        for (const QString& file : {u"site.html"_s, u"style.css"_s})
            m_program.writeText(u"held/home/"_s + file, u"private"_s);
        QVERIFY(exporter.write(u"old"_s, output));
        // The folder is swapped for a link to a private one while the
        // command runs: the files still go into the folder itself.
        exporter.setTestHooks({[&] {
            QVERIFY(QDir().rename(output, path(u"held/moved"_s)));
            QVERIFY(QFile::link(home, output));
        }});
        QVERIFY(exporter.rewrite(u"new"_s, output));
        QCOMPARE(everythingIn(home), (QStringList{u"site.html"_s, u"style.css"_s}));
        for (const QString& file : everythingIn(home))
            QCOMPARE(readFileBytes(home + u'/' + file), QByteArray("private"));
        QCOMPARE(readFileBytes(path(u"held/moved/site.html"_s)), QByteArray("new\r\n"));

        // A resource's name taken by a folder is refused before anything
        // is written.
        exporter.setTestHooks({});
        const QString taken = path(u"held/taken"_s);
        QVERIFY(exporter.write(u"old"_s, taken));
        QVERIFY(QFile::remove(taken + u"/back.gif"_s));
        m_program.writeText(u"held/taken/back.gif/mine.png"_s, u"mine"_s);
        const Result<QString> refused = exporter.rewrite(u"new"_s, taken);
        QVERIFY2(refused.error().contains(taken + u"/back.gif"_s), qPrintable(refused.error()));
        QCOMPARE(readFileBytes(taken + u"/taken.html"_s), QByteArray("old\r\n"));
        QCOMPARE(everythingIn(taken + u"/back.gif"_s), QStringList{u"mine.png"_s});
    }

    void fileSystemsWithoutRenameFlagsStillExportAndNeverReplace() {
        const Project project = projectUsingDesign(u"Plain"_s);
        HtmlExporter exporter(project, program());
        exporter.setTestHooks({{}, true});
        QVERIFY(QDir().mkpath(path(u"nfs"_s)));
        const QString output = path(u"nfs/site"_s);
        QVERIFY(exporter.write(u"first"_s, output));
        QCOMPARE(everythingIn(output),
                 (QStringList{u"back.gif"_s, u"site.html"_s, u"style.css"_s}));
        QVERIFY(exporter.rewrite(u"again"_s, output));
        QCOMPARE(readFileBytes(output + u"/site.html"_s), QByteArray("again\r\n"));

        // A folder that appears while the export is built is left alone.
        const QString late = path(u"nfs/late"_s);
        for (bool refused : {false, true}) {
            exporter.setTestHooks(
                {[&] { m_program.writeText(u"nfs/late/keep.txt"_s, u"mine"_s); }, refused});
            QVERIFY(exporter.write(u"page"_s, late).error().contains(late));
            QCOMPARE(everythingIn(late), QStringList{u"keep.txt"_s});
            QVERIFY(QDir(late).removeRecursively());
        }
        QCOMPARE(everythingIn(path(u"nfs"_s)), QStringList{u"site"_s});
    }

    void previewReplacesPlainFilesOnly() {
        m_program.writeText(u"preview/stale.css"_s, u"old design"_s);
        m_program.writeText(u"preview/.hidden"_s, u"kept"_s);
        m_program.writeText(u"preview/images/kept.png"_s, u"kept"_s);
        const QString folder = path(u"preview"_s);
        const Result<QString> page =
            PreviewBuilder(projectUsingDesign(u"Plain"_s), program()).build(folder);
        QVERIFY2(page, qPrintable(page.error()));
        QCOMPARE(*page, folder + u"/default.html"_s);
        QCOMPARE(everythingIn(folder), (QStringList{u".hidden"_s, u"back.gif"_s, u"default.html"_s,
                                                    u"images"_s, u"style.css"_s}));
        QCOMPARE(Cp932Codec::decode(readFileBytes(*page)), u"<p>質問</p>\r\n\r\n"_s);
    }

    // An entry taken out renumbers the anchors of the switched-off entries
    // after it: the preview gets the entry and each renumbered one as a
    // stretch of its own, not everything from the first change to the last.
    void changesOfAPageStayNearWhatChanged() {
        auto page = [](int takenOut) {
            QByteArray page = "<html><body>\r\n<div class=\"list\">";
            for (int entry = 1, position = 1; entry <= 100; ++entry) {
                if (entry == takenOut)
                    continue;
                page += entry % 10
                            ? "\r\n<p id=\"q-" + QByteArray::number(entry) + "\">Q" +
                                  QByteArray::number(entry) + "</p>"
                            : "\r\n<p id=\"q-off-" + QByteArray::number(position) + "\"></p>";
                ++position;
            }
            return page + "\r\n</div>\r\n</body></html>\r\n";
        };
        const PageOutline shown(page(0));
        const PageOutline next(page(5));
        const auto changes = PageChanges::between(shown, next);
        QVERIFY(changes);
        QCOMPARE(changes->size(), std::size_t(11));
        // Each with the line break before the next entry, which is alike
        QCOMPARE(changes->front().shown, QByteArray("\r\n<p id=\"q-5\">Q5</p>\r\n"));
        QCOMPARE(changes->front().next, QByteArray("\r\n"));
        for (std::size_t i = 1; i < changes->size(); ++i) {
            const QByteArray position = QByteArray::number(int(i) * 10);
            QCOMPARE((*changes)[i].shown, "\r\n<p id=\"q-off-" + position + "\"></p>\r\n");
            QCOMPARE((*changes)[i].next,
                     "\r\n<p id=\"q-off-" + QByteArray::number(int(i) * 10 - 1) + "\"></p>\r\n");
        }
    }

    void failedPreviewLeavesNoHalfCopiedDesign() {
        // The design file is unreadable: the last preview stays as it was.
        m_program.writeText(u"failed/default.html"_s, u"last page"_s);
        const QString folder = path(u"failed"_s);
        const Result<QString> failed =
            PreviewBuilder(projectUsingDesign(u"Plain"_s, u"missing.ddc"_s), program())
                .build(folder);
        QVERIFY(failed.error().contains(u"missing.ddc"_s));
        QCOMPARE(everythingIn(folder), QStringList{u"default.html"_s});

        // The design folder is gone: nothing of it is left in the preview.
        Project gone = projectUsingDesign(u"Plain"_s);
        gone.document.DocumentCodeFolder = u"Gone"_s;
        QVERIFY(!PreviewBuilder(gone, program()).build(folder));
        QVERIFY(everythingIn(folder).isEmpty());

        // The preview is written without a temporary file; a write that the
        // file-size limit cuts short must still fail and leave no half page.
        Project large = projectUsingDesign(u"Plain"_s);
        large.entries.item(1).question = QString(4096, u'x');
        const Result<QString> cut = [&] {
            const FileSizeLimit fullAfter(1024);
            return PreviewBuilder(large, program()).build(folder);
        }();
        QVERIFY2(cut.error().contains(PreviewBuilder::pageFileName()), qPrintable(cut.error()));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(PageExportTest)
#include "tst_pageexport.moc"
