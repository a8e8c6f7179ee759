#include "forms/DocumentCodeForm.h"

#include "app/ProjectModel.h"
#include "app/UserDialogs.h"
#include "forms/FixedDialog.h"
#include "forms/Named.h"
#include "forms/Twips.h"
#include "text/TextFile.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kUnreadable =
    QStringLiteral("デザインファイルが壊れており、読み込むことができません。");
const QString kMaybeBroken = QStringLiteral("デザインファイルが壊れている可能性があります。");

// Every design of the catalog has at least `lines` procode lines.
bool everyDesignHas(const QList<DesignRoot::Design>& designs, qsizetype lines) {
    return std::all_of(designs.begin(), designs.end(), [lines](const DesignRoot::Design& d) {
        return d.procode.lineCount() >= lines;
    });
}

} // namespace

DocumentCodeForm::DocumentCodeForm(ProjectModel& model, UserDialogs& dialogs, ProgramFolder program,
                                   QWidget* parent)
    : QDialog(parent, fixedDialogFlags())
    , m_model(model)
    , m_dialogs(dialogs)
    , m_program(std::move(program)) {
    setWindowTitle(QStringLiteral("DocumentCode"));
    buildControls();
    connect(okButton, &QPushButton::clicked, this, &DocumentCodeForm::okButton_Click);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(DocumentCodeCombo, &QComboBox::activated, this,
            &DocumentCodeForm::DocumentCodeCombo_Click);
    Form_Load();
}

void DocumentCodeForm::buildControls() {
    auto* StaticLabel = new QLabel(QStringLiteral("DocumentCode"), this);
    DocumentCodeCombo = named(new QComboBox(this), u"DocumentCodeCombo");
    DocumentCodeCombo->setEditable(true);
    DocumentCodeCombo->setInsertPolicy(QComboBox::NoInsert);
    DocumentCodeCombo->setMinimumWidth(Twips::toPixels(5400, this));
    StaticLabel->setBuddy(DocumentCodeCombo);
    ProData = named(new QLabel(creditText(), this), u"ProData");
    ProData->setWordWrap(true);
    ProData->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    ProData->setMinimumHeight(ProData->fontMetrics().lineSpacing() * 4);

    auto* buttons = new QDialogButtonBox(this);
    okButton = named(buttons->addButton(QStringLiteral("確定"), QDialogButtonBox::AcceptRole),
                     u"okButton");
    cancelButton =
        named(buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole),
              u"cancelButton");
    okButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StaticLabel);
    layout->addWidget(DocumentCodeCombo);
    layout->addWidget(ProData);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString DocumentCodeForm::creditText() {
    return QStringLiteral("Brindlewick のデザインを選んでください。デザインは Hollowfen "
                          "とデザインの作者が提供するもので、内容は無保証です。");
}

int DocumentCodeForm::exec() {
    // A design that could not be read while loading has closed the dialog
    // before it was shown.
    return result() == Failed ? Failed : QDialog::exec();
}

void DocumentCodeForm::fail(const QString& message) {
    m_dialogs.beep();
    m_dialogs.report(message, QStringLiteral("エラー"));
    done(Failed);
}

std::optional<QList<DesignRoot::Design>> DocumentCodeForm::readDesigns(qsizetype procodeLines,
                                                                       const QString& failure) {
    Result<QList<DesignRoot::Design>> designs = DesignRoot(m_program).designs();
    if (designs && everyDesignHas(*designs, procodeLines))
        return std::move(*designs);
    fail(failure);
    return std::nullopt;
}

void DocumentCodeForm::Form_Load() {
    const auto designs = readDesigns(2, kUnreadable);
    if (!designs)
        return;
    QString current;
    for (const DesignRoot::Design& design : *designs) {
        DocumentCodeCombo->addItem(design.displayName());
        if (m_model.document().DocumentCode == design.designCode())
            current = design.displayName();
    }
    // Without a listed current design the one listed last is offered.
    if (current.isEmpty() && !designs->isEmpty())
        current = designs->last().displayName();
    DocumentCodeCombo->setCurrentText(current);
    DocumentCodeCombo_Click();
}

void DocumentCodeForm::DocumentCodeCombo_Click() {
    const auto designs = readDesigns(1, kMaybeBroken);
    if (!designs)
        return;
    for (const DesignRoot::Design& design : *designs) {
        if (design.displayName() != DocumentCodeCombo->currentText())
            continue;
        if (!design.procode.hasDescription())
            return fail(kMaybeBroken);
        ProData->setText(design.procode.description());
    }
}

bool DocumentCodeForm::canReadDesignFile(const DesignRoot::Design& design) const {
    // Checked as the page is made from it: a pipe in a downloaded design
    // must not leave the dialog waiting for a writer.
    const auto designFile = DesignRoot(m_program).designFile(design.designCode());
    QFile file;
    return design.procode.namesDesignFile() && designFile &&
           TextFile::openRegularFile(file, *designFile).ok();
}

void DocumentCodeForm::failKeeping(const DocumentInfo& chosenBefore) {
    // A design of the same name listed before the broken one has always been
    // kept, without counting as a change of the project.
    if (chosenBefore != m_model.document())
        m_model.setDocument(chosenBefore, ProjectModel::Marking::Unmodified);
    fail(kUnreadable);
}

void DocumentCodeForm::okButton_Click() {
    const auto designs = readDesigns(1, kUnreadable);
    if (!designs)
        return;
    // When several designs share the name, the last one listed is stored.
    DocumentInfo document = m_model.document();
    for (const DesignRoot::Design& design : *designs) {
        if (design.displayName() != DocumentCodeCombo->currentText())
            continue;
        if (!canReadDesignFile(design))
            return failKeeping(document);
        document.DocumentCode = design.designCode();
        document.DocumentCodeFolder = design.folder;
    }
    // Stored even when no design has the typed name: OK counts as a change.
    m_model.setDocument(document);
    accept();
}
