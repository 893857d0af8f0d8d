#pragma once
// frmEml, "Generate Emails": one prepared message to every contact of the
// card's current selection that has an e-mail address, through the system
// mail transport or the person's mail account, either personally ("Dear" and each name) or as one
// common message to all; with files attached.

#include "mail_account.h"
#include "mail_merge.h"

#include "records/emls.h"

#include <QDialog>
#include <QSet>
#include <QVector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmEml : public QDialog {
    Q_OBJECT
public:
    explicit frmEml(QWidget* parent = nullptr);

    QVector<QLineEdit*> txtFld; // 0 the subject, 1 the body's file or "quoted text"
    QCheckBox* chkCC = nullptr;
    QComboBox* cboTransport = nullptr; // 0 the system's sendmail, 1 the person's mail account
    QListWidget* lstAttach = nullptr;
    QLabel* lblEmails = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdCancel = nullptr;

    void Form_Load();
    void cmdNew_Click();
    void cmdOpen_Click();
    void cmdAttachFile_Click();
    void cmdDelete_Click();
    void cmdSend_Click();

private:
    QPushButton* button(const char* name, const QString& caption);
    // Sends `messages` through `deliver` under a progress dialog and tells
    // the person how it went.
    void send(const QList<platform::MailMessage>& messages,
              const QList<tovren::SkippedContact>& skipped, const tovren::Deliver& deliver);
    // After an interrupted Send, whom to mail now: everyone, only those
    // not yet mailed, or (an empty list and false) nobody.
    bool chooseAfterInterruption(QList<tovren::Contact>& contacts);

    records::Emls m_emls;
    // The mail account as set when the window opened: nothing can change it
    // while this modal window is up.
    tovren::MailAccount m_account;
    // The addresses a Send that stopped early had already mailed.
    QSet<QString> m_alreadyMailed;
};
