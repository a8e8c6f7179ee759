#include "design/WrepClass.h"

#include "app/TextFile.h"
#include "design/DesignLocation.h"
#include "design/TemplateScanner.h"

WrepClass::WrepClass(MApp& app, ProgramFolder program)
    : m_app(app)
    , m_program(std::move(program)) {}

bool WrepClass::ddc_datacode() {
    m_error.clear();
    const std::optional<QString> path = DesignLocation::designFile(m_program, m_app.DocumentCode);
    if (!path) {
        m_error = DesignLocation::outsideMessage(m_app.DocumentCode);
        return false;
    }
    QString error;
    const std::optional<QString> design = TextFile::read(*path, &error);
    if (!design) {
        m_error = QStringLiteral("デザインファイルを読み込めません: %1").arg(error);
        return false;
    }
    runText(*design);
    return true;
}

void WrepClass::runText(QStringView designText) {
    // Every run starts from the same counters, so the same project and design
    // always give the same page.
    m_app.EntryCount = int(m_app.entries.count());
    m_app.SelectedEntry = 0;
    m_sorce = TemplateScanner(m_app).run(designText);
}
