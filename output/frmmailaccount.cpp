#include "frmmailaccount.h"

#include "platform/mail_sign_in.h"
#include "platform/prompts.h"
#include "records/dialog_placement.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Mail Account");

using platform::MailSecurity;

template <typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

frmMailAccount::frmMailAccount(QWidget* parent)
    : QDialog(parent), txtServer(named(new QLineEdit(this), "txtServer")),
      spnPort(named(new QSpinBox(this), "spnPort")),
      cboSecurity(named(new QComboBox(this), "cboSecurity")),
      txtUser(named(new QLineEdit(this), "txtUser")),
      txtPassword(named(new QLineEdit(this), "txtPassword")),
      txtSenderName(named(new QLineEdit(this), "txtSenderName")),
      txtSenderAddress(named(new QLineEdit(this), "txtSenderAddress")),
      lblWarning(named(new QLabel(this), "lblWarning")),
      cmdTest(named(new QPushButton(QStringLiteral("Send &Test Message"), this), "cmdTest"))
{
    setObjectName(QStringLiteral("frmMailAccount"));
    setWindowTitle(kTitle);
    spnPort->setRange(1, 65535);
    for (const tovren::SecurityMode& mode : tovren::kSecurityModes)
        cboSecurity->addItem(QLatin1String(mode.shown));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setPlaceholderText(QStringLiteral("kept in the keyring"));
    txtServer->setPlaceholderText(QStringLiteral("smtp.example.org"));
    lblWarning->setWordWrap(true);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Server:"), txtServer);
    fields->addRow(QStringLiteral("&Port:"), spnPort);
    fields->addRow(QStringLiteral("Se&curity:"), cboSecurity);
    fields->addRow(QStringLiteral("&User name:"), txtUser);
    fields->addRow(QStringLiteral("Pass&word:"), txtPassword);
    fields->addRow(QStringLiteral("Sender's &name:"), txtSenderName);
    fields->addRow(QStringLiteral("Sender's &address:"), txtSenderAddress);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(cmdTest, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(lblWarning);
    layout->addWidget(buttons);

    const tovren::MailAccount kept = tovren::readMailAccount();
    txtServer->setText(kept.server.host);
    cboSecurity->setCurrentIndex(int(kept.server.security));
    spnPort->setValue(kept.server.port);
    txtUser->setText(kept.server.user);
    txtSenderName->setText(kept.senderName);
    txtSenderAddress->setText(kept.senderAddress);
    showWarning();

    connect(cboSecurity, &QComboBox::currentIndexChanged, this, &frmMailAccount::securityChanged);
    connect(txtUser, &QLineEdit::textChanged, this, &frmMailAccount::showWarning);
    connect(cmdTest, &QPushButton::clicked, this, &frmMailAccount::cmdTest_Click);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    records::centreOverMainWindow(*this);
}

tovren::MailAccount frmMailAccount::account() const
{
    return {{txtServer->text().trimmed(), quint16(spnPort->value()),
             MailSecurity(cboSecurity->currentIndex()), txtUser->text().trimmed()},
            txtSenderName->text(),
            txtSenderAddress->text().trimmed()};
}

// A port that was the old mode's usual one follows the mode.
void frmMailAccount::securityChanged(int index)
{
    if (std::any_of(tovren::kSecurityModes.begin(), tovren::kSecurityModes.end(),
                    [this](const tovren::SecurityMode& mode) {
                        return spnPort->value() == platform::defaultPort(mode.mode);
                    }))
        spnPort->setValue(platform::defaultPort(MailSecurity(index)));
    showWarning();
}

void frmMailAccount::showWarning()
{
    const bool plain = cboSecurity->currentIndex() == int(MailSecurity::None)
                       && !txtUser->text().trimmed().isEmpty();
    lblWarning->setText(plain ? QStringLiteral("Without security the password travels "
                                               "unencrypted: Tovren sends it only to a mail "
                                               "server on this computer.")
                              : QString());
    lblWarning->setVisible(plain);
}

QString frmMailAccount::problem() const
{
    if (txtServer->text().trimmed().isEmpty())
        return QStringLiteral("Enter the mail server's name.");
    if (!platform::isMailAddress(txtSenderAddress->text().trimmed()))
        return QStringLiteral("Enter the sender's e-mail address (name@example.org).");
    return QString();
}

void frmMailAccount::cmdTest_Click()
{
    if (const QString missing = problem(); !missing.isEmpty())
        return void(
            platform::MsgBox(missing, platform::Buttons::OK, platform::Icon::Exclamation, kTitle));
    const tovren::MailAccount tried = account();
    platform::SmtpSession session;
    platform::MailResult result =
        platform::openSignedIn(session, tried.server, txtPassword->text());
    if (result.number == 0)
        result = session.send(tovren::fromAccount(
            tried, {{},
                    {},
                    {tried.senderAddress},
                    QStringLiteral("Tovren test message"),
                    QStringLiteral("Tovren sends mail through this account.\r\n")}));
    session.close();
    if (result.number == 0)
        platform::MsgBox(
            QStringLiteral("The test message was sent to %1.").arg(tried.senderAddress),
            platform::Buttons::OK, platform::Icon::Information, kTitle);
    else
        platform::MsgBox(QStringLiteral("The test message was not sent.\r\n\r\n")
                             + result.description,
                         platform::Buttons::OK, platform::Icon::Critical, kTitle);
}

void frmMailAccount::accept()
{
    if (const QString missing = problem(); !missing.isEmpty())
        return void(
            platform::MsgBox(missing, platform::Buttons::OK, platform::Icon::Exclamation, kTitle));
    const tovren::MailAccount kept = account();
    if (!tovren::writeMailAccount(kept))
        platform::MsgBox(QStringLiteral("The mail account could not be written to Address.ini."),
                         platform::Buttons::OK, platform::Icon::Critical, kTitle);
    if (!txtPassword->text().isEmpty())
        platform::keepMailPassword(kept.server, txtPassword->text());
    QDialog::accept();
}
