// WebDAV answers read as the sync reads them: answers recorded from radicale
// and xandikos, then the shapes other servers write and malformed ones.

#include "sync/dav_multistatus.h"

#include "support/test_helpers.h"

#include <gtest/gtest.h>

namespace tovren::sync {
namespace {

const QUrl kServer("http://127.0.0.1:5232/");

QByteArray recorded(const char* name)
{
    return testing_support::readBytes(TOVREN_SOURCE_DIR "/tests/sync/responses/"
                                      + QString::fromLatin1(name));
}

// What a resource's property says, as "text|hrefs|elements|attributes", each
// list joined by ","; "-" when the resource or property is missing.
std::string said(const Multistatus& answer, const QString& href, const QString& name)
{
    for (const DavResource& resource : answer.resources) {
        if (resource.href != href)
            continue;
        if (name == "status")
            return std::to_string(resource.status);
        const auto found = resource.properties.find(name);
        if (found == resource.properties.end())
            return "-";
        const DavProperty& p = found->second;
        return QString(p.text.trimmed() + '|' + p.hrefs.join(',') + '|' + p.elements.join(',') + '|'
                       + p.attributes.join(','))
            .toStdString();
    }
    return "-";
}

struct RecordedCase {
    const char* file;
    const char* href;
    const char* property;
    const char* expected;
};

const RecordedCase kRecorded[] = {
    // Discovery: the root names the principal, the principal its home set.
    {"radicale_root.xml", "/", "{DAV:}current-user-principal", "/u/|/u/|{DAV:}href|"},
    {"xandikos_root.xml", "/", "{DAV:}current-user-principal", "/user/|/user/|{DAV:}href|"},
    {"radicale_principal.xml", "/u/", "{urn:ietf:params:xml:ns:carddav}addressbook-home-set",
     "/u/|/u/|{DAV:}href|"},
    {"xandikos_principal.xml", "/user/", "{urn:ietf:params:xml:ns:carddav}addressbook-home-set",
     "/user/contacts/|/user/contacts/|{DAV:}href|"},
    // A 404 propstat names what the resource lacks: not a property of it.
    {"radicale_root.xml", "/", "{urn:ietf:params:xml:ns:carddav}addressbook-home-set", "-"},
    {"xandikos_principal.xml", "/user/", "{http://calendarserver.org/ns/}getctag", "-"},
    // The book: its type, name, reports and the vCard versions it takes.
    {"radicale_book.xml", "/u/book1/", "{DAV:}resourcetype",
     "||{urn:ietf:params:xml:ns:carddav}addressbook,{DAV:}collection|"},
    {"xandikos_book.xml", "/user/contacts/book1/", "{DAV:}displayname", "Friends & Family|||"},
    {"xandikos_book.xml", "/user/contacts/book1/",
     "{urn:ietf:params:xml:ns:carddav}supported-address-data",
     "||{urn:ietf:params:xml:ns:carddav}content-type|content-type=text/vcard,version=3.0"},
    // Cards: hrefs percent-encoded one way, whatever the server wrote.
    {"radicale_book.xml", "/u/book1/c@d.vcf", "{DAV:}getetag",
     "\"c7d72960372e0a7cc6fb6a87fb36d3ca5c026b0737cbde1afedcc27285e2838f\"|||"},
    {"xandikos_book.xml", "/user/contacts/book1/c@d.vcf", "{DAV:}resourcetype", "|||"},
    {"radicale_book.xml", "/u/book1/anna%20b.vcf", "{DAV:}resourcetype", "|||"},
    // Multiget: the card's text with its markup characters, a missing card's 404.
    {"radicale_multiget.xml", "/u/book1/anna%20b.vcf",
     "{urn:ietf:params:xml:ns:carddav}address-data",
     "BEGIN:VCARD\nVERSION:3.0\nUID:anna b\nFN:Anna Bäck\nN:Bäck;Anna;;;\n"
     "NOTE:a <b> & \"c\"\nEND:VCARD|||"},
    {"xandikos_multiget.xml", "/user/contacts/book1/gone.vcf", "status", "404"},
    {"radicale_multiget.xml", "/u/book1/gone.vcf", "status", "404"},
    // Changes: a removed card is a response with a 404 of its own.
    {"radicale_sync_removed.xml", "/u/book1/c@d.vcf", "status", "404"},
    {"xandikos_sync_removed.xml", "/user/contacts/book1/anna%20b.vcf", "status", "404"},
};

TEST(DavMultistatus, ReadsTheAnswersRecordedFromTheServers)
{
    for (const RecordedCase& row : kRecorded) {
        SCOPED_TRACE(std::string(row.file) + " " + row.href + " " + row.property);
        const std::optional<Multistatus> answer = parseMultistatus(recorded(row.file), kServer);
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(said(*answer, row.href, row.property), row.expected);
    }
}

TEST(DavMultistatus, KeepsTheSyncTokenAndTellsTheInvalidOne)
{
    EXPECT_EQ(parseMultistatus(recorded("xandikos_sync_removed.xml"), kServer)->syncToken,
              "f7faba5fdb2a54dec63a7bdbe938cb75b3c36b9c");
    EXPECT_TRUE(parseMultistatus(recorded("radicale_sync_removed.xml"), kServer)
                    ->syncToken.startsWith("http://radicale.org/ns/sync/"));
    EXPECT_TRUE(
        namesPrecondition(recorded("radicale_invalid_token.xml"), "{DAV:}valid-sync-token"));
    EXPECT_FALSE(namesPrecondition("500 Internal Server Error", "{DAV:}valid-sync-token"));
    EXPECT_FALSE(namesPrecondition(recorded("radicale_root.xml"), "{DAV:}valid-sync-token"));
}

// A one-response answer with `inner` as its response's content.
QByteArray answerWith(const QString& inner)
{
    return QString("<?xml version=\"1.0\"?><D:multistatus xmlns:D=\"DAV:\" xmlns:x=\"DAV:\" "
                   "xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">"
                   "<D:response>%1</D:response></D:multistatus>")
        .arg(inner)
        .toUtf8();
}

const QString kOk = "<D:status>HTTP/1.1 200 OK</D:status>";

TEST(DavMultistatus, ReadsHrefsAndPrefixesAsOtherServersWriteThem)
{
    const QString longName = QString(5000, QChar(0x00e4));
    const struct {
        QString inner;
        QString href;
        QString property;
        std::string expected;
    } rows[] = {
        // Prefixes: any, or none, for the one namespace.
        {"<x:href>/a/b.vcf</x:href><propstat><prop><getetag>\"1\"</getetag></prop>" + kOk
             + "</propstat>",
         "/a/b.vcf", "{DAV:}getetag", "\"1\"|||"},
        // Hrefs relative, absolute, or encoded differently name one path.
        {"<D:href>b.vcf</D:href>", "/dav/book/b.vcf", "status", "0"},
        {"<D:href>http://other:1/a/%c3%a4 x.vcf</D:href>", "/a/%C3%A4%20x.vcf", "status", "0"},
        {QString("<D:href>/a/\u00e4%20x.vcf</D:href>"), "/a/%C3%A4%20x.vcf", "status", "0"},
        {"<D:href>/a/c%40d.vcf</D:href>", "/a/c@d.vcf", "status", "0"},
        {"<D:href>/a/" + longName + ".vcf</D:href>",
         "/a/" + QString::fromLatin1(QUrl::toPercentEncoding(longName)) + ".vcf", "status", "0"},
        // Statuses however spaced; a 404 propstat's properties are not there.
        {"<D:href>/a</D:href><D:status> HTTP/1.1  404 Not Found </D:status>", "/a", "status",
         "404"},
        {"<D:href>/a</D:href><D:propstat><D:prop><D:getetag>\"1\"</D:getetag></D:prop>"
         "<D:status>HTTP/1.1 404 Not Found</D:status></D:propstat>",
         "/a", "{DAV:}getetag", "-"},
        // Card text in a CDATA section, the vCard 4.0 a book may take.
        {"<D:href>/a</D:href><D:propstat><D:prop><C:address-data><![CDATA[BEGIN:VCARD\r\n"
         "NOTE:<&>\r\nEND:VCARD]]></C:address-data></D:prop>"
             + kOk + "</D:propstat>",
         "/a", "{urn:ietf:params:xml:ns:carddav}address-data",
         "BEGIN:VCARD\nNOTE:<&>\nEND:VCARD|||"},
        {"<D:href>/a</D:href><D:propstat><D:prop><C:supported-address-data>"
         "<C:address-data-type content-type=\"text/vcard\" version=\"4.0\"/>"
         "</C:supported-address-data></D:prop>"
             + kOk + "</D:propstat>",
         "/a", "{urn:ietf:params:xml:ns:carddav}supported-address-data",
         "||{urn:ietf:params:xml:ns:carddav}address-data-type|"
         "content-type=text/vcard,version=4.0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.inner.left(120).toStdString());
        const std::optional<Multistatus> answer =
            parseMultistatus(answerWith(row.inner), QUrl("http://127.0.0.1/dav/book/"));
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(said(*answer, row.href, row.property), row.expected);
    }
}

TEST(DavMultistatus, RefusesWhatIsNoMultiStatus)
{
    const QByteArray rows[] = {
        "",
        "<html><body>Welcome</body></html>",
        "<y:multistatus xmlns:y=\"other:\"><y:response/></y:multistatus>",
        answerWith("<D:href>/a</D:href>").chopped(10), // cut off
        answerWith("<D:href>/a</D:href><D:status>"),   // never closed
        "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"aaaa\">]><D:multistatus "
        "xmlns:D=\"DAV:\"><D:response><D:href>&b;</D:href></D:response></D:multistatus>",
    };
    for (const QByteArray& xml : rows) {
        SCOPED_TRACE(xml.left(120).toStdString());
        EXPECT_FALSE(parseMultistatus(xml, kServer).has_value());
    }
}

} // namespace
} // namespace tovren::sync
