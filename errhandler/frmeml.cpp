#include "frmeml.h"

#include "lib_frmerror.h"
#include "thread_state.h"

#include "platform/prompts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Vostrel {
namespace {

constexpr quint8 mailLink = 1;
constexpr quint8 systemMail = 2;
constexpr quint8 smtp = 3;

const QString dialogTitle = QStringLiteral("Email");

template <typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

void frmEml::showForThisThread()
{
    // Lives as long as its thread's program; it belongs to no window, since
    // the report dialog that shows it is gone after each error.
    thread_local QPointer<frmEml> dialog;
    if (!dialog)
        dialog = new frmEml(errorReportState(), mailSettings());
    platform::prompts().showModal(*dialog);
    if (dialog && dialog->m_unloaded)
        delete dialog.data();
}

frmEml::frmEml(ErrorReportState& report, MailSettings& settings)
    : m_report(report), m_settings(settings),
      optDef(named(new QRadioButton(QStringLiteral("De&fault"), this), "optDef")),
      optOutlook(named(new QRadioButton(QStringLiteral("System &Mail"), this), "optOutlook")),
      optSmtp(named(new QRadioButton(QStringLiteral("&SMTP"), this), "optSmtp")),
      txtMailserver(named(new QLineEdit(this), "txtMailserver")),
      txtFrom(named(new QLineEdit(this), "txtFrom")),
      txtEmailAddress(named(new QLineEdit(this), "txtEmailAddress")),
      chkSecure(named(new QCheckBox(QStringLiteral("Secure connection and sign-&in"), this),
                      "chkSecure")),
      chkShowScreen(
          named(new QCheckBox(QStringLiteral("&Do not show this screen"), this), "chkShowScreen")),
      cmdSend(named(new QPushButton(QStringLiteral("Ok"), this), "cmdSend")),
      cmdCancel(named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel"))
{
    setObjectName(QStringLiteral("frmEml"));
    setWindowTitle(dialogTitle);
    auto* methods = new QHBoxLayout;
    for (QRadioButton* option : {optDef, optOutlook, optSmtp})
        methods->addWidget(option);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("MailServer: "), txtMailserver);
    fields->addRow(QStringLiteral("From: "), txtFrom);
    fields->addRow(QStringLiteral("EmailAddress: "), txtEmailAddress);
    fields->addRow(QString(), chkSecure);
    chkSecure->setToolTip(QStringLiteral("Encrypts the connection and signs in as the sender's "
                                         "address; always so on ports 587 and 465."));
    txtMailserver->setPlaceholderText(QStringLiteral("host or host:port"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkShowScreen);
    buttons->addStretch();
    buttons->addWidget(cmdSend);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(methods);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    cmdSend->setDefault(true);

    // Each choice takes effect at once, before "Ok".
    connect(optDef, &QRadioButton::clicked, this, [this] { chooseMethod(mailLink); });
    connect(optOutlook, &QRadioButton::clicked, this, [this] { chooseMethod(systemMail); });
    connect(optSmtp, &QRadioButton::clicked, this, [this] { chooseMethod(smtp); });
    connect(chkShowScreen, &QCheckBox::toggled, this,
            [this](bool checked) { m_report.m_bShowEmailTypScre = checked; });
    connect(cmdSend, &QPushButton::clicked, this, &frmEml::cmdSend_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::hide);
    Form_Load();
}

void frmEml::Form_Load()
{
    optOutlook->setChecked(true);
    chooseMethod(systemMail);
    txtMailserver->setText(m_settings.MailServer);
    txtFrom->setText(m_settings.FromName);
    txtEmailAddress->setText(m_settings.FromEmailAddress);
    chkSecure->setChecked(m_settings.SecureSignIn);
}

void frmEml::chooseMethod(quint8 method)
{
    EnableTextBoxes(method == smtp);
    m_report.m_bytEmailTyp = method;
}

void frmEml::EnableTextBoxes(bool on)
{
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->setEnabled(on);
        QPalette colours = box->palette();
        // On: the desktop's field colour (white on a light desktop), which its
        // text reads on; off: the dialog's own grey, as a box that takes no
        // typing looks.
        colours.setColor(QPalette::Base,
                         on ? palette().color(QPalette::Base)
                            : palette().color(QPalette::Disabled, QPalette::Window));
        box->setPalette(colours);
    }
    chkSecure->setEnabled(on);
    if (on)
        txtMailserver->setFocus();
}

void frmEml::cmdSend_Click()
{
    if (!optSmtp->isChecked())
        return hide();
    if (txtMailserver->text().isEmpty()) {
        platform::MsgBox(QStringLiteral("Enter the MailServer for sending the Email through SMTP."),
                         platform::Buttons::OK, platform::Icon::None, dialogTitle);
        return txtMailserver->setFocus();
    }
    m_settings.MailServer = txtMailserver->text();
    m_settings.FromName = txtFrom->text();
    if (txtEmailAddress->text().isEmpty()) {
        platform::MsgBox(
            QStringLiteral("Enter the Email address for sending the Email through SMTP."),
            platform::Buttons::OK, platform::Icon::None, dialogTitle);
        return txtEmailAddress->setFocus();
    }
    m_settings.FromEmailAddress = txtEmailAddress->text();
    m_settings.SecureSignIn = chkSecure->isChecked();
    hide();
}

// The close box unloads the dialog: its next showing loads it afresh.
void frmEml::closeEvent(QCloseEvent* event)
{
    m_unloaded = true;
    QDialog::closeEvent(event);
}

// Escape does what "Cancel" does: the choices already made stay in force.
void frmEml::reject()
{
    hide();
}

} // namespace Vostrel
