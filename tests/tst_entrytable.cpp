#include "project/Project.h"

#include <QTest>

using namespace Qt::StringLiterals;

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
        QCOMPARE(project.document.DocumentHomepage, u"http://"_s);
        QCOMPARE(project.document.DocumentCode, u"．．．"_s);
        QCOMPARE(DocumentInfo::forNewProject().DocumentHomepage, QString());
        QCOMPARE(DocumentInfo::forNewProject().DocumentCode, u"．．．"_s);
    }

    void addAndRemoveKeepPositions() {
        QAEntryTable table;
        for (const char* q : {"one", "two", "three"})
            table.add(QString::fromLatin1(q)).icon = 1;
        QCOMPARE(table.item(2).answer, QString());
        table.remove(2);
        QCOMPARE(table.count(), 2);
        QCOMPARE(table.item(2).question, u"three"_s);
    }

    void sortIsStableJapaneseAndOnce() {
        QAEntryTable table;
        const QStringList input{u"さくら"_s, u"あめ"_s,  u"カメラ"_s,
                                u"あめ"_s,   u"Zebra"_s, u"apple"_s};
        for (int i = 0; i < input.size(); ++i)
            table.append(QAEntry{input[i], QString::number(i), 1});
        table.sortByQuestion();
        QCOMPARE(questions(table), (QStringList{u"apple"_s, u"Zebra"_s, u"あめ"_s, u"あめ"_s,
                                                u"カメラ"_s, u"さくら"_s}));
        // Equal questions keep their order.
        QCOMPARE(table.item(3).answer, u"1"_s);
        QCOMPARE(table.item(4).answer, u"3"_s);
        // Sorting is a one-time reorder: what is added later goes to the end.
        table.add(u"あ"_s);
        QCOMPARE(table.item(table.count()).question, u"あ"_s);
    }

    void otherIconNumbersAreDisabled() {
        QVERIFY(QAEntry({QString(), QString(), 1}).isEnabled());
        for (int icon : {0, 2, 3, -1})
            QVERIFY(!QAEntry({QString(), QString(), icon}).isEnabled());
    }
};

QTEST_GUILESS_MAIN(EntryTableTest)
#include "tst_entrytable.moc"
