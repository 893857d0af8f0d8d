#pragma once
// The public interface of Vostrel, the error-handling and tracing component.
//
// A host creates one clsErrHandler at run time through the plugin whose
// interface identifier is VOSTREL_CLSERRHANDLER_IID and keeps it for its
// whole run. The host never links the library: it loads it with
// QPluginLoader, asks the root object for Vostrel::Component and calls
// createErrHandler(). Nothing else crosses the boundary but the types below.
//
// The virtual members of clsErrHandler stand in the component's slot order;
// new members may only ever be appended.

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QtPlugin>

#include <memory>

namespace Vostrel {

// The host's description of itself, read by the report and the mail title.
struct AppDescriptor {
    QString Title;
    QString CompanyName;
    qint16 Major = 0;
    qint16 Minor = 0;
    qint16 Revision = 0;
    QString Path;
    QString ProductName;
};

// One error of a database connection, as its driver reported it.
struct DbError {
    qint32 Number = 0;
    qint32 NativeError = 0;
    QString Description;
    QString Source;
    QString SQLState;
};

// The errors a connection has collected since they were last cleared.
class DbErrors {
public:
    virtual int Count() const = 0;
    virtual DbError Item(int index) const = 0;
    virtual void Clear() = 0;
    virtual void Refresh() = 0;

protected:
    ~DbErrors() = default;
};

// The read-only view of a database connection that error reports need.
class DbConnection {
public:
    virtual ~DbConnection() = default;
    virtual QString ConnectionString() const = 0;
    virtual DbErrors& Errors() = 0;
};

// What a variant holds when it carries a connection object.
using DbConnectionRef = std::shared_ptr<DbConnection>;

// The event interface: raised synchronously from HandleError.
class clsErrHandlerEvents {
public:
    virtual void BeforeHandlerCalled(bool& Cancel) = 0;
    virtual void AfterHandlerCalled() = 0;

protected:
    ~clsErrHandlerEvents() = default;
};

// One recorded argument of a procedure on the stack.
class Parameter {
public:
    virtual QString Param() const = 0;
    virtual void setParam(const QString& value) = 0;
    virtual QString PrmType() const = 0;
    virtual void setPrmType(const QString& value) = 0;
    virtual QVariant Value() const = 0;
    virtual void setValue(const QVariant& value) = 0;
    virtual ~Parameter() = default;
};

// The recorded arguments of one procedure, in the order of recording.
class Procedures {
public:
    virtual Parameter& Add(const QString& sParam, const QString& sType, const QVariant& vVal) = 0;
    // The "1st Param:" ... text, or an invalid variant when nothing was recorded.
    virtual QVariant ReadParams() const = 0;
    virtual ~Procedures() = default;
};

class clsErrHandler {
public:
    virtual QString ErrorLogDisplay() const = 0;   // 1
    virtual QVariant CallStack() const = 0;        // 2: QStringList
    virtual QString CurrentOperation() const = 0;  // 3
    virtual QVariant CustomErrMessage() const = 0; // 4
    virtual QString ErrorType() const = 0;         // 5: "0" or "1"
    virtual QString Destination() const = 0;       // 6
    virtual QString ErrDesc() const = 0;           // 7
    virtual qint32 ErrNum() const = 0;             // 8
    virtual QString ProcName() const = 0;          // 9
    virtual QString ErrLine() const = 0;           // 10
    // Accepts a variant holding a non-null DbConnectionRef whose connection
    // string is set; anything else raises platform::RunTimeError.
    virtual void setCn(const QVariant& value) = 0;              // 11
    virtual void setAppObj(const QVariant& value) = 0;          // 12: AppDescriptor
    virtual void setUseInterface(bool value) = 0;               // 13
    virtual void setEmailAddress(const QString& value) = 0;     // 14
    virtual void setCurrentOperation(const QString& value) = 0; // 15
    virtual void setDestination(const QString& value) = 0;      // 16
    virtual void setTraceExecution(bool value) = 0;             // 17
    virtual qint32 HandleError(const QString& vstrErrDesc, double vdblErrNum,
                               qint32 vintErrLine = 0,
                               const QString& strCustomErrorMessage = QString()) = 0; // 18
    virtual qint32 Pop() = 0;                                                         // 19
    virtual qint32 Push(const QString& strProc) = 0;                                  // 20
    virtual qint32 Email(const QString& strMessage = QString(),
                         const QString& strSubject = QString(),
                         const QString& strCCEmailAddresses = QString()) = 0; // 21
    virtual void AddParam(const QString& sParam, const QString& sType,
                          const QVariant& vVal) = 0;            // 22
    virtual void setFromName(const QString& value) = 0;         // 23
    virtual void setFromEmailAddress(const QString& value) = 0; // 24
    virtual void setSMTPMailServer(const QString& value) = 0;   // 25
    virtual void setToName(const QString& value) = 0;           // 26
    // Connects the host's event sink (nullptr disconnects it).
    virtual void Advise(clsErrHandlerEvents* sink) = 0; // 27
    virtual ~clsErrHandler() = default;
};

// The root object of the plugin: the class factory of the component.
class Component {
public:
    virtual ~Component() = default;
    virtual std::unique_ptr<clsErrHandler> createErrHandler() = 0;
};

} // namespace Vostrel

#define VOSTREL_CLSERRHANDLER_IID "com.belvane.Vostrel.clsErrHandler/1.0"
Q_DECLARE_INTERFACE(Vostrel::Component, VOSTREL_CLSERRHANDLER_IID)
Q_DECLARE_METATYPE(Vostrel::DbConnectionRef)
Q_DECLARE_METATYPE(Vostrel::AppDescriptor)
