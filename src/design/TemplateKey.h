#pragma once

#include <QStringView>

// The keys of the template language.
enum class TemplateKey {
    Unknown,
    DocumentTitle,
    DocumentCreater,
    DocumentHomepage,
    DocumentMail,
    DocumentDataview,
    Question,
    QuestionAnchor,
    Answer,
    Count,
    CountInc,
    CountSelected,
    LoopStart,
    LoopEnd,
};

// Keys are matched exactly: case-sensitively and without trimming.
TemplateKey templateKeyFor(QStringView keyText);

// No key is longer than this; longer key texts need not be kept whole.
constexpr qsizetype kLongestTemplateKey = 17;
