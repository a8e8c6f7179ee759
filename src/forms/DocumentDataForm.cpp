#include "forms/DocumentDataForm.h"

#include "app/MApp.h"
#include "app/UserDialogs.h"
#include "forms/DocumentCodeForm.h"
#include "forms/FixedDialog.h"
#include "project/BwkWriter.h"
#include "text/LineEnds.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

DocumentDataForm::DocumentDataForm(MApp& app, UserDialogs& dialogs, ProgramFolder program,
                                   QWidget* parent)
    : QDialog(parent, fixedDialogFlags())
    , m_app(app)
    , m_dialogs(dialogs)
    , m_program(std::move(program)) {
    setWindowTitle(QStringLiteral("ドキュメント設定"));
    PageTitleEdit = new QLineEdit(this);
    CreaterEdit = new QLineEdit(this);
    HomePageEdit = new QLineEdit(QStringLiteral("http://"), this);
    MailEdit = new QLineEdit(this);
    DocumentCodeEdit = new QLabel(QStringLiteral("．．．"), this);
    DocumentCodeEdit->setFrameShape(QFrame::StyledPanel);
    DocumentCodeEdit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    DocumentViewEdit = new QPlainTextEdit(this);
    DocumentViewEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DocumentViewEdit->setTabChangesFocus(true);
    DocumentViewEdit->setFixedHeight(DocumentViewEdit->fontMetrics().lineSpacing() * 6 + 12);
    datainfoButton = new QPushButton(QStringLiteral("..."), this);
    datainfoButton->setAutoDefault(false);

    auto* buttons = new QDialogButtonBox(this);
    okButton = buttons->addButton(QStringLiteral("確定"), QDialogButtonBox::AcceptRole);
    cancelButton = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    okButton->setDefault(true);

    const QString captions[] = {
        QStringLiteral("ページタイトル"), QStringLiteral("HomePageアドレス"),
        QStringLiteral("メールアドレス"), QStringLiteral("作者名"),
        QStringLiteral("説明文"),         QStringLiteral("DocumentCode")};
    QLabel* StaticLabel[6];
    for (int i = 0; i < 6; ++i)
        StaticLabel[i] = new QLabel(captions[i], this);
    StaticLabel[0]->setBuddy(PageTitleEdit);
    StaticLabel[1]->setBuddy(HomePageEdit);
    StaticLabel[2]->setBuddy(MailEdit);
    StaticLabel[3]->setBuddy(CreaterEdit);
    StaticLabel[4]->setBuddy(DocumentViewEdit);

    // Title and author side by side, then one field a row, each caption just
    // above its field.
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);
    grid->addWidget(StaticLabel[0], 0, 0);
    grid->addWidget(StaticLabel[3], 0, 1, 1, 2);
    grid->addWidget(PageTitleEdit, 1, 0);
    grid->addWidget(CreaterEdit, 1, 1, 1, 2);
    grid->addWidget(StaticLabel[1], 2, 0, 1, 3);
    grid->addWidget(HomePageEdit, 3, 0, 1, 3);
    grid->addWidget(StaticLabel[2], 4, 0, 1, 3);
    grid->addWidget(MailEdit, 5, 0, 1, 3);
    grid->addWidget(StaticLabel[5], 6, 0, 1, 3);
    grid->addWidget(DocumentCodeEdit, 7, 0, 1, 2);
    grid->addWidget(datainfoButton, 7, 2);
    grid->addWidget(StaticLabel[4], 8, 0, 1, 3);
    grid->addWidget(DocumentViewEdit, 9, 0, 1, 3);
    grid->addWidget(buttons, 10, 0, 1, 3);
    for (int row : {2, 4, 6, 8, 10})
        grid->setRowMinimumHeight(row, 28);
    grid->setColumnMinimumWidth(0, 260);
    grid->setColumnMinimumWidth(1, 200);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(datainfoButton, &QPushButton::clicked, this, &DocumentDataForm::datainfoButton_Click);
    connect(okButton, &QPushButton::clicked, this, &DocumentDataForm::okButton_Click);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(PageTitleEdit, CreaterEdit);
    setTabOrder(CreaterEdit, HomePageEdit);
    setTabOrder(HomePageEdit, MailEdit);
    setTabOrder(MailEdit, datainfoButton);
    setTabOrder(datainfoButton, DocumentViewEdit);
    Form_Load();
}

void DocumentDataForm::Form_Load() {
    PageTitleEdit->setText(m_app.document().DocumentTitle);
    CreaterEdit->setText(m_app.document().DocumentCreater);
    HomePageEdit->setText(m_app.document().DocumentHomepage);
    MailEdit->setText(m_app.document().DocumentMail);
    DocumentCodeEdit->setText(m_app.document().DocumentCode);
    DocumentViewEdit->setPlainText(
        LineEnds::toLf(m_app.document().DocumentDataview));
}

void DocumentDataForm::datainfoButton_Click() {
    DocumentCodeForm designs(m_app, m_dialogs, m_program, this);
    designs.exec();
    // A design confirmed there is stored at once, whatever this dialog ends
    // with; a broken design closed only that dialog, and what was typed here
    // stays.
    DocumentCodeEdit->setText(m_app.document().DocumentCode);
}

QString DocumentDataForm::description() const {
    return LineEnds::toCrLf(DocumentViewEdit->toPlainText());
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
        m_dialogs.report(storable.error(), UserDialogs::boxTitle());
        return;
    }
    m_app.document().DocumentTitle = PageTitleEdit->text();
    m_app.document().DocumentCreater = CreaterEdit->text();
    m_app.document().DocumentHomepage = HomePageEdit->text();
    m_app.document().DocumentMail = MailEdit->text();
    m_app.document().DocumentCode = DocumentCodeEdit->text();
    m_app.document().DocumentDataview = description();
    m_app.DataChanged = true;
    accept();
}
