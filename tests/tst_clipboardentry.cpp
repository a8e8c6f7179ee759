#include "project/ClipboardEntry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ClipboardEntryTest : public QObject {
    Q_OBJECT

private slots:
    void handWrittenExampleIsADisabledEntry() {
        const QString text = u"BWK1.22Why?\r\nBecause."_s;
        QCOMPARE(text.size(), 21);
        QCOMPARE(ClipboardEntry::parse(text),
                 std::optional<QAEntry>(QAEntry{u"Why?"_s, u"Because."_s, 2}));
        QCOMPARE(ClipboardEntry::toText({u"Why?"_s, u"Because."_s, 2}), text);
    }

    void roundTrips_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("icon");
        QTest::newRow("line breaks in the answer") << u"質問"_s << u"一\r\n\r\n二\r\n"_s << 1;
        QTest::newRow("empty answer") << u"Q"_s << QString() << 2;
        QTest::newRow("empty question") << QString() << u"A"_s << 1;
        QTest::newRow("both empty") << QString() << QString() << 2;
    }

    void roundTrips() {
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(int, icon);
        const QAEntry entry{question, answer, icon};
        const QString text = ClipboardEntry::toText(entry);
        QVERIFY(ClipboardEntry::hasTag(text));
        QCOMPARE(ClipboardEntry::parse(text), std::optional<QAEntry>(entry));
    }

    void textsFromOtherPrograms_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("icon");
        QTest::newRow("LF line breaks") << u"BWK1.21Q\nA\nB"_s << u"Q"_s << u"A\r\nB"_s << 1;
        QTest::newRow("lone CR") << u"BWK1.21Q\rA"_s << u"Q"_s << u"A"_s << 1;
        QTest::newRow("no line break")
            << u"BWK1.21Only a question"_s << u"Only a question"_s << QString() << 1;
        QTest::newRow("icon not a digit") << u"BWK1.2xQ\r\nA"_s << u"Q"_s << u"A"_s << 2;
        QTest::newRow("icon 3") << u"BWK1.23Q\r\nA"_s << u"Q"_s << u"A"_s << 2;
        QTest::newRow("tag and digit only") << u"BWK1.21"_s << QString() << QString() << 1;
    }

    void textsFromOtherPrograms() {
        QFETCH(QString, text);
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(int, icon);
        QCOMPARE(ClipboardEntry::parse(text),
                 std::optional<QAEntry>(QAEntry{question, answer, icon}));
    }

    void textsThatAreNoEntry() {
        QVERIFY(!ClipboardEntry::hasTag(u"bwk1.21Q\r\nA"));
        QVERIFY(!ClipboardEntry::parse(u"bwk1.21Q\r\nA"));
        QVERIFY(!ClipboardEntry::parse(u"BWK1.2"));
        QVERIFY(!ClipboardEntry::parse(u"BWK1."));
        QVERIFY(!ClipboardEntry::parse(u""));
    }
};

QTEST_GUILESS_MAIN(ClipboardEntryTest)
#include "tst_clipboardentry.moc"
