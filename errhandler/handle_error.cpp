// HandleError: from a caught error to the report in Error.log and on the
// screen, and back to an empty stack.

#include "err_handler.h"

#include "db_messages.h"
#include "lib_frmerror.h"
#include "log_files.h"
#include "thread_state.h"

#include "platform/error_numbers.h"
#include "platform/prompts.h"
#include "platform/runtime_error.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>

#include <cmath>
#include <limits>

namespace Vostrel {
namespace {

// Runs a step whose failure must not stop the steps after it.
template <typename Step>
void passingOverFailures(Step&& step)
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

qint32 ErrHandler::HandleError(const QString& vstrErrDesc, double vdblErrNum, qint32 vintErrLine,
                               const QString& strCustomErrorMessage)
{
    // Up to the event, any failure ends the call with its number.
    bool cancel = false;
    try {
        if (const qint32 failure =
                storeError(vstrErrDesc, vdblErrNum, vintErrLine, strCustomErrorMessage))
            return failure;
        if (vdblErrNum == 0)
            return 0;
        CollectDbErrors();
        m_procName = m_callStack[m_top];
        if (m_sink)
            m_sink->BeforeHandlerCalled(cancel);
    } catch (const platform::RunTimeError& error) {
        return error.number();
    } catch (...) {
        return platform::err::InternalError;
    }

    // From here on the report goes as far as it can.
    if (!cancel) {
        passingOverFailures([this] {
            m_errorLogDisplay = buildReport(reportData());
            writeErrorLog(errorLogPath(m_destination), m_errorLogDisplay);
        });
        passingOverFailures([this] {
            if (m_sink)
                m_sink->AfterHandlerCalled();
        });
    }
    if (m_useInterface)
        passingOverFailures([this] { showReport(); });
    emptyStack();
    return 0;
}

qint32 ErrHandler::storeError(const QString& desc, double number, qint32 line,
                              const QString& custom)
{
    if (line < std::numeric_limits<qint16>::min() || line > std::numeric_limits<qint16>::max())
        return platform::err::Overflow;
    m_errLine = qint16(line);
    m_customErrMessage = custom;
    // Rounded half to even, as the host's own conversion does.
    const double rounded = std::nearbyint(number);
    if (!(rounded >= std::numeric_limits<qint32>::min()
          && rounded <= std::numeric_limits<qint32>::max()))
        return platform::err::Overflow;
    m_errNum = qint32(rounded);
    m_errDesc = desc;
    return 0;
}

void ErrHandler::CollectDbErrors()
{
    // A connection that fails while being read leaves what was stored so far.
    passingOverFailures([this] {
        if (!m_cn) {
            m_errDesc = CleanDbMessage(m_errDesc);
            return;
        }
        DbErrors& errors = m_cn->Errors();
        if (errors.Count() <= 0) {
            m_errDesc = CleanDbMessage(m_errDesc);
        } else if (errors.Item(0).NativeError != 0) {
            m_errDesc = databaseErrorSection(errors);
            const qint64 ownNumber = qint64(m_errNum) - platform::err::ObjectErrorBase;
            if (ownNumber > std::numeric_limits<qint32>::max())
                return;
            m_errNum = qint32(ownNumber);
            m_errorType = 1;
        }
        errors.Clear();
        errors.Refresh();
    });
}

ReportData ErrHandler::reportData() const
{
    ReportData data;
    data.databaseError = m_errorType == 1;
    data.app = m_appObj;
    data.customMessage = m_customErrMessage;
    data.currentTime =
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    data.errNum = m_errNum;
    data.procName = m_procName;
    data.errLine = m_errLine;
    data.errDesc = m_errDesc;
    data.callStack = m_callStack.mid(0, m_top + 1);
    const StackParams& params = stackParams();
    if (qsizetype(m_top) < qsizetype(params.size()) && params[m_top])
        data.parameters = params[m_top]->ReadParams().toString();
    data.currentOperation = m_currentOperation;
    data.currentDirectory = QDir::toNativeSeparators(QDir::currentPath());
    return data;
}

void ErrHandler::showReport()
{
    // Widgets need a widget application; a console host gets the log only.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    ErrorReportState& state = errorReportState();
    state.m_strErrDetail = m_errorLogDisplay;
    state.m_strDestination = m_destination;
    state.m_dblErrNum = m_errNum;
    state.m_bolTraceExecution = m_traceExecution;
    state.m_strEmailAddress = m_emailAddress;
    state.m_strToName = m_toName;
    state.m_strSubject = m_reportTitle;
    state.m_strEmailDetailAPI.clear();
    state.m_strEmailDetailAPI2.clear();
    lib_frmError dialog(state);
    platform::prompts().showModal(dialog);
}

void ErrHandler::emptyStack()
{
    // Counted once: each Pop shortens the stack it is counted from.
    const qsizetype pops = m_callStack.size();
    for (qsizetype i = 0; i < pops; ++i)
        Pop();
}

} // namespace Vostrel
