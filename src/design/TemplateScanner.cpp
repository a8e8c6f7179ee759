#include "design/TemplateScanner.h"

#include "text/LargeBuffer.h"

#include <algorithm>
#include <charconv>

TemplateScanner::TemplateScanner(const Project& project)
    : m_project(project)
    , m_entryCount(int(project.entries.count())) {}

QString TemplateScanner::withLineEnds(QStringView designText) {
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

QString TemplateScanner::run(QStringView designText) {
    const QString stream = withLineEnds(designText);
    const char16_t* s = QStringView(stream).utf16();
    const qsizetype n = stream.size();

    m_out.clear();
    m_out.reserve(n);
    m_block.clear();
    m_inKey = false;
    m_collecting = false;

    qsizetype i = 0;
    while (i < n) {
        if (!m_inKey) {
            // Runs of plain text go to the page, or into the block, at once.
            qsizetype end = i;
            while (end < n && s[end] != u'[' && s[end] != u']')
                ++end;
            if (end > i) {
                (m_collecting ? m_block : m_out).append(QStringView(s + i, end - i));
                i = end;
                continue;
            }
        }

        const char16_t c = s[i++];
        if (m_inKey) {
            if (c == u']') {
                m_inKey = false;
                const TemplateKey key = m_key.key();
                if (key == TemplateKey::LoopStart || key == TemplateKey::LoopEnd) {
                    closeKey(key);
                    continue;
                }
                if (!m_collecting)
                    appendValue(key);
            } else {
                m_key.append(c);
            }
        }

        if (c != u'[') {
            if (m_collecting)
                m_block.append(c);
            else if (!m_inKey && c != u']')
                m_out.append(c);
            continue;
        }

        // "[" takes the next character with it. "[[" opens no key; any
        // other pair opens a key whose text starts with that character.
        if (i >= n)
            break;
        const char16_t d = s[i++];
        if (m_collecting) {
            m_block.append(c);
            m_block.append(d);
        }
        if (d != u'[') {
            m_key.start(d);
            m_inKey = true;
        }
    }
    // A key or a block still open at the end is dropped.
    return std::move(m_out);
}

void TemplateScanner::closeKey(TemplateKey key) {
    if (key == TemplateKey::LoopStart) {
        // Also inside a block: blocks do not nest, and this "]" is lost.
        m_collecting = true;
        return;
    }
    // The block ends with the whole "[::loop]", which closes the last key
    // of every pass. Outside a block this expands the block "]" alone.
    m_block.append(u']');
    m_collecting = false;
    expandBlock();
    m_block.clear();
}

std::vector<TemplateScanner::BlockPiece> TemplateScanner::compileBlock() const {
    // The same scan as the page's, except that inside a block every key is
    // evaluated. A pass starts and ends with no key open (the block ends with
    // "[::loop]"), so every pass is the same list of pieces.
    std::vector<BlockPiece> pieces;
    const char16_t* b = QStringView(m_block).utf16();
    const qsizetype n = m_block.size();
    KeyText key;
    bool inKey = false;
    qsizetype literalStart = 0;

    auto flushLiteral = [&](qsizetype end) {
        if (end > literalStart)
            pieces.push_back({TemplateKey::Unknown, literalStart, end - literalStart});
    };

    for (qsizetype i = 0; i < n;) {
        const char16_t c = b[i++];
        if (inKey) {
            if (c == u']') {
                inKey = false;
                literalStart = i;
                const TemplateKey k = key.key();
                if (k != TemplateKey::Unknown && k != TemplateKey::LoopStart &&
                    k != TemplateKey::LoopEnd)
                    pieces.push_back({k, 0, 0});
                continue;
            }
            key.append(c);
        }
        if (c == u']') {
            flushLiteral(i - 1);
            literalStart = i;
        } else if (c == u'[') {
            if (!inKey)
                flushLiteral(i - 1);
            if (i < n) {
                const char16_t d = b[i++];
                if (d != u'[') {
                    key.start(d);
                    inKey = true;
                }
            }
            literalStart = i;
        }
    }
    if (!inKey)
        flushLiteral(n);
    return pieces;
}

void TemplateScanner::expandBlock() {
    const std::vector<BlockPiece> pieces = compileBlock();
    reserveForPasses(pieces);
    const int entryCount = m_entryCount;
    m_selectedEntry = 1;
    while (m_selectedEntry <= entryCount) {
        for (const BlockPiece& piece : pieces) {
            if (piece.key == TemplateKey::Unknown)
                m_out.append(QStringView(m_block).sliced(piece.start, piece.length));
            else
                appendValue(piece.key);
        }
        ++m_selectedEntry;
    }
}

// Makes room for the block's passes at once. Growing a page of tens of
// megabytes step by step copies it again and again, and the block says how
// much it will write: the number of passes is exact, the entries' values are
// taken at their average length.
void TemplateScanner::reserveForPasses(const std::vector<BlockPiece>& pieces) {
    // Beyond this the page is left to grow as it goes, so that an estimate
    // can never ask for memory that the page would not use.
    constexpr qsizetype kLargestReserve = qsizetype(1) << 28;
    qsizetype perPass = 0;
    qsizetype step = 1;
    for (const BlockPiece& piece : pieces) {
        perPass += piece.key == TemplateKey::Unknown ? piece.length : valueSizeEstimate(piece.key);
        step += piece.key == TemplateKey::CountInc ? 1 : 0;
        if (perPass > kLargestReserve)
            return;
    }
    const qsizetype passes = (qsizetype(m_entryCount) + step - 1) / step;
    if (passes <= 0 || perPass > (kLargestReserve - m_out.size()) / passes)
        return;
    const qsizetype needed = m_out.size() + passes * perPass;
    if (needed <= m_out.capacity())
        return;
    m_out.reserve(std::max(needed, m_out.capacity() + m_out.capacity() / 2));
    LargeBuffer::preferHugePages(m_out.data() + m_out.size(),
                                 (m_out.capacity() - m_out.size()) * qsizetype(sizeof(QChar)));
}

qsizetype TemplateScanner::valueSizeEstimate(TemplateKey key) {
    switch (key) {
    case TemplateKey::DocumentTitle:
        return m_project.document.DocumentTitle.size();
    case TemplateKey::DocumentCreater:
        return m_project.document.DocumentCreater.size();
    case TemplateKey::DocumentHomepage:
        return m_project.document.DocumentHomepage.size();
    case TemplateKey::DocumentMail:
        return m_project.document.DocumentMail.size();
    case TemplateKey::DocumentDataview:
        return m_project.document.DocumentDataview.size();
    case TemplateKey::Question:
        measureEntries();
        return m_questionAverage;
    case TemplateKey::Answer:
        measureEntries();
        return m_answerAverage;
    case TemplateKey::Count:
    case TemplateKey::CountSelected:
        return 11;
    case TemplateKey::CountInc:
    case TemplateKey::Unknown:
    case TemplateKey::LoopStart:
    case TemplateKey::LoopEnd:
        break;
    }
    return 0;
}

void TemplateScanner::measureEntries() {
    if (m_questionAverage >= 0)
        return;
    qsizetype questions = 0;
    qsizetype answers = 0;
    for (const QAEntry& entry : m_project.entries) {
        questions += entry.question.size();
        answers += entry.answer.size();
    }
    const qsizetype count = std::max<qsizetype>(m_project.entries.count(), 1);
    m_questionAverage = questions / count + 1;
    m_answerAverage = answers / count + 1;
}

const QAEntry* TemplateScanner::selectedEntry() const {
    const int position = m_selectedEntry;
    if (position < 1 || position > m_project.entries.count())
        return nullptr;
    const QAEntry& entry = m_project.entries.item(position);
    return entry.isEnabled() ? &entry : nullptr;
}

void TemplateScanner::appendNumber(int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    m_out.append(QLatin1StringView(digits, result.ptr - digits));
}

void TemplateScanner::appendValue(TemplateKey key) {
    switch (key) {
    case TemplateKey::DocumentTitle:
        m_out.append(m_project.document.DocumentTitle);
        break;
    case TemplateKey::DocumentCreater:
        m_out.append(m_project.document.DocumentCreater);
        break;
    case TemplateKey::DocumentHomepage:
        m_out.append(m_project.document.DocumentHomepage);
        break;
    case TemplateKey::DocumentMail:
        m_out.append(m_project.document.DocumentMail);
        break;
    case TemplateKey::DocumentDataview:
        m_out.append(m_project.document.DocumentDataview);
        break;
    case TemplateKey::Question:
        if (const QAEntry* entry = selectedEntry())
            m_out.append(entry->question);
        break;
    case TemplateKey::Answer:
        if (const QAEntry* entry = selectedEntry())
            m_out.append(entry->answer);
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
