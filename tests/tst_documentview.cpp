#include "ScriptedDialogs.h"
#include "TestDesigns.h"
#include "app/MApp.h"
#include "forms/DocumentViewForm.h"
#include "forms/EntryCommands.h"
#include "forms/MainForm.h"
#include "forms/QAListModel.h"
#include "forms/Twips.h"
#include "project/BwkReader.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// The text of the page the view shows, once it is there.
QString shownText(QWebEngineView* view) {
    QString text;
    bool done = false;
    view->page()->toPlainText([&](const QString& result) {
        text = result;
        done = true;
    });
    if (!QTest::qWaitFor([&done] { return done; }, 10000))
        return QStringLiteral("(no text arrived)");
    return text;
}

bool waitForLoad(DocumentViewForm& view) {
    QSignalSpy loaded(&view, &DocumentViewForm::loadFinished);
    return loaded.wait(20000) && loaded.first().first().toBool();
}

} // namespace

// The preview in a real browser view, offscreen.
class DocumentViewTest : public QObject {
    Q_OBJECT

private:
    TestProgramFolder m_program;

private slots:
    void initTestCase() {
        m_program.addDesign(QStringLiteral("plain"), QStringLiteral("Plain"),
                            QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"Shift_JIS\">"
                                           "<title>[document.title]</title></head><body>\r\n"
                                           "<h1>[document.title]</h1>\r\n"
                                           "[loop::]<p style=\"height:400px\">[question.]</p>\r\n"
                                           "[::loop]</body></html>"),
                            {QStringLiteral("old.ddc")});
        QVERIFY(QDir(m_program.path()).mkdir(QStringLiteral("default")));
    }

    void previewFollowsTheProject() {
        MApp app;
        ScriptedDialogs dialogs;
        MainForm window(app, dialogs, ProgramFolder(m_program.path()));
        app.DocumentTitle = QStringLiteral("日本語のFAQ");
        app.DocumentCreater = app.DocumentMail = app.DocumentDataview = QStringLiteral("x");
        app.DocumentCode = QStringLiteral("plain\\page.ddc");
        app.DocumentCodeFolder = QStringLiteral("plain");
        for (int i = 1; i <= 20; ++i)
            window.model().appendEntry(QAEntry{QStringLiteral("質問%1").arg(i), QString(), 1});

        window.DocumentView_ProjectMenu->trigger();
        QVERIFY(app.DocumentViewOpen);
        DocumentViewForm& view = window.documentView();
        QVERIFY(waitForLoad(view));
        QCOMPARE(view.pagePath(), m_program.filePath(QStringLiteral("default/default.html")));
        QVERIFY(!QFile::exists(m_program.filePath(QStringLiteral("default/old.ddc"))));
        const QString text = shownText(view.WebBrowserCtrl);
        QVERIFY2(text.contains(QStringLiteral("日本語のFAQ")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("質問20")));

        // A change while the preview is open rebuilds it, and the reader
        // keeps their place in the page.
        view.WebBrowserCtrl->page()->runJavaScript(QStringLiteral("window.scrollTo(0, 2000);"));
        QTRY_VERIFY(view.WebBrowserCtrl->page()->scrollPosition().y() > 1000);
        window.model().appendEntry(QAEntry{QStringLiteral("新しい質問"), QString(), 1});
        window.announceChange();
        QVERIFY(waitForLoad(view));
        QVERIFY(shownText(view.WebBrowserCtrl).contains(QStringLiteral("新しい質問")));
        QTRY_VERIFY_WITH_TIMEOUT(view.WebBrowserCtrl->page()->scrollPosition().y() > 1000, 5000);

        // A design that cannot be read shows a notice instead of the page,
        // without a message box.
        app.DocumentCode = QStringLiteral("plain\\gone.ddc");
        window.announceChange();
        QVERIFY(waitForLoad(view));
        QVERIFY(view.notice().contains(QStringLiteral("gone.ddc")));
        QVERIFY(shownText(view.WebBrowserCtrl).contains(QStringLiteral("gone.ddc")));
        QVERIFY(dialogs.reports.isEmpty());

        // Closed, it is no longer rebuilt.
        view.close();
        QVERIFY(!app.DocumentViewOpen);
        app.DocumentCode = QStringLiteral("plain\\page.ddc");
        QFile::remove(view.pagePath());
        window.announceChange();
        QVERIFY(!QFile::exists(view.pagePath()));
    }

    // From a fresh start: quick settings, entries, the preview following
    // each edit, a change of design, and the export.
    void endToEndFromAFreshStart() {
        TestProgramFolder program;
        program.addDesign(QStringLiteral("a-first"), QStringLiteral("First"),
                          QStringLiteral("<html><body><h1>[document.title]</h1>[loop::]"
                                         "<p>[question.]</p>[::loop]</body></html>"));
        program.addDesign(QStringLiteral("zz-second"), QStringLiteral("Second"),
                          QStringLiteral("<html><body><h2>second design</h2>[loop::]"
                                         "<p>[question.]</p>[::loop]</body></html>"));
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("default")));
        MApp app;
        ScriptedDialogs dialogs;
        MainForm window(app, dialogs, ProgramFolder(program.path()));
        dialogs.answer(true);
        window.AutoDocument_ProjectMenu->trigger();
        QVERIFY(app.isCompleteForPage());

        window.DocumentView_ProjectMenu->trigger();
        DocumentViewForm& view = window.documentView();
        QVERIFY(waitForLoad(view));
        const QString first = shownText(view.WebBrowserCtrl);
        QVERIFY2(first.contains(QStringLiteral("えふきゅーえー")),
                 qPrintable(first + view.notice()));

        window.model().appendEntry(
            QAEntry{QStringLiteral("最初の質問"), QStringLiteral("答え"), 1});
        window.announceChange();
        QVERIFY(waitForLoad(view));
        QVERIFY(shownText(view.WebBrowserCtrl).contains(QStringLiteral("最初の質問")));

        app.DocumentCode = QStringLiteral("zz-second\\page.ddc");
        app.DocumentCodeFolder = QStringLiteral("zz-second");
        window.announceChange();
        QVERIFY(waitForLoad(view));
        QVERIFY(shownText(view.WebBrowserCtrl).contains(QStringLiteral("second design")));

        QTemporaryDir out;
        dialogs.file(out.filePath(QStringLiteral("site")));
        window.html_FileMenu->trigger();
        QCOMPARE(dialogs.reports.last().text, QStringLiteral("htmlファイルを書き出しました。"));
        QFile page(out.filePath(QStringLiteral("site/site.html")));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(Cp932Codec::decode(page.readAll()).contains(QStringLiteral("<p>最初の質問</p>")));
        view.close();
    }

    void resizeRules() {
        MApp app;
        DocumentViewForm view(app, ProgramFolder(m_program.path()));
        view.show();
        const int row = Twips::toPixels(375, &view);
        view.resize(600, 500);
        QCOMPARE(view.WebBrowserCtrl->size(), QSize(600, 500 - row));
        QCOMPARE(view.PushButton->width(), 600 - row);
        QCOMPARE(view.ShowButton->x(), 600 - row);

        // Too small in either direction: nothing moves.
        view.resize(row, 300);
        QCOMPARE(view.PushButton->width(), 600 - row);
        view.resize(300, row - 1);
        QCOMPARE(view.WebBrowserCtrl->size(), QSize(600, 500 - row));
        view.resize(700, 400);
        QCOMPARE(view.ShowButton->x(), 700 - row);
        QCOMPARE(view.ShowButton->size(), QSize(row, row));
    }
};

int main(int argc, char* argv[]) {
    // The browser engine will not start its sandbox as root, as in CI.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    DocumentViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_documentview.moc"
