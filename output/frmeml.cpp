#include "frmeml.h"

#include "mail_account.h"
#include "mail_merge.h"

#include "card/active_card.h"
#include "card/frmaddress.h"
#include "core/traced.h"
#include "platform/mail_sign_in.h"
#include "platform/prompts.h"
#include "platform/screen_room.h"
#include "records/address.h"
#include "records/dialog_placement.h"
#include "shell/utilities.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Generate Emails");

void tell(const QString& text, platform::Icon icon)
{
    platform::MsgBox(text, platform::Buttons::OK, icon, kTitle);
}

// Brings the card back to the row it showed before the walk, however the
// sending ended.
class ReturnToRecord {
public:
    explicit ReturnToRecord(records::Address& record)
        : m_record(record), m_varBkMk(record.varBkMk())
    {}
    ~ReturnToRecord() { m_record.setVarBkMk(m_varBkMk); }

private:
    records::Address& m_record;
    QVariant m_varBkMk;
};

} // namespace

frmEml::frmEml(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEml"));
    setWindowTitle(kTitle);

    auto* fields = new QGridLayout;
    for (const QString& caption : {QStringLiteral("Subject"), QStringLiteral("Message")}) {
        const int row = int(txtFld.size());
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("txtFld_%1").arg(row));
        field->setMinimumWidth(320);
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row, 1);
        txtFld << field;
    }
    chkCC = new QCheckBox(QStringLiteral("CC"), this);
    chkCC->setObjectName(QStringLiteral("chkCC"));
    fields->addWidget(chkCC, 2, 1);
    lblEmails = new QLabel(QStringLiteral("Emails"), this);
    lblEmails->setObjectName(QStringLiteral("lblEmails"));
    lstAttach = new QListWidget(this);
    lstAttach->setObjectName(QStringLiteral("lstAttach"));
    lstAttach->setEnabled(false);
    lstAttach->setAccessibleName(lblEmails->text());
    fields->addWidget(lblEmails, 3, 0, Qt::AlignTop);
    fields->addWidget(lstAttach, 3, 1);
    // The system's transport stays the default wherever one is installed,
    // or where no account is set up either (its absence is told then).
    cboTransport = new QComboBox(this);
    cboTransport->setObjectName(QStringLiteral("cboTransport"));
    m_account = tovren::readMailAccount();
    cboTransport->addItems({QStringLiteral("System mail (sendmail)"),
                            m_account.isSet()
                                ? QStringLiteral("Mail account (%1)").arg(m_account.senderAddress)
                                : QStringLiteral("Mail account (not set up)")});
    // A long sender's address is cut short in the box, not widening the window.
    cboTransport->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboTransport->setCurrentIndex(m_account.isSet() && platform::findSendmail().number != 0 ? 1
                                                                                              : 0);
    auto* transportLabel = new QLabel(QStringLiteral("Send t&hrough"), this);
    transportLabel->setBuddy(cboTransport);
    fields->addWidget(transportLabel, 4, 0);
    fields->addWidget(cboTransport, 4, 1);

    auto* buttons = new QVBoxLayout;
    cmdNew = button("cmdNew", QStringLiteral("&New Message"));
    cmdOpen = button("cmdOpen", QStringLiteral("&Select Message"));
    cmdAdd = button("cmdAdd", QStringLiteral("&Attach"));
    cmdDelete = button("cmdDelete", QStringLiteral("&Delete"));
    cmdSend = button("cmdSend", QStringLiteral("&Send"));
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"));
    for (QPushButton* each : {cmdNew, cmdOpen, cmdAdd, cmdDelete, cmdSend, cmdCancel})
        buttons->addWidget(each);
    buttons->addStretch();
    cmdDelete->setEnabled(false);
    cmdSend->setDefault(true);

    auto* layout = new QHBoxLayout;
    layout->addLayout(fields);
    layout->addLayout(buttons);
    platform::layOutScrolling(*this, layout);

    connect(cmdNew, &QPushButton::clicked, this, &frmEml::cmdNew_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &frmEml::cmdOpen_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmEml::cmdAttachFile_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmEml::cmdDelete_Click);
    connect(cmdSend, &QPushButton::clicked, this, &frmEml::cmdSend_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
}

QPushButton* frmEml::button(const char* name, const QString& caption)
{
    auto* each = new QPushButton(caption, this);
    each->setObjectName(QString::fromLatin1(name));
    each->setAutoDefault(false);
    return each;
}

void frmEml::Form_Load()
{
    tovren::traced("frmEml.Form_Load", [&] {
        records::centreOverMainWindow(*this);
        // The card's own rows: its filter and sort choose the contacts.
        m_emls.setRecs(tovren::cardOf(frmAddress::instance()).cls1()->rs);
    });
}

void frmEml::cmdNew_Click()
{
    tovren::traced("frmEml.cmdNew_Click", [] { modGenProcedures::OpenNotepad(); });
}

void frmEml::cmdOpen_Click()
{
    const QString path = platform::prompts().openFile(
        {QStringLiteral("Select Message"),
         QStringLiteral("Text Files (*.txt)|*.txt|All Files (*)|*"), QString()});
    if (!path.isEmpty())
        txtFld[1]->setText(path);
}

void frmEml::cmdAttachFile_Click()
{
    const QString path = platform::prompts().openFile(
        {QStringLiteral("Attach"), QStringLiteral("All Files (*)|*"), QString()});
    if (path.isEmpty())
        return;
    lstAttach->setEnabled(true);
    cmdDelete->setEnabled(true);
    lstAttach->addItem(path);
}

void frmEml::cmdDelete_Click()
{
    tovren::traced("frmEml.cmdDelete_Click", [&] {
        if (lstAttach->count() > 0 && lstAttach->currentRow() >= 0)
            delete lstAttach->takeItem(lstAttach->currentRow());
        if (lstAttach->count() == 0) {
            lstAttach->clear();
            lstAttach->setEnabled(false);
            cmdDelete->setEnabled(false);
        }
    });
}

void frmEml::cmdSend_Click()
{
    tovren::traced("frmEml.cmdSend_Click", [&] {
        if (txtFld[1]->text().isEmpty()) {
            platform::MsgBox(QStringLiteral("Select the body text to be attached"),
                             platform::Buttons::OK, platform::Icon::Question);
            txtFld[1]->setFocus();
            return;
        }
        // No rows: nothing to walk, no sign-on, and no row to remember.
        if (m_emls.RecCount() < 1)
            return;
        const ReturnToRecord returnAfterwards(*tovren::cardOf(frmAddress::instance()).cls1());

        QString sFileName = txtFld[1]->text();
        tovren::Letter letter{txtFld[0]->text(), modGenProcedures::OpenFile(sFileName), {}};
        if (letter.body.isEmpty())
            return tell(QStringLiteral("The message text is empty or could not be read. "
                                       "No message was sent."),
                        platform::Icon::Exclamation);
        QStringList paths;
        for (int i = 0; i < lstAttach->count(); ++i)
            paths << lstAttach->item(i)->text();
        if (const QString problem = tovren::readAttachments(paths, letter); !problem.isEmpty())
            return tell(problem + QStringLiteral(" No message was sent."),
                        platform::Icon::Exclamation);
        // Signing on: the transport must be there before any message is written.
        const bool throughAccount = cboTransport->currentIndex() == 1;
        if (throughAccount && !m_account.isSet())
            return tell(QStringLiteral("No mail account is set up: enter it under Tools, Mail "
                                       "Account.\r\nNo message was sent."),
                        platform::Icon::Critical);
        if (!throughAccount) {
            if (const platform::MailResult found = platform::findSendmail(); found.number != 0)
                return tell(found.description + QStringLiteral("\r\nNo message was sent."),
                            platform::Icon::Critical);
        }

        const tovren::Recipients recipients = tovren::collectRecipients(m_emls);
        QList<tovren::Contact> contacts = recipients.reachable;
        if (!chooseAfterInterruption(contacts))
            return;
        const QList<platform::MailMessage> messages =
            tovren::composeMessages(letter, contacts, chkCC->isChecked());
        if (!throughAccount || messages.isEmpty())
            return send(messages, recipients.skipped, platform::sendMail);
        // One connection, signed in once, carries every message of the Send.
        platform::SmtpSession session;
        if (const platform::MailResult opened = platform::openSignedIn(session, m_account.server);
            opened.number != 0)
            return tell(opened.description + QStringLiteral("\r\nNo message was sent."),
                        platform::Icon::Critical);
        send(messages, recipients.skipped, [&](const platform::MailMessage& message) {
            return session.send(tovren::fromAccount(m_account, message));
        });
    });
}

bool frmEml::chooseAfterInterruption(QList<tovren::Contact>& contacts)
{
    QList<tovren::Contact> notYetMailed;
    for (const tovren::Contact& contact : contacts) {
        if (!m_alreadyMailed.contains(contact.address))
            notYetMailed << contact;
    }
    const qsizetype mailed = contacts.size() - notYetMailed.size();
    if (mailed == 0)
        return true;
    const platform::Answer answer = platform::MsgBox(
        QStringLiteral("The last Send stopped early: %1 of these contacts have already been "
                       "mailed.\r\nSend only to the %2 not yet mailed?\r\n(No sends to all "
                       "%3 again.)")
            .arg(mailed)
            .arg(notYetMailed.size())
            .arg(contacts.size()),
        platform::Buttons::YesNoCancel, platform::Icon::Question, kTitle);
    if (answer == platform::Answer::Yes)
        contacts = notYetMailed;
    return answer != platform::Answer::Cancel;
}

void frmEml::send(const QList<platform::MailMessage>& messages,
                  const QList<tovren::SkippedContact>& skipped, const tovren::Deliver& deliver)
{
    QProgressDialog progress(QStringLiteral("Sending e-mail..."), QStringLiteral("Cancel"), 0,
                             int(messages.size()), this);
    progress.setWindowTitle(kTitle);
    progress.setWindowModality(Qt::WindowModal);
    // Shown at once and modal over this window: between two messages the
    // person can press its Cancel, and nothing else.
    progress.setMinimumDuration(0);
    const tovren::SendOutcome outcome =
        tovren::sendAll(messages, deliver, [&progress](qsizetype sent) {
            progress.setValue(int(sent));
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();

    // Whom a Send that stopped early has mailed, so that the next one can
    // leave them out; a complete Send starts afresh.
    if (outcome.sent == outcome.total)
        m_alreadyMailed.clear();
    else {
        for (qsizetype i = 0; i < outcome.sent; ++i) {
            for (const QString& address : messages[i].to)
                m_alreadyMailed.insert(address);
        }
    }
    const bool complete = outcome.sent == outcome.total && outcome.total > 0;
    tell(tovren::outcomeText(outcome, skipped),
         complete ? platform::Icon::Information : platform::Icon::Exclamation);
}
