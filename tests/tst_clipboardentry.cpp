#include "project/ClipboardEntry.h"

#include <QTest>

class ClipboardEntryTest : public QObject {
    Q_OBJECT

private slots:
    void handWrittenExampleIsADisabledEntry() {
        const QString text = QStringLiteral("BWK1.22Why?\r\nBecause.");
        QCOMPARE(text.size(), 21);
        QCOMPARE(
            ClipboardEntry::parse(text),
            std::optional<QAEntry>(QAEntry{QStringLiteral("Why?"), QStringLiteral("Because."), 2}));
        QCOMPARE(ClipboardEntry::toText({QStringLiteral("Why?"), QStringLiteral("Because."), 2}),
                 text);
    }

    void roundTrips_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("icon");
        QTest::newRow("line breaks in the answer")
            << QStringLiteral("質問") << QStringLiteral("一\r\n\r\n二\r\n") << 1;
        QTest::newRow("empty answer") << QStringLiteral("Q") << QString() << 2;
        QTest::newRow("empty question") << QString() << QStringLiteral("A") << 1;
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
        QTest::newRow("LF line breaks") << QStringLiteral("BWK1.21Q\nA\nB") << QStringLiteral("Q")
                                        << QStringLiteral("A\r\nB") << 1;
        QTest::newRow("lone CR") << QStringLiteral("BWK1.21Q\rA") << QStringLiteral("Q")
                                 << QStringLiteral("A") << 1;
        QTest::newRow("no line break") << QStringLiteral("BWK1.21Only a question")
                                       << QStringLiteral("Only a question") << QString() << 1;
        QTest::newRow("icon not a digit")
            << QStringLiteral("BWK1.2xQ\r\nA") << QStringLiteral("Q") << QStringLiteral("A") << 2;
        QTest::newRow("icon 3") << QStringLiteral("BWK1.23Q\r\nA") << QStringLiteral("Q")
                                << QStringLiteral("A") << 2;
        QTest::newRow("tag and digit only")
            << QStringLiteral("BWK1.21") << QString() << QString() << 1;
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
