// WebDAV's XML read with QXmlStreamReader, which resolves each prefix to its
// namespace: servers write "D:", "d:", "ns0:" or a default namespace, and
// only the namespace counts.

#include "sync/dav_multistatus.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace tovren::sync {

namespace {

QString clark(const QXmlStreamReader& reader)
{
    return '{' + reader.namespaceUri().toString() + '}' + reader.name().toString();
}

bool is(const QXmlStreamReader& reader, const QString& ns, const char* local)
{
    return reader.namespaceUri() == ns && reader.name() == QLatin1String(local);
}

// "HTTP/1.1 404 Not Found" -> 404
int statusOf(const QString& line)
{
    return line.simplified().section(' ', 1, 1).toInt();
}

QString resolvedHref(const QString& href, const QUrl& base)
{
    return hrefForPath(base.resolved(QUrl(href.trimmed())));
}

// Reads the property the reader stands on, to its end element.
DavProperty readProperty(QXmlStreamReader& reader, const QUrl& base)
{
    DavProperty property;
    for (int depth = 1; depth > 0 && reader.readNext() != QXmlStreamReader::Invalid;) {
        if (reader.isStartElement()) {
            property.elements << clark(reader);
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                property.attributes << attribute.name() + '=' + attribute.value();
            if (is(reader, dav::ns, "href")) {
                const QString href = reader.readElementText(QXmlStreamReader::SkipChildElements);
                property.hrefs << resolvedHref(href, base);
                property.text += href;
            } else {
                ++depth;
            }
        } else if (reader.isCharacters()) {
            property.text += reader.text();
        } else if (reader.isEndElement()) {
            --depth;
        }
    }
    return property;
}

void readPropstat(QXmlStreamReader& reader, const QUrl& base, DavResource& resource)
{
    std::map<QString, DavProperty> found;
    int status = 0;
    while (reader.readNextStartElement()) {
        if (is(reader, dav::ns, "prop")) {
            while (reader.readNextStartElement()) {
                const QString name = clark(reader);
                found[name] = readProperty(reader, base);
            }
        } else if (is(reader, dav::ns, "status")) {
            status = statusOf(reader.readElementText());
        } else {
            reader.skipCurrentElement();
        }
    }
    // A 404 propstat lists what the resource does not have.
    if (status >= 200 && status < 300)
        resource.properties.merge(found);
}

DavResource readResponse(QXmlStreamReader& reader, const QUrl& base)
{
    DavResource resource;
    while (reader.readNextStartElement()) {
        if (is(reader, dav::ns, "href") && resource.href.isEmpty())
            resource.href = resolvedHref(reader.readElementText(), base);
        else if (is(reader, dav::ns, "status"))
            resource.status = statusOf(reader.readElementText());
        else if (is(reader, dav::ns, "propstat"))
            readPropstat(reader, base, resource);
        else
            reader.skipCurrentElement();
    }
    return resource;
}

class Body {
public:
    explicit Body(const QString& root) : m_writer(&m_xml)
    {
        m_writer.writeStartDocument();
        m_writer.writeNamespace(dav::ns, "D");
        m_writer.writeNamespace(dav::carddav, "C");
        m_writer.writeNamespace(dav::calendarServer, "CS");
        start(root);
    }
    void start(const QString& name) { m_writer.writeStartElement(ns(name), local(name)); }
    void end() { m_writer.writeEndElement(); }
    void element(const QString& name, const QString& text = {})
    {
        if (text.isEmpty())
            m_writer.writeEmptyElement(ns(name), local(name));
        else
            m_writer.writeTextElement(ns(name), local(name), text);
    }
    void prop(const QStringList& properties)
    {
        start("{DAV:}prop");
        for (const QString& property : properties)
            element(property);
        end();
    }
    QByteArray finish()
    {
        m_writer.writeEndDocument();
        return m_xml;
    }

private:
    static QString ns(const QString& name) { return name.mid(1, name.indexOf('}') - 1); }
    static QString local(const QString& name) { return name.mid(name.indexOf('}') + 1); }

    QByteArray m_xml;
    QXmlStreamWriter m_writer;
};

} // namespace

QByteArray propfindBody(const QStringList& properties)
{
    Body body("{DAV:}propfind");
    body.prop(properties);
    return body.finish();
}

QByteArray syncCollectionBody(const QString& token, const QStringList& properties)
{
    Body body("{DAV:}sync-collection");
    body.element("{DAV:}sync-token", token);
    body.element("{DAV:}sync-level", "1");
    body.prop(properties);
    return body.finish();
}

QByteArray multigetBody(const QStringList& hrefs, const QStringList& properties)
{
    Body body('{' + dav::carddav + "}addressbook-multiget");
    body.prop(properties);
    for (const QString& href : hrefs)
        body.element("{DAV:}href", href);
    return body.finish();
}

std::optional<Multistatus> parseMultistatus(const QByteArray& xml, const QUrl& requestUrl)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || !is(reader, dav::ns, "multistatus"))
        return std::nullopt;
    Multistatus multistatus;
    while (reader.readNextStartElement()) {
        if (is(reader, dav::ns, "response"))
            multistatus.resources.push_back(readResponse(reader, requestUrl));
        else if (is(reader, dav::ns, "sync-token"))
            multistatus.syncToken = reader.readElementText().trimmed();
        else
            reader.skipCurrentElement();
    }
    if (reader.hasError())
        return std::nullopt;
    return multistatus;
}

bool namesPrecondition(const QByteArray& xml, const QString& name)
{
    QXmlStreamReader reader(xml);
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
        if (reader.isStartElement() && clark(reader) == name)
            return true;
    }
    return false;
}

QString hrefForPath(const QUrl& url)
{
    QUrl path;
    path.setPath(url.path(QUrl::FullyDecoded), QUrl::DecodedMode);
    return path.path(QUrl::FullyEncoded);
}

} // namespace tovren::sync
