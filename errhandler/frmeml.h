#pragma once
// The mail settings dialog: how the error report is mailed (mail link,
// system mail, or SMTP with its server, its sender and whether it is
// secured). One per thread; "Ok" and "Cancel" only hide it, so the choices
// stay for the next showing; its close box unloads it, and the next showing
// starts afresh.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Vostrel {

struct ErrorReportState;
struct MailSettings;

class frmEml final : public QDialog {
    Q_OBJECT

public:
    // Shows this thread's dialog modally, loading it first when needed.
    static void showForThisThread();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    frmEml(ErrorReportState& report, MailSettings& settings);
    void Form_Load();
    void chooseMethod(quint8 method);
    void EnableTextBoxes(bool on);
    void cmdSend_Click();

    ErrorReportState& m_report;
    MailSettings& m_settings;
    bool m_unloaded = false;
    QRadioButton* optDef;
    QRadioButton* optOutlook;
    QRadioButton* optSmtp;
    QLineEdit* txtMailserver;
    QLineEdit* txtFrom;
    QLineEdit* txtEmailAddress;
    QCheckBox* chkSecure;
    QCheckBox* chkShowScreen;
    QPushButton* cmdSend;
    QPushButton* cmdCancel;
};

} // namespace Vostrel
