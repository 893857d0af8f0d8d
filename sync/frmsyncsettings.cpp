#include "sync/frmsyncsettings.h"

#include "sync/book_choice.h"
#include "sync/carddav_collection.h"

#include "platform/prompts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tovren::sync {

namespace {

const QString kTitle = QStringLiteral("Synchronize Settings");

QLineEdit* field(QWidget* parent, const char* name, const QString& accessibleName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(accessibleName);
    return edit;
}

} // namespace

frmSyncSettings::frmSyncSettings(const SyncAccount& account, QWidget* parent)
    : QDialog(parent), m_url(field(this, "txtSyncUrl", QStringLiteral("Server address"))),
      m_user(field(this, "txtSyncUser", QStringLiteral("User name"))),
      m_password(field(this, "txtSyncPassword", QStringLiteral("Password"))),
      m_command(field(this, "txtSyncPasswordCommand", QStringLiteral("Password command"))),
      m_test(new QPushButton(QStringLiteral("&Test"), this)), m_result(new QLabel(this))
{
    setObjectName(QStringLiteral("frmSyncSettings"));
    setWindowTitle(kTitle);
    m_url->setText(account.url.toString());
    m_url->setPlaceholderText(QStringLiteral("https://dav.example.org/"));
    // Wide enough for an address book's whole URL at any font size.
    m_url->setMinimumWidth(m_url->fontMetrics().averageCharWidth() * 48);
    m_user->setText(account.user);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("kept in the keyring"));
    m_command->setText(account.passwordCommand);
    m_command->setPlaceholderText(QStringLiteral("optional: pass show dav"));
    m_test->setObjectName(QStringLiteral("cmdSyncTest"));
    m_test->setAccessibleName(QStringLiteral("Test"));
    m_result->setObjectName(QStringLiteral("lblSyncResult"));
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmSyncSettings::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_test, &QPushButton::clicked, this, &frmSyncSettings::test);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Server &address:"), m_url);
    form->addRow(QStringLiteral("&User name:"), m_user);
    form->addRow(QStringLiteral("&Password:"), m_password);
    form->addRow(QStringLiteral("Password &command:"), m_command);
    // Test stands above OK and Cancel, its answer beside it, so Tab meets it
    // where it is seen: after the fields, before the buttons that close.
    form->addRow(m_test, m_result);
    form->addRow(buttons);
    setTabOrder(m_url, m_user);
    setTabOrder(m_user, m_password);
    setTabOrder(m_password, m_command);
    setTabOrder(m_command, m_test);
}

SyncAccount frmSyncSettings::account() const
{
    return {QUrl::fromUserInput(m_url->text().trimmed()), m_user->text().trimmed(),
            m_command->text().trimmed()};
}

QString frmSyncSettings::password() const
{
    return m_password->text();
}

QString frmSyncSettings::addressProblem() const
{
    const QUrl url = account().url;
    if (m_url->text().trimmed().isEmpty())
        return QStringLiteral("Type the address of the contacts server.");
    if (!url.isValid() || url.host().isEmpty()
        || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        return QStringLiteral("\"%1\" is not the address of a server: it starts with https:// "
                              "or http://, then the server's name.")
            .arg(m_url->text().trimmed());
    return QString();
}

bool frmSyncSettings::test()
{
    const QString problem = addressProblem();
    if (!problem.isEmpty()) {
        showResult(problem);
        return false;
    }
    showResult(QStringLiteral("Signing in..."));
    const OpenedCollection opened =
        password().isEmpty() ? CardDavCollection::open(account(), chooseBookByPrompt)
                             : CardDavCollection::open(account(), password(), chooseBookByPrompt);
    showResult(opened.collection
                   ? QStringLiteral("Signed in. Contacts will be synchronized with %1.")
                         .arg(opened.collection->url().toDisplayString())
                   : QStringLiteral("The test failed: %1").arg(opened.failure.message));
    return bool(opened.collection);
}

void frmSyncSettings::showResult(const QString& text)
{
    m_result->setText(text);
    m_result->setAccessibleName(text);
    // A server's reason can take several lines: the window grows to show it whole.
    resize(width(), std::max(height(), layout()->totalHeightForWidth(width())));
}

void frmSyncSettings::accept()
{
    const QString problem = addressProblem();
    if (!problem.isEmpty()) {
        platform::MsgBox(problem, platform::Buttons::OK, platform::Icon::Exclamation, kTitle);
        m_url->setFocus();
        return;
    }
    QDialog::accept();
}

void syncSettings()
{
    frmSyncSettings dialog(readSyncAccount(), QApplication::activeWindow());
    platform::prompts().showModal(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    const SyncAccount account = dialog.account();
    if (!writeSyncAccount(account)) {
        platform::MsgBox(QStringLiteral("The settings could not be saved: Address.ini cannot be "
                                        "written."),
                         platform::Buttons::OK, platform::Icon::Exclamation, kTitle);
        return;
    }
    if (!dialog.password().isEmpty() && !keepAccountPassword(account, dialog.password()))
        platform::MsgBox(QStringLiteral("No keyring runs on this desktop: the password is kept "
                                        "until Tovren ends, and asked again after that."),
                         platform::Buttons::OK, platform::Icon::Information, kTitle);
}

} // namespace tovren::sync
