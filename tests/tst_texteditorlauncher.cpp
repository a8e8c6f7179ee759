// The preview's ▼: the desktop's own text editor, found and started by GIO in
// a made-up desktop, and the UTF-8 copy of the page it is given.

#include "TestDesigns.h"
#include "design/PageSourceCopy.h"
#include "text/Cp932Codec.h"
#include "text/FileWriter.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

// A script that writes its arguments, one a line, to record, then runs then.
void writeRecorder(const QString& path, const QString& record, const QByteArray& then = {}) {
    writeFileBytes(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record.toUtf8() + "'\n" + then);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QByteArray recorded(const QStringList& arguments) {
    return arguments.isEmpty() ? QByteArray() : (arguments.join(u'\n') + u'\n').toUtf8();
}

} // namespace

class TextEditorLauncherTest : public QObject {
    Q_OBJECT

private slots:
    void desktopDefaultEditorGetsTheFile_data() {
        QTest::addColumn<QString>("entry");               // %1: the editor
        QTest::addColumn<QStringList>("editorArguments"); // none: no editor
        QTest::addColumn<bool>("inTerminal");
        const QStringList file{u"FILE"_s};
        QTest::newRow("%f") << u"Exec=%1 %f"_s << file << false;
        QTest::newRow("%U") << u"Exec=%1 -n %U"_s << QStringList{u"-n"_s, u"FILE"_s} << false;
        QTest::newRow("terminal") << u"Exec=%1 %F\nTerminal=true"_s << file << true;
        // Without a session bus GIO falls back to Exec.
        QTest::newRow("D-Bus") << u"Exec=%1 %U\nDBusActivatable=true"_s << file << false;
        QTest::newRow("TryExec missing")
            << u"Exec=%1 %f\nTryExec=/none"_s << QStringList() << false;
        QTest::newRow("no entry") << QString() << QStringList() << false;
    }

    // Each desktop is a temporary folder: its applications, plain text's
    // default, a terminal as the only program on PATH, and no D-Bus.
    void desktopDefaultEditorGetsTheFile() {
        QFETCH(QString, entry);
        QFETCH(QStringList, editorArguments);
        QFETCH(bool, inTerminal);
        QTemporaryDir desktop;
        const QDir root(desktop.path());
        QVERIFY(root.mkpath(u"bin"_s) && root.mkpath(u"share/applications"_s));
        const QString editor = root.filePath(u"bin/editor"_s);
        writeRecorder(editor, root.filePath(u"editor.txt"_s));
        writeRecorder(root.filePath(u"bin/xterm"_s), root.filePath(u"terminal.txt"_s),
                      "shift\nexec \"$@\"\n");
        if (!entry.isEmpty())
            writeFileBytes(root.filePath(u"share/applications/org.example.Editor.desktop"_s),
                           (u"[Desktop Entry]\nType=Application\nName=Editor\n"_s +
                            entry.arg(editor) + u"\nMimeType=text/plain;\n"_s)
                               .toUtf8());
        writeFileBytes(root.filePath(u"mimeapps.list"_s),
                       "[Default Applications]\ntext/plain=org.example.Editor.desktop\n");
        const QString file = root.filePath(u"ページ のソース（UTF-8のコピー）.html"_s);
        writeFileBytes(file, "<p>\n");

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "XDG_CURRENT_DESKTOP"})
            environment.remove(QString::fromLatin1(name));
        for (const QString& name : {u"HOME"_s, u"XDG_RUNTIME_DIR"_s, u"XDG_DATA_HOME"_s,
                                    u"XDG_CONFIG_HOME"_s, u"XDG_CONFIG_DIRS"_s})
            environment.insert(name, root.path());
        environment.insert(u"XDG_DATA_DIRS"_s, root.filePath(u"share"_s));
        environment.insert(u"PATH"_s, root.filePath(u"bin"_s));
        QProcess helper;
        helper.setProcessEnvironment(environment);
        helper.start(QStringLiteral(BRINDLEWICK_EDITOR_LAUNCH_HELPER), {file});
        QVERIFY(helper.waitForFinished(60'000));
        QCOMPARE(helper.exitCode(), editorArguments.isEmpty() ? 1 : 0);
        editorArguments.replaceInStrings(u"FILE"_s, file);
        QTRY_COMPARE_WITH_TIMEOUT(readFileBytes(root.filePath(u"editor.txt"_s)),
                                  recorded(editorArguments), 20'000);
        QCOMPARE(readFileBytes(root.filePath(u"terminal.txt"_s)),
                 inTerminal ? recorded({u"-e"_s, editor, file}) : QByteArray());
    }

    void copyIsUtf8WithThePagesText() {
        TestProgramFolder program;
        const QString text =
            u"<html><head><meta charset=\"Shift_JIS\"><title>よくある質問"
            "</title></head>\r\n<body>①～―∥￢ ＼ \\ charset=\"Shift_JIS\"</body>"_s;
        program.writeText(u"default/default.html"_s, text);
        const QString page = program.filePath(u"default/default.html"_s);
        const QByteArray pageBytes = readFileBytes(page);

        const Result<QString> copy = PageSourceCopy::write(page);
        QVERIFY2(copy, qPrintable(copy.error()));
        // Beside the preview folder, which serves every file it holds.
        QCOMPARE(*copy, program.filePath(u"default（UTF-8のコピー）.html"_s));
        QCOMPARE(everythingIn(program.filePath(u"default"_s)), QStringList{u"default.html"_s});
        QCOMPARE(readFileBytes(page), pageBytes);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString copied = utf8(readFileBytes(*copy));
        QVERIFY(!utf8.hasError());
        // Only the meta tag's declaration changes.
        QCOMPARE(copied, QString(text).replace(text.indexOf(u"Shift_JIS"_s), 9, u"UTF-8"_s));
        QCOMPARE(PageSourceCopy::copyText(u"<META content=\"text/html; charset=shift_jis\">"_s),
                 u"<META content=\"text/html; charset=UTF-8\">"_s);
        // The copy as written is no edit; an edit goes back into the page,
        // as the page declares itself, until the page is written anew.
        const auto touch = [](const QString& path, int secondsAhead) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(secondsAhead),
                                     QFileDevice::FileModificationTime));
        };
        touch(*copy, 5);
        QCOMPARE(PageSourceCopy::writeBack(page).value(), false);
        QVERIFY(FileWriter::replaceAtomically(*copy, (copied + u"😀"_s).toUtf8()));
        touch(*copy, 5);
        QCOMPARE(PageSourceCopy::writeBack(page).value(), true);
        QCOMPARE(Cp932Codec::decode(readFileBytes(page)), text + u"&#x1F600;"_s);
        touch(page, 10);
        QCOMPARE(PageSourceCopy::writeBack(page).value(), false);
        // Without a page there is no copy: the window shows its own source window.
        QVERIFY(!PageSourceCopy::write(program.filePath(u"none/default.html"_s)));
    }
};

QTEST_GUILESS_MAIN(TextEditorLauncherTest)
#include "tst_texteditorlauncher.moc"
