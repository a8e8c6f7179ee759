#include "text/Cp932Codec.h"

#include <QTest>

using namespace Qt::StringLiterals;

class Cp932CodecTest : public QObject {
    Q_OBJECT

private slots:
    void systemHasTheConverter() { QVERIFY(Cp932Codec::check()); }

    void knownBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("full-width full stops")
            << u"．．．"_s << QByteArray("\x81\x44\x81\x44\x81\x44");
        QTest::newRow("backslash stays 5C") << u"Blue\\main.ddc"_s << QByteArray("Blue\\main.ddc");
        QTest::newRow("tilde stays 7E") << u"~"_s << QByteArray("~");
        QTest::newRow("hiragana") << u"あ"_s << QByteArray("\x82\xA0");
        QTest::newRow("kanji with bracket trail byte") << u"ゼ"_s << QByteArray("\x83\x5B");
        QTest::newRow("half-width katakana") << u"ｱ"_s << QByteArray("\xB1");
        QTest::newRow("wave dash, Microsoft variant") << u"～"_s << QByteArray("\x81\x60");
        QTest::newRow("NEC special row") << u"①"_s << QByteArray("\x87\x40");
        QTest::newRow("IBM extension kanji") << u"髙"_s << QByteArray("\xFB\xFC");
        QTest::newRow("line end") << u"\r\n"_s << QByteArray("\r\n");
    }

    void knownBytes() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QByteArray encoded;
        QVERIFY(Cp932Codec::encode(text, encoded).ok());
        QCOMPARE(encoded, bytes);
        QCOMPARE(Cp932Codec::decode(bytes), text);
    }

    void duplicatesEncodeToThePreferredRow() {
        // Characters with two codes come back as the code page's own encoder
        // writes them: NEC row over IBM for Roman numerals, IBM over the
        // NEC-selected copies for small Roman numerals and kanji.
        const QByteArray necSelected("\xED\x40\xEE\xEF", 4);
        QByteArray encoded;
        QVERIFY(Cp932Codec::encode(Cp932Codec::decode(necSelected), encoded).ok());
        QCOMPARE(encoded, QByteArray("\xFA\x5C\xFA\x40", 4));
        encoded.clear();
        QVERIFY(Cp932Codec::encode(u"Ⅰ∵"_s, encoded).ok());
        QCOMPARE(encoded, QByteArray("\x87\x54\x81\xE6", 4));
    }

    void linuxLookAlikesAreStoredAsTheWindowsCharacters() {
        // What Linux input methods type for 〜 − — ‖ ¢ £ ¬ is kept, under the
        // code page's own codes, and reads back in the Windows forms.
        const QString typed = u"9時\u301C17時\u2212\u2014\u2016\u00A2\u00A3\u00AC"_s;
        QByteArray encoded;
        QVERIFY(Cp932Codec::encode(typed, encoded).ok());
        QCOMPARE(encoded, QByteArray("9\x8E\x9E\x81\x60"
                                     "17\x8E\x9E\x81\x7C\x81\x5C\x81\x61"
                                     "\x81\x91\x81\x92\x81\xCA"));
        QCOMPARE(Cp932Codec::decode(encoded),
                 u"9時\uFF5E17時\uFF0D\u2015\u2225\uFFE0\uFFE1\uFFE2"_s);
        QCOMPARE(Cp932Codec::asReadBack(typed), Cp932Codec::decode(encoded));
        QByteArray page;
        Cp932Codec::encodeForHtml(typed, page);
        QCOMPARE(page, encoded);
        QCOMPARE(Cp932Codec::findUnencodable(typed), std::nullopt);
    }

    void everyRepresentableCharacterRoundTrips() {
        // Every double-byte code decodes to a character that encodes back to
        // bytes that decode to the same character.
        int mapped = 0;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char bytes[2] = {char(lead), char(trail)};
                const QString text = Cp932Codec::decode(QByteArrayView(bytes, 2));
                if (text == u"\uFFFD"_s || text.size() != 1)
                    continue;
                ++mapped;
                QByteArray encoded;
                QVERIFY(Cp932Codec::encode(text, encoded).ok());
                QCOMPARE(encoded.size(), 2);
                QCOMPARE(Cp932Codec::decode(encoded), text);
            }
        }
        // JIS X 0208, the NEC and IBM extensions and the user-defined area.
        QVERIFY2(mapped > 9000, qPrintable(QString::number(mapped)));
        for (char16_t u = 0; u < 0x80; ++u) {
            QByteArray encoded;
            QVERIFY(Cp932Codec::encode(QStringView(&u, 1), encoded).ok());
            QCOMPARE(encoded, QByteArray(1, char(u)));
        }
    }

    void invalidBytesDecodeToReplacement() {
        QCOMPARE(Cp932Codec::decode(QByteArray("a\x80"
                                               "b",
                                               3)),
                 u"a\uFFFDb"_s);
        // A lead byte without a usable trail stands alone.
        QCOMPARE(Cp932Codec::decode(QByteArray("\x82", 1)), u"\uFFFD"_s);
        QCOMPARE(Cp932Codec::decode(QByteArray("\x82\r\n", 3)), u"\uFFFD\r\n"_s);
        QCOMPARE(Cp932Codec::decode(QByteArray("\x00x", 2)), QString(QChar(0)) + u'x');
    }

    void unencodableCharacters() {
        const QString text = u"ab😀c\u00E9"_s;
        QByteArray encoded("keep");
        QCOMPARE(Cp932Codec::encode(text, encoded).error(),
                 u"文字「😀」(U+1F600)はShift_JISで表せません。"_s);
        QCOMPARE(encoded, QByteArray("keep"));
        QCOMPARE(Cp932Codec::describeCharacterAt(text, 5), u"「é」(U+00E9)"_s);
        // What the page writes instead; half a pair stands for nothing.
        QCOMPARE(Cp932Codec::htmlReferenceAt(text, 2), u"&#x1F600;"_s);
        QCOMPARE(Cp932Codec::htmlReferenceAt(text, 5), u"&#xE9;"_s);
        QVERIFY(Cp932Codec::htmlReferenceAt(u"x"_s + QChar(0xD800), 1).isEmpty());

        QByteArray page;
        Cp932Codec::encodeForHtml(text, page);
        QCOMPARE(page, QByteArray("ab&#x1F600;c&#xE9;"));
        page.clear();
        Cp932Codec::encodeForHtml(QString(QChar(0xD800)) + u'x', page);
        QCOMPARE(page, QByteArray("&#xD800;x"));
    }

    void pageEncodingMatchesCharacterByCharacter_data() {
        // The page encoder takes ASCII eight characters at a time; these texts
        // put the other characters at every place of such a block and across
        // its edges.
        QTest::addColumn<QString>("text");
        const QString ascii = u"<p class=\"a\">"_s;
        QTest::newRow("ASCII only, 7, 8, 9 and 17 long")
            << ascii.left(7) + u'|' + ascii.left(8) + u'|' + ascii.left(9) + u'|' + ascii + ascii;
        for (int at = 0; at < 9; ++at) {
            for (const QString& other : {u"あ"_s, u"😀"_s, u"é"_s, QString(QChar(0)),
                                         QString(QChar(0xDC00)), u"\u007F"_s}) {
                QString text = ascii + ascii;
                text.insert(at, other);
                QTest::addRow("U+%04X at %d", other.at(0).unicode(), at) << text;
            }
        }
    }

    void pageEncodingMatchesCharacterByCharacter() {
        QFETCH(QString, text);
        QByteArray expected("kept");
        for (qsizetype i = 0; i < text.size(); ++i) {
            const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() &&
                              text.at(i + 1).isLowSurrogate();
            // A lone surrogate is written as its own number.
            const char32_t codePoint =
                pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
            if (!Cp932Codec::encode(QStringView(text).sliced(i, pair ? 2 : 1), expected))
                expected += "&#x" + QByteArray::number(quint32(codePoint), 16).toUpper() + ';';
            i += pair ? 1 : 0;
        }
        QByteArray page("kept");
        Cp932Codec::encodeForHtml(text, page);
        QCOMPARE(page, expected);
    }
};

QTEST_GUILESS_MAIN(Cp932CodecTest)
#include "tst_cp932codec.moc"
