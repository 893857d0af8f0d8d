#pragma once
// Tools, Mail Account: the person's own mail account that Generate Emails
// may send through. OK keeps it in Address.ini and a typed password in the
// keyring; Send Test Message tries the values as they stand, unsaved.

#include "mail_account.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class frmMailAccount final : public QDialog {
    Q_OBJECT
public:
    explicit frmMailAccount(QWidget* parent = nullptr);

    QLineEdit* txtServer;
    QSpinBox* spnPort;
    QComboBox* cboSecurity; // in the order of platform::MailSecurity
    QLineEdit* txtUser;
    QLineEdit* txtPassword; // empty: the kept password stands
    QLineEdit* txtSenderName;
    QLineEdit* txtSenderAddress;
    QLabel* lblWarning;
    QPushButton* cmdTest;

    void accept() override;

private:
    tovren::MailAccount account() const;
    void cmdTest_Click();
    void securityChanged(int index);
    void showWarning();
    // "" when the fields can be used, else what is missing.
    QString problem() const;
};
