#include "lib_frmerror.h"

#include "frmeml.h"
#include "log_files.h"
#include "mail_client.h"
#include "thread_state.h"
#include "value_text.h"

#include "platform/desktop.h"
#include "platform/prompts.h"
#include "platform/runtime_error.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Vostrel {
namespace {

const QString dialogTitle = QStringLiteral("Application Error");

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* result = new QPushButton(caption, parent);
    result->setObjectName(QLatin1String(name));
    QFont font = result->font();
    font.setFamily(QStringLiteral("Tahoma"));
    result->setFont(font);
    result->setAutoDefault(false);
    return result;
}

} // namespace

ErrorReportState& errorReportState()
{
    thread_local ErrorReportState state;
    return state;
}

lib_frmError::lib_frmError(ErrorReportState& state, QWidget* parent)
    : QDialog(parent), m_state(state), lbxErrMessage(new QPlainTextEdit(this)),
      lblErrNum(new QLabel(this)), cmdOK(button("cmdOK", QStringLiteral("&Return"), this)),
      cmdEmail(button("cmdEmail", QStringLiteral("E&mail this Error"), this)),
      cmdEmlSet(button("cmdEmlSet", QStringLiteral("&Change Email Settings"), this)),
      cmdErrorLog(button("cmdErrorLog", QStringLiteral("&Error Log"), this)),
      cmdTraceLog(button("cmdTraceLog", QStringLiteral("&Trace Log"), this))
{
    setObjectName(QStringLiteral("lib_frmError"));
    QFont verdana = font();
    verdana.setFamily(QStringLiteral("Verdana"));
    setFont(verdana);
    lblErrNum->setFont(verdana);
    lblErrNum->setObjectName(QStringLiteral("lblErrNum"));
    lbxErrMessage->setObjectName(QStringLiteral("lbxErrMessage"));
    lbxErrMessage->setReadOnly(true);
    lbxErrMessage->setAccessibleName(QStringLiteral("Error report"));
    // Long descriptions wrap on screen; the report itself keeps its lines.
    lbxErrMessage->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    cmdOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addStretch();
    buttons->addWidget(cmdEmail);
    buttons->addWidget(cmdEmlSet);
    buttons->addWidget(cmdErrorLog);
    buttons->addWidget(cmdTraceLog);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbxErrMessage, 1);
    layout->addWidget(lblErrNum);
    layout->addLayout(buttons);
    resize(640, 480);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdErrorLog, &QPushButton::clicked, this,
            [this] { openLog(errorLogPath(m_state.m_strDestination)); });
    connect(cmdTraceLog, &QPushButton::clicked, this,
            [this] { openLog(traceLogPath(m_state.m_strDestination)); });
    connect(cmdEmlSet, &QPushButton::clicked, this, &frmEml::showForThisThread);
    connect(cmdEmail, &QPushButton::clicked, this, &lib_frmError::cmdEmail_Click);
    Form_Load();
}

QString lib_frmError::reportText() const
{
    return lbxErrMessage->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

bool lib_frmError::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}

void lib_frmError::Form_Load()
{
    setWindowTitle(dialogTitle);
    cmdTraceLog->setEnabled(m_state.m_bolTraceExecution);
    lbxErrMessage->setPlainText(m_state.m_strErrDetail);
    lblErrNum->setText(QStringLiteral("Error Number: ") + numberText(m_state.m_dblErrNum));
    // The host may have left a busy cursor up when the error struck.
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

// Every activation, so the report is ready to paste into a mail.
void lib_frmError::Form_Activate()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(reportText());
}

void lib_frmError::openLog(const QString& path)
{
    try {
        platform::startDesktopProgram(platform::DesktopProgram::TextEditor, {path});
    } catch (const platform::RunTimeError& error) {
        platform::MsgBox(error.description(), platform::Buttons::OK, platform::Icon::Critical,
                         dialogTitle);
    }
}

// The body is the report as the box shows it at the moment of the click.
void lib_frmError::cmdEmail_Click()
{
    if (!m_state.m_bShowEmailTypScre)
        frmEml::showForThisThread();
    // A second click while a mail is on its way would start another.
    cmdEmail->setEnabled(false);
    cmdEmlSet->setEnabled(false);
    setCursor(Qt::WaitCursor);
    const MailSettings& settings = mailSettings();
    switch (m_state.m_bytEmailTyp) {
    case 1:
        mailByLink(m_state, reportText());
        break;
    case 2:
        mailBySystemMail(m_state, reportText());
        break;
    case 3:
        m_smtp.SendEmail(settings.MailServer, settings.FromName, settings.FromEmailAddress,
                         m_state.m_strToName, m_state.m_strEmailAddress, m_state.m_strSubject,
                         reportText(), settings.SecureSignIn);
        break;
    default:
        break;
    }
    unsetCursor();
    cmdEmail->setEnabled(true);
    cmdEmlSet->setEnabled(true);
}

} // namespace Vostrel
