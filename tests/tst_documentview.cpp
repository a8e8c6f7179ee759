#include "FormTestHelpers.h"
#include "TestDesigns.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/DocumentViewForm.h"
#include "forms/Twips.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

QWebEngineView& browser(DocumentViewForm& view) {
    return child<QWebEngineView>(view, "WebBrowserCtrl");
}

// The text of the page the view shows, once it is there.
QString shownText(DocumentViewForm& view) {
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
    // settings, a design that cannot be read, and the export.
    void previewFollowsEveryChangeUntilClosed() {
        WindowUnderTest ui(m_program.path());
        ui.dialogs.answers << true;
        ui.trigger("AutoDocument_ProjectMenu");
        for (int i = 1; i <= 20; ++i)
            ui.project().appendEntry(QAEntry{u"質問%1"_s.arg(i), QString(), 1});
        ui.trigger("DocumentView_ProjectMenu");
        QVERIFY(ui.app.DocumentViewOpen);
        DocumentViewForm& view = ui.window.documentView();
        QVERIFY(waitForLoad(view));
        QCOMPARE(view.pagePath(), m_program.filePath(u"default/default.html"_s));
        QVERIFY(!QFile::exists(m_program.filePath(u"default/spare.ddc"_s)));
        const QString text = shownText(view);
        QVERIFY2(text.contains(u"えふきゅーえー"_s) && text.contains(u"質問20"_s),
                 qPrintable(text));

        // An added entry shows, and the reader keeps their place in the page.
        browser(view).page()->runJavaScript(u"window.scrollTo(0, 2000);"_s);
        QTRY_VERIFY(browser(view).page()->scrollPosition().y() > 1000);
        type({u"新しい質問"_s, u"答え"_s});
        ui.trigger("add_QACommand");
        QVERIFY(waitForLoad(view));
        QVERIFY(shownText(view).contains(u"新しい質問"_s));
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
        QVERIFY(waitForLoad(view));
        QVERIFY(shownText(view).contains(u"second design"_s));

        QTemporaryDir out;
        ui.dialogs.files << out.filePath(u"site"_s);
        ui.trigger("html_FileMenu");
        QCOMPARE(ui.dialogs.reports.value(0).text, u"htmlファイルを書き出しました。"_s);
        QFile page(out.filePath(u"site/site.html"_s));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(Cp932Codec::decode(page.readAll()).contains(u"<p>新しい質問</p>"_s));

        // A design that cannot be read shows a notice, not a message box.
        DocumentInfo document = ui.project().document();
        document.DocumentCode = u"zz-second\\gone.ddc"_s;
        ui.project().setDocument(document);
        QVERIFY(waitForLoad(view));
        QVERIFY(view.notice().contains(u"gone.ddc"_s));
        QVERIFY(shownText(view).contains(u"gone.ddc"_s));
        QCOMPARE(ui.dialogs.reports.size(), 1);

        // Closed, it is no longer rebuilt.
        view.close();
        QVERIFY(!ui.app.DocumentViewOpen);
        QFile::remove(view.pagePath());
        document.DocumentCode = u"zz-second\\page.ddc"_s;
        ui.project().setDocument(document);
        QVERIFY(!QFile::exists(view.pagePath()));
        ui.verifyAllAnswered();
    }

    void resizeRulesAndThePlaceLeft() {
        MApp app;
        DocumentViewForm view(app, ProgramFolder(m_program.path()));
        view.show();
        const QRect first = view.geometry();
        const int row = Twips::toPixels(375, &view);
        view.resize(600, 500);
        auto& reload = child<QPushButton>(view, "PushButton");
        auto& source = child<QPushButton>(view, "ShowButton");
        QCOMPARE(browser(view).size(), QSize(600, 500 - row));
        QCOMPARE(reload.width(), 600 - row);
        QCOMPARE(source.x(), 600 - row);

        // Too small in either direction: nothing moves.
        view.resize(row, 300);
        QCOMPARE(reload.width(), 600 - row);
        view.resize(300, row - 1);
        QCOMPARE(browser(view).size(), QSize(600, 500 - row));
        view.resize(700, 400);
        QCOMPARE(source.x(), 700 - row);
        QCOMPARE(source.size(), QSize(row, row));

        // The size left is the next preview's; the first had its own.
        QCOMPARE(first.size(), QSize(Twips::toPixels(5145, &view), Twips::toPixels(4425, &view)));
        view.close();
        DocumentViewForm next(app, ProgramFolder(m_program.path()));
        QCOMPARE(next.size(), QSize(700, 400));
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
