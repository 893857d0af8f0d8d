#pragma once
// The texts of a mailed report when it goes through the user's mail
// program: a short summary for the body, and the "MailTo:" link itself.

#include "Vostrel.h"

namespace Vostrel {

struct ErrorSummary {
    qint32 errNum = 0;
    QString procName;
    qint16 errLine = 0;
    QString errDesc;
    AppDescriptor app;
    QString errorLogPath;
};

// The "#:", "Proc:", "Line:", "Desc:", "App:" lines and the request to
// paste or attach the full report; every line ends in CR LF.
QString emailSummary(const ErrorSummary& summary);

// "MailTo:" + address, then "CC=", "Subject=" and "Body=" for the values
// that are not empty, the first after "?" and the others after "&".
QString mailtoLink(const QString& address, const QString& cc, const QString& subject,
                   const QString& body);

// The report dialog's "mailto:" link. Subject and body are escaped as a
// mailto link needs (UTF-8, every character but letters, digits and
// "-._~" percent-escaped), so the report arrives whole; the body's line
// breaks are CR LF, as a mail's must be.
QString reportMailLink(const QString& address, const QString& subject, const QString& body);

// Tabs become 5 spaces; spaces, "&" and CR LF pairs are percent-escaped,
// and so are "%" and "#", which would otherwise change or cut the body.
QString escapeMailBody(const QString& body);

} // namespace Vostrel
