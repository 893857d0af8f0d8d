#pragma once
// Tools, Synchronize Settings: the CardDAV account (the server's address,
// the user name, the password or a command that gives it) and a Test that
// signs in and finds the address book, saying plainly what failed. The
// dialog hands the account out; syncSettings() keeps it: the address and the
// user in Address.ini, the password in the keyring, never in a file.

#include "sync/sync_account.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tovren::sync {

class frmSyncSettings : public QDialog {
    Q_OBJECT
public:
    explicit frmSyncSettings(const SyncAccount& account, QWidget* parent = nullptr);

    SyncAccount account() const;
    // What was typed; "" when the person left it to the keyring or the command.
    QString password() const;

    // Signs in with what the dialog holds and shows what came of it; true
    // when the address book was found.
    bool test();

private:
    void accept() override;
    void showResult(const QString& text);
    // Why the typed address cannot be a server's; "" when it can.
    QString addressProblem() const;

    QLineEdit* m_url;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_command;
    QPushButton* m_test;
    QLabel* m_result;
};

// The command: shows the dialog and keeps what the person confirmed.
void syncSettings();

} // namespace tovren::sync
