#pragma once
// clsErrHandler: the procedure stack, the logs, the report of a handled
// error and the addresses it is mailed to. One per host, created through
// the component; the recorded arguments live per thread (thread_state.h).

#include "Vostrel.h"
#include "report_text.h"

#include <QStringList>

#include <optional>

namespace Vostrel {

class ErrHandler final : public clsErrHandler {
public:
    QString ErrorLogDisplay() const override { return m_errorLogDisplay; }
    QVariant CallStack() const override { return m_callStack; }
    QString CurrentOperation() const override { return m_currentOperation; }
    QVariant CustomErrMessage() const override { return m_customErrMessage; }
    QString ErrorType() const override { return QString::number(m_errorType); }
    QString Destination() const override { return m_destination; }
    QString ErrDesc() const override { return m_errDesc; }
    qint32 ErrNum() const override { return m_errNum; }
    QString ProcName() const override { return m_procName; }
    QString ErrLine() const override { return QString::number(m_errLine); }
    void setCn(const QVariant& value) override;
    void setAppObj(const QVariant& value) override;
    void setUseInterface(bool value) override { m_useInterface = value; }
    void setEmailAddress(const QString& value) override;
    void setCurrentOperation(const QString& value) override { m_currentOperation = value; }
    void setDestination(const QString& value) override;
    void setTraceExecution(bool value) override;
    qint32 HandleError(const QString& vstrErrDesc, double vdblErrNum, qint32 vintErrLine,
                       const QString& strCustomErrorMessage) override;
    qint32 Pop() override;
    qint32 Push(const QString& strProc) override;
    qint32 Email(const QString& strMessage, const QString& strSubject,
                 const QString& strCCEmailAddresses) override;
    void AddParam(const QString& sParam, const QString& sType, const QVariant& vVal) override;
    void setFromName(const QString& value) override;
    void setFromEmailAddress(const QString& value) override;
    void setSMTPMailServer(const QString& value) override;
    void setToName(const QString& value) override { m_toName = value; }
    void Advise(clsErrHandlerEvents* sink) override { m_sink = sink; }

private:
    // Stores the error's values; 0, or Overflow when the line or number does not fit.
    qint32 storeError(const QString& desc, double number, qint32 line, const QString& custom);
    void CollectDbErrors();
    ReportData reportData() const;
    void showReport();
    void emptyStack();

    QStringList m_callStack{QString(), QString()}; // slot 0 is never used
    qint32 m_top = 0;
    qint32 m_errNum = 0;
    QString m_errDesc;
    QString m_procName;
    qint16 m_errLine = 0;
    QString m_customErrMessage;
    qint32 m_errorType = 0; // 1 once a database error was reported
    QString m_destination;
    QString m_currentOperation;
    bool m_traceExecution = false;
    QString m_traceLogPath;
    QString m_errorLogDisplay;
    DbConnectionRef m_cn;
    bool m_useInterface = false;
    std::optional<AppDescriptor> m_appObj;
    QString m_emailAddress;
    QString m_toName;
    QString m_reportTitle;
    clsErrHandlerEvents* m_sink = nullptr;
};

} // namespace Vostrel
