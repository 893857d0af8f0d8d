#pragma once
// The error report dialog: shows a handled error's report, puts it on the
// clipboard each time it becomes active, and opens the logs in the desktop's
// text editor, and mails it by the method chosen in the mail settings.
// HandleError builds one for each error and destroys it when it closes;
// what must outlive it is kept per thread in ErrorReportState.

#include "smtp_mailer.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace Vostrel {

struct ErrorReportState {
    // Filled by HandleError before each showing.
    QString m_strErrDetail;
    QString m_strDestination;
    double m_dblErrNum = 0;
    bool m_bolTraceExecution = false;
    QString m_strEmailAddress;
    QString m_strToName;
    QString m_strSubject;
    QString m_strEmailDetailAPI;  // emptied; the mail link of the latest mailing
    QString m_strEmailDetailAPI2; // emptied; passed along with the link
    // The mail method chosen in the mail settings, kept for the whole run.
    bool m_bShowEmailTypScre = false; // true: do not ask for the settings before mailing
    quint8 m_bytEmailTyp = 0;         // 1 mail client, 2 direct send, 3 SMTP; 0 not chosen
};

// This thread's dialog variables, created on first use.
ErrorReportState& errorReportState();

class lib_frmError final : public QDialog {
    Q_OBJECT

public:
    explicit lib_frmError(ErrorReportState& state, QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;

private:
    // The report as the box shows it, with CR LF line ends.
    QString reportText() const;
    void Form_Load();
    void Form_Activate();
    void openLog(const QString& path);
    void cmdEmail_Click();

    ErrorReportState& m_state;
    QPlainTextEdit* lbxErrMessage;
    QLabel* lblErrNum;
    QPushButton* cmdOK;
    QPushButton* cmdEmail;
    QPushButton* cmdEmlSet;
    QPushButton* cmdErrorLog;
    QPushButton* cmdTraceLog;
    SmtpMailer m_smtp; // Winsock1 and the reply buffer of mail method 3
};

} // namespace Vostrel
