#include "forms/DocumentDataForm.h"

#include "app/ProjectModel.h"
#include "app/UserDialogs.h"
#include "forms/DocumentCodeForm.h"
#include "forms/FixedDialog.h"
#include "forms/Named.h"
#include "forms/Twips.h"
#include "project/BwkWriter.h"
#include "text/LineEnds.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <limits>

DocumentDataForm::DocumentDataForm(ProjectModel& model, UserDialogs& dialogs, ProgramFolder program,
                                   QWidget* parent)
    : QDialog(parent, fixedDialogFlags())
    , m_model(model)
    , m_dialogs(dialogs)
    , m_program(std::move(program)) {
    setWindowTitle(QStringLiteral("ドキュメント設定"));
    buildControls();
    layOut();
    connect(datainfoButton, &QPushButton::clicked, this, &DocumentDataForm::datainfoButton_Click);
    connect(okButton, &QPushButton::clicked, this, &DocumentDataForm::okButton_Click);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
}

void DocumentDataForm::buildControls() {
    PageTitleEdit = named(new QLineEdit(this), u"PageTitleEdit");
    CreaterEdit = named(new QLineEdit(this), u"CreaterEdit");
    HomePageEdit = named(new QLineEdit(QStringLiteral("http://"), this), u"HomePageEdit");
    MailEdit = named(new QLineEdit(this), u"MailEdit");
    // A line edit cuts longer text to 32,767 characters without a word; the
    // file takes any length.
    for (QLineEdit* edit : {PageTitleEdit, CreaterEdit, HomePageEdit, MailEdit})
        edit->setMaxLength(std::numeric_limits<int>::max());
    DocumentCodeEdit = named(new QLabel(QStringLiteral("．．．"), this), u"DocumentCodeEdit");
    DocumentCodeEdit->setFrameShape(QFrame::StyledPanel);
    DocumentCodeEdit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    DocumentViewEdit = named(new QPlainTextEdit(this), u"DocumentViewEdit");
    DocumentViewEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DocumentViewEdit->setTabChangesFocus(true);
    DocumentViewEdit->setFixedHeight(DocumentViewEdit->fontMetrics().lineSpacing() * 6 +
                                     Twips::toPixels(180, this));
    datainfoButton = named(new QPushButton(QStringLiteral("..."), this), u"datainfoButton");
    datainfoButton->setAutoDefault(false);
}

void DocumentDataForm::layOut() {
    auto* buttons = new QDialogButtonBox(this);
    okButton = named(buttons->addButton(QStringLiteral("確定"), QDialogButtonBox::AcceptRole),
                     u"okButton");
    cancelButton =
        named(buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole),
              u"cancelButton");
    okButton->setDefault(true);

    // Each caption just above its field.
    auto caption = [this](const char16_t* text, QWidget* buddy) {
        auto* label = new QLabel(QString::fromUtf16(text), this);
        label->setBuddy(buddy);
        return label;
    };

    // Title and author side by side, then one field a row.
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(Twips::toPixels(30, this));
    grid->addWidget(caption(u"ページタイトル", PageTitleEdit), 0, 0);
    grid->addWidget(caption(u"作者名", CreaterEdit), 0, 1, 1, 2);
    grid->addWidget(PageTitleEdit, 1, 0);
    grid->addWidget(CreaterEdit, 1, 1, 1, 2);
    grid->addWidget(caption(u"HomePageアドレス", HomePageEdit), 2, 0, 1, 3);
    grid->addWidget(HomePageEdit, 3, 0, 1, 3);
    grid->addWidget(caption(u"メールアドレス", MailEdit), 4, 0, 1, 3);
    grid->addWidget(MailEdit, 5, 0, 1, 3);
    grid->addWidget(caption(u"DocumentCode", nullptr), 6, 0, 1, 3);
    grid->addWidget(DocumentCodeEdit, 7, 0, 1, 2);
    grid->addWidget(datainfoButton, 7, 2);
    grid->addWidget(caption(u"説明文", DocumentViewEdit), 8, 0, 1, 3);
    grid->addWidget(DocumentViewEdit, 9, 0, 1, 3);
    grid->addWidget(buttons, 10, 0, 1, 3);
    for (int row : {2, 4, 6, 8, 10})
        grid->setRowMinimumHeight(row, Twips::toPixels(420, this));
    grid->setColumnMinimumWidth(0, Twips::toPixels(3900, this));
    grid->setColumnMinimumWidth(1, Twips::toPixels(3000, this));
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(PageTitleEdit, CreaterEdit);
    setTabOrder(CreaterEdit, HomePageEdit);
    setTabOrder(HomePageEdit, MailEdit);
    setTabOrder(MailEdit, datainfoButton);
    setTabOrder(datainfoButton, DocumentViewEdit);
}

void DocumentDataForm::Form_Load() {
    const DocumentInfo& document = m_model.document();
    PageTitleEdit->setText(document.DocumentTitle);
    CreaterEdit->setText(document.DocumentCreater);
    HomePageEdit->setText(document.DocumentHomepage);
    MailEdit->setText(document.DocumentMail);
    DocumentCodeEdit->setText(document.DocumentCode);
    m_loadedDescription = document.DocumentDataview;
    DocumentViewEdit->setPlainText(LineEnds::toLf(m_loadedDescription));
    m_shownDescription = DocumentViewEdit->toPlainText();
}

void DocumentDataForm::datainfoButton_Click() {
    DocumentCodeForm designs(m_model, m_dialogs, m_program, this);
    designs.exec();
    // A design confirmed there is stored at once, whatever this dialog ends
    // with; a broken design closed only that dialog, and what was typed here
    // stays.
    DocumentCodeEdit->setText(m_model.document().DocumentCode);
}

QString DocumentDataForm::description() const {
    // The editor makes every line end LF, lone CRs too; only a description
    // the user changed gets CR LF throughout.
    const QString shown = DocumentViewEdit->toPlainText();
    return shown == m_shownDescription ? m_loadedDescription : LineEnds::toCrLf(shown);
}

Status DocumentDataForm::checkStorable() const {
    const std::pair<const QLineEdit*, const char16_t*> lines[] = {
        {PageTitleEdit, u"ページタイトル"},
        {CreaterEdit, u"作者名"},
        {HomePageEdit, u"HomePageアドレス"},
        {MailEdit, u"メールアドレス"}};
    for (const auto& [edit, name] : lines) {
        if (Status checked = BwkWriter::checkLineField(edit->text(), QString::fromUtf16(name));
            !checked)
            return checked;
    }
    return BwkWriter::checkQuotedField(description(), QStringLiteral("説明文"));
}

void DocumentDataForm::okButton_Click() {
    // Text the project file cannot hold is pointed out while it can still
    // be changed, not only at the next save.
    if (const Status storable = checkStorable(); !storable) {
        m_dialogs.beep();
        m_dialogs.report(storable.error(), UserDialogs::boxTitle());
        return;
    }
    // Stored even when nothing was edited: OK counts as a change.
    DocumentInfo document = m_model.document();
    document.DocumentTitle = PageTitleEdit->text();
    document.DocumentCreater = CreaterEdit->text();
    document.DocumentHomepage = HomePageEdit->text();
    document.DocumentMail = MailEdit->text();
    document.DocumentCode = DocumentCodeEdit->text();
    document.DocumentDataview = description();
    m_model.setDocument(document);
    accept();
}
