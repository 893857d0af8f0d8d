#pragma once
// The XML of WebDAV as the sync speaks it: the bodies of PROPFIND and REPORT
// requests, and the 207 Multi-Status answers read into plain values, whatever
// prefixes the server gives its namespaces.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <map>
#include <optional>
#include <vector>

namespace tovren::sync {

// Element names in Clark notation, "{namespace}local".
namespace dav {
inline const QString ns = "DAV:";
inline const QString carddav = "urn:ietf:params:xml:ns:carddav";
inline const QString calendarServer = "http://calendarserver.org/ns/";
} // namespace dav

// One property of a 200 propstat.
struct DavProperty {
    QString text;           // its character data, element markup left out
    QStringList hrefs;      // the DAV:href inside it, resolved to canonical paths
    QStringList elements;   // the names of the elements inside it, in Clark notation
    QStringList attributes; // "name=value" of those elements' attributes
};

struct DavResource {
    QString href;   // a canonical path (hrefForPath)
    int status = 0; // the response's own status (a removed member: 404); 0 when it has none
    std::map<QString, DavProperty> properties; // only those the server found
};

struct Multistatus {
    std::vector<DavResource> resources;
    QString syncToken;
};

// A request body asking for `properties` (Clark names) of the resource (a
// PROPFIND), or of the cards in a sync-collection or multiget REPORT.
QByteArray propfindBody(const QStringList& properties);
QByteArray syncCollectionBody(const QString& token, const QStringList& properties);
QByteArray multigetBody(const QStringList& hrefs, const QStringList& properties);

// Reads a Multi-Status answer to a request for `requestUrl`; nullopt when it
// is not one, or not well-formed.
std::optional<Multistatus> parseMultistatus(const QByteArray& xml, const QUrl& requestUrl);

// Whether an error body names the precondition `name` (e.g. DAV:valid-sync-token).
bool namesPrecondition(const QByteArray& xml, const QString& name);

// The one form of a resource's path that the sync keeps and compares: the
// path alone, each character percent-encoded the same way however the
// server wrote it.
QString hrefForPath(const QUrl& url);

} // namespace tovren::sync
