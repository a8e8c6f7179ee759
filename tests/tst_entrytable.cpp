#include "project/Project.h"

#include <QTest>

namespace {

QStringList questions(const QAEntryTable& table) {
    QStringList list;
    for (const QAEntry& entry : table)
        list << entry.question;
    return list;
}

} // namespace

class EntryTableTest : public QObject {
    Q_OBJECT

private slots:
    void startValues() {
        const Project project;
        QVERIFY(project.entries.isEmpty());
        QCOMPARE(project.document.DocumentHomepage, QStringLiteral("http://"));
        QCOMPARE(project.document.DocumentCode, QStringLiteral("．．．"));
        QCOMPARE(DocumentInfo::forNewProject().DocumentHomepage, QString());
        QCOMPARE(DocumentInfo::forNewProject().DocumentCode, QStringLiteral("．．．"));
    }

    void addAndRemoveKeepPositions() {
        QAEntryTable table;
        for (const char* q : {"one", "two", "three"})
            table.add(QString::fromLatin1(q)).icon = 1;
        QCOMPARE(table.item(2).answer, QString());
        table.remove(2);
        QCOMPARE(table.count(), 2);
        QCOMPARE(table.item(2).question, QStringLiteral("three"));
    }

    void sortIsStableJapaneseAndOnce() {
        QAEntryTable table;
        const QStringList input{QStringLiteral("さくら"), QStringLiteral("あめ"),
                                QStringLiteral("カメラ"), QStringLiteral("あめ"),
                                QStringLiteral("Zebra"),  QStringLiteral("apple")};
        for (int i = 0; i < input.size(); ++i)
            table.append(QAEntry{input[i], QString::number(i), 1});
        table.sortByQuestion();
        QCOMPARE(questions(table),
                 (QStringList{QStringLiteral("apple"), QStringLiteral("Zebra"),
                              QStringLiteral("あめ"), QStringLiteral("あめ"),
                              QStringLiteral("カメラ"), QStringLiteral("さくら")}));
        // Equal questions keep their order.
        QCOMPARE(table.item(3).answer, QStringLiteral("1"));
        QCOMPARE(table.item(4).answer, QStringLiteral("3"));
        // Sorting is a one-time reorder: what is added later goes to the end.
        table.add(QStringLiteral("あ"));
        QCOMPARE(table.item(table.count()).question, QStringLiteral("あ"));
    }

    void otherIconNumbersAreDisabled() {
        QVERIFY(QAEntry({QString(), QString(), 1}).isEnabled());
        for (int icon : {0, 2, 3, -1})
            QVERIFY(!QAEntry({QString(), QString(), icon}).isEnabled());
    }
};

QTEST_GUILESS_MAIN(EntryTableTest)
#include "tst_entrytable.moc"
