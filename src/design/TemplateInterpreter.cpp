#include "design/TemplateInterpreter.h"

#include "design/TemplateTokenizer.h"
#include "text/LargeBuffer.h"

#include <algorithm>
#include <charconv>

namespace {

using Token = TemplateTokenizer::Token;

} // namespace

TemplateInterpreter::TemplateInterpreter(const Project& project, PageSizeLimit limit)
    : m_project(project)
    , m_limit(limit)
    , m_entryCount(int(project.entries.count())) {}

QString TemplateInterpreter::withLineEnds(QStringView designText) {
    QString text;
    text.reserve(designText.size() + designText.size() / 32 + 2);
    qsizetype lineStart = 0;
    while (lineStart < designText.size()) {
        qsizetype cr = designText.indexOf(u'\r', lineStart);
        if (cr < 0)
            cr = designText.size();
        text.append(designText.sliced(lineStart, cr - lineStart));
        text.append(u"\r\n");
        lineStart = cr + 1;
        if (lineStart < designText.size() && designText[lineStart] == u'\n')
            ++lineStart;
    }
    return text;
}

Result<QString> TemplateInterpreter::run(QStringView designText) {
    const QString stream = withLineEnds(designText);

    m_out.clear();
    m_out.reserve(std::min(stream.size(), m_limit.characters()));
    m_failed = false;

    TemplateTokenizer tokens(stream);
    // While a block is collected: where its text starts, and the "]" of each
    // "[loop::]" inside it. Blocks do not nest: such a "]" is lost, which
    // leaves the block's text with an open key there.
    bool collecting = false;
    qsizetype blockStart = 0;
    std::vector<qsizetype> lostBrackets;
    for (Token token = tokens.next(); token.kind != Token::End && !m_failed;
         token = tokens.next()) {
        if (collecting) {
            if (token.kind != Token::Key)
                continue;
            if (token.key == TemplateKey::LoopStart) {
                lostBrackets.push_back(token.end - 1);
            } else if (token.key == TemplateKey::LoopEnd) {
                // The block ends with the whole "[::loop]", which closes the
                // last key of every pass.
                collecting = false;
                const QStringView text =
                    QStringView(stream).sliced(blockStart, token.end - blockStart);
                if (lostBrackets.empty()) {
                    expandBlock(text);
                } else {
                    QString kept;
                    kept.reserve(text.size());
                    qsizetype from = blockStart;
                    for (const qsizetype lost : lostBrackets) {
                        kept.append(QStringView(stream).sliced(from, lost - from));
                        from = lost + 1;
                    }
                    kept.append(QStringView(stream).sliced(from, token.end - from));
                    expandBlock(kept);
                }
            }
            continue;
        }
        if (token.kind == Token::Literal) {
            appendText(token.text);
        } else if (token.key == TemplateKey::LoopStart) {
            collecting = true;
            blockStart = token.end;
            lostBrackets.clear();
        } else if (token.key == TemplateKey::LoopEnd) {
            // A "[::loop]" outside a block expands the block "]" alone.
            expandBlock(u"]");
        } else {
            appendValue(token.key, false);
        }
    }
    // A key or a block still open at the end is dropped.
    if (m_failed) {
        m_out = QString();
        return Failure{m_limit.message()};
    }
    return std::move(m_out);
}

std::vector<TemplateInterpreter::BlockPiece> TemplateInterpreter::compileBlock(QStringView block) {
    // Inside a block every key but the loop keys is evaluated. A pass starts
    // and ends with no key open (the block ends with "[::loop]"), so every
    // pass is the same list of pieces. The document's values are the same in
    // every pass: they become literal pieces.
    std::vector<BlockPiece> pieces;
    TemplateTokenizer tokens(block);
    for (Token token = tokens.next(); token.kind != Token::End; token = tokens.next()) {
        if (token.kind == Token::Literal)
            pieces.push_back({TemplateKey::Unknown, token.text});
        else if (const QString* value = documentValue(token.key))
            pieces.push_back({TemplateKey::Unknown, *value});
        else if (token.key != TemplateKey::Unknown && token.key != TemplateKey::LoopStart &&
                 token.key != TemplateKey::LoopEnd)
            pieces.push_back({token.key, {}});
    }
    return pieces;
}

void TemplateInterpreter::expandBlock(QStringView block) {
    const std::vector<BlockPiece> pieces = compileBlock(block);
    const int entryCount = m_entryCount;
    // Each pass moves one entry on, and one more for every [count.inc].
    const qsizetype step = 1 + std::count_if(pieces.begin(), pieces.end(), [](const BlockPiece& p) {
                               return p.key == TemplateKey::CountInc;
                           });
    const qsizetype passes = entryCount >= 1 ? (qsizetype(entryCount) - 1) / step + 1 : 0;
    if (passesWriteNothing(pieces)) {
        // Only the counter moves: to where the last pass leaves it.
        m_selectedEntry = int(1 + passes * step);
        return;
    }
    if (exceedsLimitAtLeast(pieces, passes)) {
        fail();
        return;
    }
    reserveForPasses(pieces, passes);
    m_selectedEntry = 1;
    while (m_selectedEntry <= entryCount) {
        for (const BlockPiece& piece : pieces) {
            if (piece.key == TemplateKey::Unknown)
                appendText(piece.text);
            else
                appendValue(piece.key, true);
        }
        if (m_failed)
            return;
        ++m_selectedEntry;
    }
}

// Whether no pass of the block can write anything in this run: it holds no
// literal text and only keys whose values are empty for every entry.
bool TemplateInterpreter::passesWriteNothing(const std::vector<BlockPiece>& pieces) {
    for (const BlockPiece& piece : pieces) {
        switch (piece.key) {
        case TemplateKey::CountInc:
            break;
        case TemplateKey::Question:
            measureEntries();
            if (m_anyQuestion)
                return false;
            break;
        case TemplateKey::Answer:
            measureEntries();
            if (m_anyAnswer)
                return false;
            break;
        case TemplateKey::QuestionAnchor:
            if (!anchors().isEmpty())
                return false;
            break;
        case TemplateKey::Unknown:
            // Literal text, or a document value: written unless empty.
            if (!piece.text.isEmpty())
                return false;
            break;
        default:
            return false;
        }
    }
    return true;
}

// Whether the block's passes would take the page past the limit even if
// every entry's values were empty: fails big pages before writing them.
bool TemplateInterpreter::exceedsLimitAtLeast(const std::vector<BlockPiece>& pieces,
                                              qsizetype passes) {
    qsizetype perPass = 0;
    for (const BlockPiece& piece : pieces) {
        if (piece.key == TemplateKey::Unknown)
            perPass += piece.text.size();
        else if (piece.key == TemplateKey::Count || piece.key == TemplateKey::CountSelected)
            perPass += 1;
        if (perPass > m_limit.characters())
            return passes > 0;
    }
    return perPass > 0 && passes > (m_limit.characters() - m_out.size()) / perPass;
}

// Makes room for the block's passes at once. Growing a page of tens of
// megabytes step by step copies it again and again, and the block says how
// much it will write: the number of passes is exact, the entries' values are
// taken at their average length.
void TemplateInterpreter::reserveForPasses(const std::vector<BlockPiece>& pieces,
                                           qsizetype passes) {
    // Beyond this the page is left to grow as it goes, so that an estimate
    // can never ask for memory that the page would not use.
    const qsizetype largestReserve = std::min(qsizetype(1) << 28, m_limit.characters());
    qsizetype perPass = 0;
    for (const BlockPiece& piece : pieces) {
        perPass +=
            piece.key == TemplateKey::Unknown ? piece.text.size() : valueSizeEstimate(piece.key);
        if (perPass > largestReserve)
            return;
    }
    if (passes <= 0 || perPass > (largestReserve - m_out.size()) / passes)
        return;
    const qsizetype needed = m_out.size() + passes * perPass;
    if (needed <= m_out.capacity())
        return;
    m_out.reserve(
        std::min(std::max(needed, m_out.capacity() + m_out.capacity() / 2), m_limit.characters()));
    LargeBuffer::preferHugePages(m_out.data() + m_out.size(),
                                 (m_out.capacity() - m_out.size()) * qsizetype(sizeof(QChar)));
}

qsizetype TemplateInterpreter::valueSizeEstimate(TemplateKey key) {
    if (const QString* value = documentValue(key))
        return value->size();
    switch (key) {
    case TemplateKey::Question:
        measureEntries();
        return m_questionAverage;
    case TemplateKey::Answer:
        measureEntries();
        return m_answerAverage;
    case TemplateKey::QuestionAnchor:
        return 10;
    case TemplateKey::Count:
    case TemplateKey::CountSelected:
        return 11;
    default:
        return 0;
    }
}

const QString* TemplateInterpreter::documentValue(TemplateKey key) const {
    const DocumentInfo& document = m_project.document;
    switch (key) {
    case TemplateKey::DocumentTitle:
        return &document.DocumentTitle;
    case TemplateKey::DocumentCreater:
        return &document.DocumentCreater;
    case TemplateKey::DocumentHomepage:
        return &document.DocumentHomepage;
    case TemplateKey::DocumentMail:
        return &document.DocumentMail;
    case TemplateKey::DocumentDataview:
        return &document.DocumentDataview;
    default:
        return nullptr;
    }
}

void TemplateInterpreter::measureEntries() {
    if (m_questionAverage >= 0)
        return;
    qsizetype questions = 0;
    qsizetype answers = 0;
    for (const QAEntry& entry : m_project.entries) {
        questions += entry.question.size();
        answers += entry.answer.size();
        if (entry.isEnabled()) {
            m_anyQuestion = m_anyQuestion || !entry.question.isEmpty();
            m_anyAnswer = m_anyAnswer || !entry.answer.isEmpty();
        }
    }
    const qsizetype count = std::max<qsizetype>(m_project.entries.count(), 1);
    m_questionAverage = questions / count + 1;
    m_answerAverage = answers / count + 1;
}

const QuestionAnchors& TemplateInterpreter::anchors() {
    if (!m_anchors)
        m_anchors.emplace(m_project.entries);
    return *m_anchors;
}

const QAEntry* TemplateInterpreter::selectedEntry() const {
    const int position = m_selectedEntry;
    if (position < 1 || position > m_project.entries.count())
        return nullptr;
    const QAEntry& entry = m_project.entries.item(position);
    return entry.isEnabled() ? &entry : nullptr;
}

void TemplateInterpreter::fail() {
    m_failed = true;
}

void TemplateInterpreter::appendText(QStringView text) {
    if (Q_UNLIKELY(!m_limit.allows(m_out.size(), text.size())))
        return fail();
    m_out.append(text);
}

void TemplateInterpreter::appendLatin1(const char* text, qsizetype length) {
    if (Q_UNLIKELY(!m_limit.allows(m_out.size(), length)))
        return fail();
    m_out.append(QLatin1StringView(text, length));
}

void TemplateInterpreter::appendNumber(int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    appendLatin1(digits, result.ptr - digits);
}

void TemplateInterpreter::appendValue(TemplateKey key, bool inBlock) {
    switch (key) {
    case TemplateKey::DocumentTitle:
    case TemplateKey::DocumentCreater:
    case TemplateKey::DocumentHomepage:
    case TemplateKey::DocumentMail:
    case TemplateKey::DocumentDataview:
        appendText(*documentValue(key));
        break;
    case TemplateKey::Question:
        if (const QAEntry* entry = selectedEntry())
            appendText(entry->question);
        break;
    case TemplateKey::QuestionAnchor:
        // Only a loop block names an entry by its identifier.
        if (inBlock) {
            char text[QuestionAnchors::kMaxLength];
            appendLatin1(text, anchors().format(m_selectedEntry, text));
        }
        break;
    case TemplateKey::Answer:
        if (const QAEntry* entry = selectedEntry())
            appendText(entry->answer);
        break;
    case TemplateKey::Count:
        appendNumber(m_entryCount);
        break;
    case TemplateKey::CountInc:
        ++m_selectedEntry;
        break;
    case TemplateKey::CountSelected:
        appendNumber(m_selectedEntry);
        break;
    case TemplateKey::Unknown:
    case TemplateKey::LoopStart:
    case TemplateKey::LoopEnd:
        break;
    }
}
