#include "design/TemplateKey.h"

#include <array>
#include <utility>

TemplateKey templateKeyFor(QStringView keyText) {
    static constexpr std::array<std::pair<const char16_t*, TemplateKey>, 13> kKeys{{
        {u"document.title", TemplateKey::DocumentTitle},
        {u"document.creater", TemplateKey::DocumentCreater},
        {u"document.homepage", TemplateKey::DocumentHomepage},
        {u"document.mail", TemplateKey::DocumentMail},
        {u"document.dataview", TemplateKey::DocumentDataview},
        {u"question.", TemplateKey::Question},
        {u"question.anchor", TemplateKey::QuestionAnchor},
        {u"answer.", TemplateKey::Answer},
        {u"count.", TemplateKey::Count},
        {u"count.inc", TemplateKey::CountInc},
        {u"count.selected", TemplateKey::CountSelected},
        {u"loop::", TemplateKey::LoopStart},
        {u"::loop", TemplateKey::LoopEnd},
    }};
    if (keyText.size() > kLongestTemplateKey)
        return TemplateKey::Unknown;
    for (const auto& [text, key] : kKeys) {
        if (keyText == QStringView(text))
            return key;
    }
    return TemplateKey::Unknown;
}
