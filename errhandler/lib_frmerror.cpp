#include "lib_frmerror.h"

#include "log_files.h"
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
    // Long descriptions wrap on screen; the report itself keeps its lines.
    lbxErrMessage->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    cmdOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addStretch();
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

} // namespace Vostrel
