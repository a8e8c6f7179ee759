#include "FormTestHelpers.h"
#include "TestDesigns.h"
#include "app/ProjectCommands.h"
#include "design/QuestionAnchors.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/DocumentViewForm.h"
#include "forms/PreviewEngine.h"
#include "forms/Twips.h"

#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>
#include <QScreen>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

QWebEngineView& browser(DocumentViewForm& view) {
    return child<QWebEngineView>(view, "WebBrowserCtrl");
}

// The text of the page the view shows once the next load has finished.
QString loadedText(DocumentViewForm& view) {
    QSignalSpy loaded(&view, &DocumentViewForm::loadFinished);
    if (!loaded.wait(20000) || !loaded.first().first().toBool())
        return u"(no page loaded)"_s;
    QString text;
    bool done = false;
    browser(view).page()->toPlainText([&](const QString& result) {
        text = result;
        done = true;
    });
    if (!QTest::qWaitFor([&done] { return done; }, 10000))
        return u"(no text arrived)"_s;
    return text;
}

// What a script gives back in the page the view shows, as text.
QString evaluated(DocumentViewForm& view, const QString& script) {
    QString value = u"(no answer)"_s;
    browser(view).page()->runJavaScript(script,
                                        [&](const QVariant& result) { value = result.toString(); });
    (void)QTest::qWaitFor([&value] { return value != u"(no answer)"_s; }, 10000);
    return value;
}

// What the reader did in the shown page, as JSON: the search text, the
// element at the top of the window, whether it is scrolled, a mark left in
// the page's own scripts (it survives only while the page is not loaded
// anew), and for each entry whether it is shown and open.
const QString kReaderState =
    u"(function () { var top = document.elementFromPoint(innerWidth / 2, 1);"
    "var state = { text: document.querySelector('input[type=search]').value,"
    "  top: top && top.closest('[id]') ? top.closest('[id]').id : '',"
    "  scrolled: window.scrollY > 0, mark: String(window.readerMark), entries: {} };"
    "document.querySelectorAll('[id^=q-]').forEach(function (entry) {"
    "  state.entries[entry.id] = (entry.getBoundingClientRect().height ? 'shown' : 'hidden') +"
    "    (entry.open || entry.querySelector('[aria-expanded=true]') ? ' open' : ''); });"
    "return JSON.stringify(state); })()"_s;

// The entries whose state differs between two of kReaderState, among
// those both have, and the other fields that differ but `mark`.
QStringList readerStateChanges(const QString& before, const QString& after) {
    const QJsonObject was = QJsonDocument::fromJson(before.toUtf8()).object();
    const QJsonObject is = QJsonDocument::fromJson(after.toUtf8()).object();
    QStringList changed;
    for (const QString& field : {u"text"_s, u"top"_s, u"scrolled"_s}) {
        if (was[field] != is[field])
            changed << field;
    }
    const QJsonObject wasEntries = was[u"entries"_s].toObject();
    const QJsonObject isEntries = is[u"entries"_s].toObject();
    for (auto entry = wasEntries.begin(); entry != wasEntries.end(); ++entry) {
        if (isEntries.contains(entry.key()) && isEntries[entry.key()] != entry.value())
            changed << entry.key();
    }
    return changed;
}

// A page whose script asks for each address by fetch() and by
// XMLHttpRequest and writes what it got, or "refused", into the page; the
// title says when every answer is in.
QString snoopingPage(const QStringList& addresses) {
    QString page = u"<html><body><pre id=\"got\"></pre><script>\n"
                   "function tell(text) { document.getElementById('got').textContent += text; }\n"
                   "function byRequest(url) { return new Promise(function (done) {\n"
                   "  var request = new XMLHttpRequest(); request.open('GET', url);\n"
                   "  request.onload = function () { done(request.responseText); };\n"
                   "  request.onerror = function () { done('refused'); }; request.send(); }); }\n"
                   "function ask(url) { return Promise.all(new Array(fetch(url).then(\n"
                   "  function (r) { return r.text(); }, function () { return 'refused'; }),\n"
                   "  byRequest(url))).then(function (got) { tell(got.join(' ')); }); }\n"
                   "Promise.all(new Array("_s;
    for (const QString& address : addresses)
        page += u"ask('%1'), "_s.arg(address);
    return page + u"0)).then(function () { document.title = 'done'; });\n</script></body></html>"_s;
}

} // namespace

// The preview in a real browser view, offscreen.
class DocumentViewTest : public QObject {
    Q_OBJECT

private:
    TestProgramFolder m_program;

    // The design as the build put it into the program folder.
    void copyShippedDesign(const QString& design) {
        const QDir shipped(builtProgramFolder() + u"/doc_code/"_s + design);
        for (const QString& name : shipped.entryList(QDir::Files))
            m_program.writeBytes(u"doc_code/%1/%2"_s.arg(design, name),
                                 readFileBytes(shipped.filePath(name)));
    }

    // A project of no entries yet, in the design as the build put it into
    // the program folder.
    Project emptyProjectInShippedDesign(const QString& design) {
        copyShippedDesign(design);
        Project project = projectUsingDesign(design, u"faq.ddc"_s);
        project.entries.clear();
        return project;
    }

private slots:
    void initTestCase() {
        startWithEmptySettings();
        m_program.addDesign(u"plain"_s, u"Plain"_s,
                            QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"Shift_JIS\">"
                                           "<title>[document.title]</title></head><body>\r\n"
                                           "<h1>[document.title]</h1>\r\n"
                                           "[loop::]<p style=\"height:400px\">[question.]</p>\r\n"
                                           "[::loop]</body></html>"),
                            {u"spare.ddc"_s});
        m_program.addDesign(u"zz-second"_s, u"Second"_s,
                            u"<html><body><h2>second design</h2>[loop::]<p>[question.]</p>[::loop]"
                            "</body></html>"_s);
        QVERIFY(QDir(m_program.path()).mkdir(u"default"_s));
    }

    // From a fresh start: the quick settings, entries, a design chosen in the
    // settings and a design that cannot be read.
    void previewFollowsEveryChangeUntilClosed() {
        WindowUnderTest ui(m_program.path());
        ui.dialogs.answers << true;
        ui.trigger("AutoDocument_ProjectMenu");
        for (int i = 1; i <= 20; ++i)
            ui.project().appendEntry(entry(u"質問%1"_s.arg(i)));
        ui.trigger("DocumentView_ProjectMenu");
        DocumentViewForm& view = ui.window.documentView();
        QVERIFY(view.isVisible());
        const QString text = loadedText(view);
        QVERIFY2(text.contains(u"えふきゅーえー"_s) && text.contains(u"質問20"_s),
                 qPrintable(text));
        QCOMPARE(view.pagePath(), m_program.filePath(u"default/default.html"_s));
        QVERIFY(!QFile::exists(m_program.filePath(u"default/spare.ddc"_s)));

        // An added entry shows, and the reader keeps their place in the page.
        browser(view).page()->runJavaScript(u"window.scrollTo(0, 2000);"_s);
        QTRY_VERIFY(browser(view).page()->scrollPosition().y() > 1000);
        type({u"新しい質問"_s, u"答え"_s});
        ui.trigger("add_QACommand");
        QVERIFY(loadedText(view).contains(u"新しい質問"_s));
        QTRY_VERIFY_WITH_TIMEOUT(browser(view).page()->scrollPosition().y() > 1000, 5000);

        whenOpen<DocumentDataForm>([](DocumentDataForm& settings) {
            whenOpen<DocumentCodeForm>([](DocumentCodeForm& designs) {
                child<QComboBox>(designs, "DocumentCodeCombo").setCurrentText(u"Second"_s);
                click(designs, "okButton");
            });
            click(settings, "datainfoButton");
            click(settings, "okButton");
        });
        ui.trigger("Document_ProjectMenu");
        QVERIFY(loadedText(view).contains(u"second design"_s));

        // A design that cannot be read shows a notice, not a message box.
        DocumentInfo document = ui.project().document();
        document.DocumentCode = u"zz-second\\gone.ddc"_s;
        ui.project().setDocument(document);
        QVERIFY(loadedText(view).contains(u"gone.ddc"_s));
        QVERIFY(view.notice().contains(u"gone.ddc"_s));
        // Incomplete information is said as the menu command refuses it.
        document.DocumentMail.clear();
        ui.project().setDocument(document);
        QVERIFY(loadedText(view).contains(u"メールアドレス"_s));
        QCOMPARE(view.notice(),
                 ProjectCommands::previewPreconditionMessage() +
                     u"\nドキュメント設定で次の項目を設定してください：メールアドレス"_s);
        QVERIFY(ui.dialogs.reports.isEmpty());

        // Closed, it is no longer rebuilt.
        view.close();
        QFile::remove(view.pagePath());
        document.DocumentCode = u"zz-second\\page.ddc"_s;
        ui.project().setDocument(document);
        QVERIFY(!QFile::exists(view.pagePath()));
        ui.verifyAllAnswered();
    }

    // A script of a design, or of an answer, reads the page's own files and
    // nothing beyond the preview folder: no file address, no way up out of
    // the folder, no link put into it after the build.
    void scriptsReadNothingOutsideThePreview() {
        const QString secretPath = m_program.filePath(u"secret.txt"_s);
        writeFileBytes(secretPath, "top-secret");
        m_program.addDesign(u"snoop"_s, u"Snoop"_s,
                            snoopingPage({QUrl::fromLocalFile(secretPath).toString(),
                                          u"..%2Fsecret.txt"_s, u"link.txt"_s, u"own.txt"_s}),
                            {u"own.txt"_s});
        const ProjectModel model(projectUsingDesign(u"snoop"_s));
        DocumentViewForm view(model, ProgramFolder(m_program.path()));
        view.show();
        view.reload();
        for (const bool linked : {false, true}) {
            if (linked) {
                QVERIFY(QFile::link(secretPath, m_program.filePath(u"default/link.txt"_s)));
                view.navigate();
            }
            QVERIFY(loadedText(view) != u"(no page loaded)"_s);
            QTRY_COMPARE(evaluated(view, u"document.title"_s), u"done"_s);
            const QString got = evaluated(view, u"document.getElementById('got').textContent"_s);
            QVERIFY2(got.contains(u"resource own.txt"_s) && !got.contains(u"top-secret"_s),
                     qPrintable(got));
        }
    }

    // The shipped design's search box still filters the entries.
    void shippedSearchFiltersThePreview() {
        copyShippedDesign(u"standard"_s);
        Project project = projectUsingDesign(u"standard"_s, u"faq.ddc"_s);
        project.entries.append(entry(u"りんごの色"_s));
        const ProjectModel model(project);
        DocumentViewForm view(model, ProgramFolder(m_program.path()));
        view.show();
        view.reload();
        QVERIFY(loadedText(view).contains(u"りんごの色"_s));
        QCOMPARE(evaluated(view, u"var box = document.querySelector('.search-input');"
                                 "box.value = 'リンゴ'; box.dispatchEvent(new Event('input'));"
                                 "document.querySelectorAll('.qa:not(.search-miss)').length"_s),
                 u"1"_s);
    }

    // A rebuild keeps what the reader did in the page: taken over in place
    // after entries change, and put back when another title has the page
    // loaded anew; also in a design whose script takes entries out.
    void rebuildsKeepSearchScrollAndOpenAnswers() {
        for (const QString& design : {u"standard"_s, u"accordion"_s, u"structured"_s}) {
            Project project = emptyProjectInShippedDesign(design);
            for (int i = 1; i <= 40; ++i)
                project.entries.append(entry(i % 2 ? u"りんご%1"_s.arg(i) : u"みかん%1"_s.arg(i),
                                             i == 20 ? QAEntry::kDisabledIcon : 1));
            ProjectModel model(project);
            DocumentViewForm view(model, ProgramFolder(m_program.path()));
            view.resize(500, 400);
            view.show();
            view.reload();
            QVERIFY(loadedText(view).contains(u"りんご1"_s));
            evaluated(view, u"var box = document.querySelector('input[type=search]');"
                            "box.value = 'りんご'; box.dispatchEvent(new Event('input'));"
                            "var all = document.querySelectorAll('.qa [aria-expanded]');"
                            "if (all.length) all[all.length - 3].click();"
                            "var toc = document.querySelector('.toc-box');"
                            "if (toc) toc.open = true;"
                            "window.readerMark = 'kept';"
                            "document.getElementById('%1').scrollIntoView(); 1"_s.arg(
                                QuestionAnchors(project.entries).at(15)));
            const QString read = evaluated(view, kReaderState);
            QVERIFY2(read.contains(u"\"text\":\"りんご\""_s) && read.contains(u"hidden"_s) &&
                         read.contains(u"\"scrolled\":true"_s) &&
                         (design != u"accordion"_s || read.contains(u" open"_s)),
                     qPrintable(read));

            // A question edited, an entry switched on and one added.
            model.replaceEntry(7, entry(u"りんご七"_s));
            model.replaceEntry(20, entry(u"みかん20"_s));
            model.insertEntry(30, entry(u"みかん追加"_s));
            view.reload();
            QVERIFY(loadedText(view) != u"(no page loaded)"_s);
            QCOMPARE(evaluated(view, u"['りんご七', 'みかん20', 'みかん追加'].map(function (text) {"
                                     "  return document.body.textContent.indexOf(text) >= 0;"
                                     "}).join()"_s),
                     u"true,true,true"_s);
            // An open question list follows the questions.
            QTRY_COMPARE(evaluated(view,
                                   u"var toc = document.querySelector('.toc-list');"
                                   "String(!toc || toc.textContent.indexOf('りんご七') >= 0)"_s),
                         u"true"_s);
            const QString updated = evaluated(view, kReaderState);
            QVERIFY2(updated.contains(u"\"mark\":\"kept\""_s), qPrintable(updated));
            const QStringList changedUpdated = readerStateChanges(read, updated);
            QVERIFY2(changedUpdated.isEmpty(),
                     qPrintable(design + u": "_s + changedUpdated.join(u", "_s)));

            DocumentInfo document = model.document();
            document.DocumentTitle = u"新しい題"_s;
            model.setDocument(document);
            view.reload();
            QVERIFY(loadedText(view).contains(u"新しい題"_s));
            const QString reloaded = evaluated(view, kReaderState);
            QVERIFY2(reloaded.contains(u"\"mark\":\"undefined\""_s), qPrintable(reloaded));
            const QStringList changedReloaded = readerStateChanges(read, reloaded);
            QVERIFY2(changedReloaded.isEmpty(),
                     qPrintable(design + u": "_s + changedReloaded.join(u", "_s)));
        }
    }

    // An entry switched on or off in place appears or goes in every shipped
    // design, though the engine does not see an element's children change
    // (and the structured design's script takes switched-off entries out).
    void switchedEntriesAppearAndGoInPlace() {
        for (const QString& design : {u"standard"_s, u"accordion"_s, u"structured"_s}) {
            Project project = emptyProjectInShippedDesign(design);
            for (int i = 1; i <= 6; ++i)
                project.entries.append(
                    entry(u"質問%1"_s.arg(i), i == 3 ? QAEntry::kDisabledIcon : 1));
            ProjectModel model(project);
            DocumentViewForm view(model, ProgramFolder(m_program.path()));
            view.show();
            view.reload();
            QVERIFY(loadedText(view).contains(u"質問2"_s));
            // Hidden by :has(), not by a rule on their anchors, which would
            // restyle an entry at every edit of its question
            QCOMPARE(evaluated(view, u"String(CSS.supports('selector(:has(a))'))"_s), u"true"_s);
            const QString heights = u"window.readerMark = 'kept';"
                                    "['%1', '%2'].map(function (id) {"
                                    "  var entry = document.getElementById(id);"
                                    "  return !!entry && entry.getBoundingClientRect().height > 0;"
                                    "}).join()"_s;
            const QuestionAnchors before(project.entries);
            QCOMPARE(evaluated(view, heights.arg(before.at(3), before.at(5))), u"false,true"_s);

            model.replaceEntry(3, entry(u"質問3"_s));
            model.replaceEntry(5, entry(u"質問5"_s, QAEntry::kDisabledIcon));
            view.reload();
            QVERIFY(loadedText(view) != u"(no page loaded)"_s);
            const QuestionAnchors after(model.entries());
            QCOMPARE(evaluated(view, u"String(window.readerMark)"_s), u"kept"_s);
            QVERIFY2(evaluated(view, heights.arg(after.at(3), after.at(5))) == u"true,false"_s,
                     qPrintable(design));
        }
    }

    // The first time the preview opens beside the main window, on its right
    // where the screen has room, else clear of its menu bar; it is a window
    // of the main window, which keeps it above it.
    void opensBesideTheMainWindowAboveIt() {
        for (const int width : {300, 0}) {
            startWithEmptySettings();
            WindowUnderTest ui(m_program.path());
            ui.dialogs.answers << true;
            ui.trigger("AutoDocument_ProjectMenu");
            ui.show();
            // Narrow, then as wide as the screen: no room on the right.
            const QRect available = ui.window.screen()->availableGeometry();
            ui.window.setGeometry(available.x() + 10, available.y() + 20,
                                  width ? width : available.width(), 200);
            ui.trigger("DocumentView_ProjectMenu");
            DocumentViewForm& view = ui.window.documentView();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            const QRect place = view.frameGeometry();
            const QRect owner = ui.window.frameGeometry();
            const QMenuBar& menuBar = *ui.window.menuBar();
            QVERIFY(available.contains(place));
            QVERIFY(!place.intersects(QRect(menuBar.mapToGlobal(QPoint()), menuBar.size())));
            QCOMPARE(place.topLeft(), width ? QPoint(owner.right() + 1, owner.top())
                                            : QPoint(owner.left(), owner.bottom() + 1));
            QCOMPARE(view.windowHandle()->transientParent(), ui.window.windowHandle());
            ui.verifyAllAnswered();
        }
    }

    // The browser fills the window below the row of the two buttons, the
    // source button keeps its square at the row's end.
    void resizeRulesAndThePlaceLeft() {
        const ProjectModel model;
        DocumentViewForm view(model, ProgramFolder(m_program.path()));
        view.show();
        QCOMPARE(view.size(), QSize(Twips::toPixels(5145, &view), Twips::toPixels(4425, &view)));
        const int row = Twips::toPixels(375, &view);
        auto& reload = child<QPushButton>(view, "PushButton");
        auto& source = child<QPushButton>(view, "ShowButton");
        // The browser's size, the buttons' places.
        auto layout = [&] {
            return QList<QRect>{QRect({}, browser(view).size()), reload.geometry(),
                                source.geometry()};
        };
        view.resize(600, 500);
        const QList<QRect> at600x500{QRect(0, 0, 600, 500 - row), QRect(0, 0, 600 - row, row),
                                     QRect(600 - row, 0, row, row)};
        QCOMPARE(layout(), at600x500);
        // Too small in either direction: nothing moves.
        view.resize(row, 300);
        QCOMPARE(layout(), at600x500);
        view.resize(300, row - 1);
        QCOMPARE(layout(), at600x500);
        view.resize(700, 400);
        QCOMPARE(layout(), (QList<QRect>{QRect(0, 0, 700, 400 - row), QRect(0, 0, 700 - row, row),
                                         QRect(700 - row, 0, row, row)}));

        // The size left is the next preview's.
        view.close();
        DocumentViewForm next(model, ProgramFolder(m_program.path()));
        QCOMPARE(next.size(), QSize(700, 400));
    }
};

int main(int argc, char* argv[]) {
    // The browser engine will not start its sandbox as root, as in CI.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    PreviewEngine::prepare();
    QApplication application(argc, argv);
    DocumentViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_documentview.moc"
