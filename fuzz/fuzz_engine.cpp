// Designs are written by hand and shared as files: any design text must run
// to an end against a project, the same way every time.

#include "design/PageSizeLimit.h"
#include "design/TemplateInterpreter.h"
#include "design/WrepClass.h"
#include "text/Cp932Codec.h"

#include <cstdint>
#include <cstdlib>

namespace {

Project smallProject() {
    Project project;
    DocumentInfo& document = project.document;
    document.DocumentTitle = QStringLiteral("よくある[質問]");
    document.DocumentCreater = QStringLiteral("Ann");
    document.DocumentHomepage = QStringLiteral("http://example.com/");
    document.DocumentMail = QStringLiteral("ann@example.com");
    document.DocumentDataview = QStringLiteral("一行目\r\n[count.]");
    project.entries.append(
        QAEntry{QStringLiteral("どうやって？"), QStringLiteral("こう。\r\n]["), 1});
    project.entries.append(QAEntry{QStringLiteral("古い"), QStringLiteral("消えた"), 2});
    project.entries.append(QAEntry{QStringLiteral("[loop::]"), QStringLiteral("[::loop]"), 1});
    project.entries.append(QAEntry{QStringLiteral("どうやって？"), QString(), 1});
    return project;
}

// Small enough that designs reach it: a run stops there with a message.
constexpr qsizetype kPageSizeLimit = 1 << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString design = Cp932Codec::decode(QByteArrayView(data, qsizetype(size)));
    static const Project project = smallProject();
    WrepClass engine(project, ProgramFolder(QStringLiteral("/nonexistent")));
    engine.setPageSizeLimit(kPageSizeLimit);
    const Status firstRun = engine.runText(design);
    const QString first = engine.sorce();
    const Status secondRun = engine.runText(design);
    if (firstRun.ok() != secondRun.ok() || firstRun.error() != secondRun.error() ||
        engine.sorce() != first)
        std::abort();
    if (!firstRun) {
        if (firstRun.error() != PageSizeLimit(kPageSizeLimit).message() || !first.isEmpty())
            std::abort();
        return 0;
    }
    if (first.size() > kPageSizeLimit)
        std::abort();
    // Without brackets a design is its own page, line ends made CR LF.
    if (!design.contains(u'[') && !design.contains(u']') &&
        first != TemplateInterpreter::withLineEnds(design))
        std::abort();
    return 0;
}
