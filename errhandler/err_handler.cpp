// The procedure stack and the configuration members of the handler.

#include "err_handler.h"

#include "basic_strings.h"
#include "log_files.h"
#include "thread_state.h"
#include "vostrel_errors.h"

#include "platform/runtime_error.h"

#include <QFile>

#include <algorithm>

namespace Vostrel {
namespace {

QString withoutMailto(const QString& address)
{
    return QString(address).remove(QStringLiteral("mailto:"), Qt::CaseSensitive);
}

} // namespace

qint32 ErrHandler::Push(const QString& strProc)
{
    ++m_top;
    m_callStack.resize(m_top + 1);
    StackParams& params = stackParams();
    params.resize(m_top + 1);
    // A procedure starts with no arguments, whatever a handler that went
    // away without unwinding left in this thread's slot.
    params[m_top].reset();
    m_callStack[m_top] = strProc;
    return m_traceExecution ? appendTraceLine(m_traceLogPath, strProc) : 0;
}

qint32 ErrHandler::Pop()
{
    if (m_callStack.size() == 1)
        return 0;
    m_callStack[m_top].clear();
    m_callStack.resize(m_top == 0 ? 1 : m_top);
    StackParams& params = stackParams();
    if (qsizetype(m_top) < qsizetype(params.size()))
        params[m_top].reset();
    // Clamped before the arguments are resized: a fresh handler's first Pop
    // must leave both at slot 0, not at -1.
    m_top = std::max(m_top - 1, 0);
    params.resize(m_top + 1);
    return 0;
}

void ErrHandler::AddParam(const QString& sParam, const QString& sType, const QVariant& vVal)
{
    StackParams& params = stackParams();
    // Slot 0 belongs to no procedure, so arguments need a Push first.
    if (m_top < 1 || qsizetype(m_top) >= qsizetype(params.size()))
        throw platform::RunTimeError(err::SubscriptOutOfRange,
                                     QStringLiteral("Subscript out of range"), err::source());
    std::unique_ptr<ProceduresImpl>& procedure = params[m_top];
    if (!procedure)
        procedure = std::make_unique<ProceduresImpl>();
    procedure->Add(sParam, sType, vVal);
}

void ErrHandler::setCn(const QVariant& value)
{
    const bool isConnection = value.metaType() == QMetaType::fromType<DbConnectionRef>();
    const DbConnectionRef connection = isConnection ? value.value<DbConnectionRef>() : nullptr;
    if (!connection)
        throw platform::RunTimeError(
            err::InvalidConnection,
            QStringLiteral("Must pass in a valid connection or database object"), err::source());
    if (connection->ConnectionString().isEmpty())
        throw platform::RunTimeError(
            err::ConnectionNotOpen,
            QStringLiteral("ADO connection must be open before passing to the Error Object"),
            err::source());
    m_cn = connection;
}

void ErrHandler::setAppObj(const QVariant& value)
{
    if (!value.isValid()) {
        m_appObj.reset();
        m_reportTitle.clear();
        return;
    }
    if (value.metaType() != QMetaType::fromType<AppDescriptor>())
        throw platform::RunTimeError(platform::err::TypeMismatch, QStringLiteral("Type mismatch"),
                                     err::source());
    m_appObj = value.value<AppDescriptor>();
    m_reportTitle = QStringLiteral("%1 %2.%3.%4 Application Error")
                        .arg(m_appObj->ProductName)
                        .arg(m_appObj->Major)
                        .arg(m_appObj->Minor)
                        .arg(m_appObj->Revision);
}

void ErrHandler::setEmailAddress(const QString& value)
{
    m_emailAddress = withoutMailto(value);
}

void ErrHandler::setDestination(const QString& value)
{
    const QString right = trimTrailingSpaces(value);
    if (right.endsWith(QLatin1Char('\\')) || right.endsWith(QLatin1Char('/')))
        m_destination = trimSpaces(value).chopped(1);
    else
        m_destination = value;
}

void ErrHandler::setTraceExecution(bool value)
{
    m_traceExecution = value;
    if (!value)
        return;
    if (m_destination.isEmpty()) {
        // Without a folder or a descriptor to take one from, tracing has
        // nowhere to go; every Push will say so.
        if (!m_appObj)
            return;
        m_destination = m_appObj->Path;
    }
    m_traceLogPath = traceLogPath(m_destination);
    QFile::remove(m_traceLogPath); // each run traces into a fresh file
}

void ErrHandler::setFromName(const QString& value)
{
    mailSettings().FromName = value;
}

void ErrHandler::setFromEmailAddress(const QString& value)
{
    mailSettings().FromEmailAddress = withoutMailto(value);
}

void ErrHandler::setSMTPMailServer(const QString& value)
{
    mailSettings().MailServer = value;
}

} // namespace Vostrel
