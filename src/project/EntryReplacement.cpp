#include "project/EntryReplacement.h"

#include "project/BwkWriter.h"

namespace {

bool targetsQuestions(EntryReplacement::Target target) {
    return target != EntryReplacement::Target::Answers;
}

bool targetsAnswers(EntryReplacement::Target target) {
    return target != EntryReplacement::Target::Questions;
}

// Text without letters of two cases (digits, kana, kanji, a telephone
// number) matches the same whether case matters or not, and is found much
// faster as it is: no other character folds to one without case.
Qt::CaseSensitivity sensitivityFor(const QString& find, Qt::CaseSensitivity asked) {
    if (asked == Qt::CaseInsensitive && find.toLower() == find && find.toUpper() == find)
        return Qt::CaseSensitive;
    return asked;
}

} // namespace

Result<EntryReplacement::Outcome> EntryReplacement::apply(const QAEntryTable& entries,
                                                          const Request& request) {
    Outcome outcome{entries};
    if (request.find.isEmpty())
        return outcome;
    if (Status storable = checkReplacement(request); !storable)
        return storable.failure();
    Request matching = request;
    matching.caseSensitivity = sensitivityFor(request.find, request.caseSensitivity);
    for (qsizetype position = 1; position <= entries.count(); ++position) {
        // Read through the table given, so that an entry without a match is
        // not copied.
        QAEntry entry = entries.item(position);
        const qsizetype inQuestion =
            targetsQuestions(request.target) ? replaceIn(entry.question, matching) : 0;
        const qsizetype inAnswer =
            targetsAnswers(request.target) ? replaceIn(entry.answer, matching) : 0;
        if (inQuestion + inAnswer == 0)
            continue;
        if (Status storable = checkChanged(entry, position, inQuestion > 0, inAnswer > 0);
            !storable)
            return storable.failure();
        outcome.entries.item(position) = std::move(entry);
        ++outcome.changedEntries;
        outcome.places += inQuestion + inAnswer;
    }
    return outcome;
}

qsizetype EntryReplacement::replaceIn(QString& text, const Request& request) {
    qsizetype found = text.indexOf(request.find, 0, request.caseSensitivity);
    if (found < 0)
        return 0;
    QString replaced;
    qsizetype from = 0;
    qsizetype places = 0;
    while (found >= 0) {
        replaced += QStringView(text).sliced(from, found - from);
        replaced += request.replacement;
        from = found + request.find.size();
        ++places;
        found = text.indexOf(request.find, from, request.caseSensitivity);
    }
    replaced += QStringView(text).sliced(from);
    text = std::move(replaced);
    return places;
}

Status EntryReplacement::checkReplacement(const Request& request) {
    const QString name = QStringLiteral("置換後の文字列");
    // A double quote is refused only where answers are changed.
    if (targetsQuestions(request.target)) {
        if (Status checked = BwkWriter::checkLineField(request.replacement, name); !checked)
            return checked;
    }
    if (targetsAnswers(request.target))
        return BwkWriter::checkQuotedField(request.replacement, name);
    return {};
}

Status EntryReplacement::checkChanged(const QAEntry& entry, qsizetype position, bool question,
                                      bool answer) {
    // A changed field is held to the file's rules as a whole: it may have
    // held what the file cannot since it was read (undecodable bytes), or a
    // match taken out may join two halves of a character.
    if (question) {
        if (Status checked = BwkWriter::checkLineField(
                entry.question, QStringLiteral("%1番目の項目の質問").arg(position));
            !checked)
            return checked;
    }
    if (answer)
        return BwkWriter::checkQuotedField(entry.answer,
                                           QStringLiteral("%1番目の項目の答え").arg(position));
    return {};
}
