// Designs are written by hand and shared as files: any design text must run
// to an end against a project, the same way every time.

#include "app/Cp932Codec.h"
#include "design/TemplateScanner.h"
#include "design/WrepClass.h"

#include <cstdint>
#include <cstdlib>

namespace {

MApp smallProject() {
    MApp app;
    app.DocumentTitle = QStringLiteral("よくある[質問]");
    app.DocumentCreater = QStringLiteral("Ann");
    app.DocumentHomepage = QStringLiteral("http://example.com/");
    app.DocumentMail = QStringLiteral("ann@example.com");
    app.DocumentDataview = QStringLiteral("一行目\r\n[count.]");
    app.entries.append(QAEntry{QStringLiteral("どうやって？"), QStringLiteral("こう。\r\n]["), 1});
    app.entries.append(QAEntry{QStringLiteral("古い"), QStringLiteral("消えた"), 2});
    app.entries.append(QAEntry{QStringLiteral("[loop::]"), QStringLiteral("[::loop]"), 1});
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString design = Cp932Codec::decode(QByteArrayView(data, qsizetype(size)));
    MApp app = smallProject();
    WrepClass engine(app, ProgramFolder(QStringLiteral("/nonexistent")));
    engine.runText(design);
    const QString first = engine.sorce();
    engine.runText(design);
    if (engine.sorce() != first)
        std::abort();
    // Without brackets a design is its own page, line ends made CR LF.
    if (!design.contains(u'[') && !design.contains(u']') &&
        first != TemplateScanner::withLineEnds(design))
        std::abort();
    return 0;
}
