#include "ProjectGenerator.h"

namespace {

// Only characters of code page 932, so every generated project can be saved.
constexpr char16_t kKanji[] =
    u"質問答回設定表示保存印刷送信受信画面文字入力出力変更削除追加検索確認登録"
    u"利用方法場合必要時間料金会員名前住所電話番号注文商品配達返品交換支払";
constexpr char16_t kAsciiWords[][8] = {u"FAQ", u"PDF", u"Web", u"ID", u"OK",   u"USB",
                                       u"PC",  u"iOS", u"2.0", u"10", u"mail", u"Wi-Fi"};

constexpr qsizetype kQuestionLength = 40;
constexpr qsizetype kAnswerLength = 200;

} // namespace

Project ProjectGenerator::make(int entryCount) {
    ProjectGenerator generator(0x9E3779B97F4A7C15ull);
    Project project;
    project.document = document();
    project.entries.reserve(entryCount);
    for (int position = 1; position <= entryCount; ++position)
        project.entries.append(generator.entry(position));
    return project;
}

DocumentInfo ProjectGenerator::document() {
    DocumentInfo info;
    info.DocumentTitle = QStringLiteral("ベンチマーク用のよくある質問");
    info.DocumentCreater = QStringLiteral("Brindlewick 開発チーム");
    info.DocumentHomepage = QStringLiteral("https://example.com/faq/");
    info.DocumentMail = QStringLiteral("faq@example.com");
    info.DocumentCode = designFolderName() + QStringLiteral("\\bench.ddc");
    info.DocumentCodeFolder = designFolderName();
    info.DocumentDataview =
        QStringLiteral("ご利用の前にお読みください。\r\n質問は随時追加します。");
    return info;
}

QAEntry ProjectGenerator::entry(int position) {
    QAEntry entry;
    entry.question = text(kQuestionLength - 1) + u'？';
    const QString first = text(kAnswerLength / 2);
    entry.answer = first + QStringLiteral("\r\n") + text(kAnswerLength - first.size() - 2);
    entry.icon = position % 10 == 0 ? QAEntry::kDisabledIcon : QAEntry::kEnabledIcon;
    return entry;
}

QString ProjectGenerator::text(qsizetype length) {
    QString out;
    out.reserve(length + 8);
    while (out.size() < length)
        appendWord(out);
    out.truncate(length);
    return out;
}

void ProjectGenerator::appendWord(QString& out) {
    switch (next(8)) {
    case 0:
    case 1:
    case 2:
        for (std::uint32_t n = 2 + next(4); n > 0; --n)
            out.append(QChar(char16_t(u'ぁ' + next(83))));
        break;
    case 3:
        for (std::uint32_t n = 2 + next(3); n > 0; --n)
            out.append(QChar(char16_t(u'ァ' + next(86))));
        break;
    case 4:
    case 5:
        for (std::uint32_t n = 1 + next(3); n > 0; --n)
            out.append(QChar(kKanji[next(std::size(kKanji) - 1)]));
        break;
    case 6:
        out.append(QStringView(kAsciiWords[next(std::size(kAsciiWords))]));
        out.append(u' ');
        break;
    default:
        out.append(next(2) ? u'、' : u'。');
        break;
    }
}

std::uint32_t ProjectGenerator::next(std::uint32_t bound) {
    // xorshift64*: fast, and the same sequence everywhere.
    m_state ^= m_state >> 12;
    m_state ^= m_state << 25;
    m_state ^= m_state >> 27;
    return std::uint32_t((m_state * 0x2545F4914F6CDD1Dull) >> 32) % bound;
}
