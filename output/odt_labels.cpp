#include "odt_labels.h"

#include "odt_text.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <QBuffer>
#include <QXmlStreamWriter>

namespace output {
namespace {

const char* const kNamespaces[][2] = {
    {"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
    {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
    {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
    {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
    {"fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
};

QString points(double value)
{
    return QString::number(value) + QStringLiteral("pt");
}

// An automatic style of `family` with one properties element.
void writeStyle(QXmlStreamWriter& xml, const QString& name, const QString& family,
                const QString& properties,
                std::initializer_list<std::pair<const char*, QString>> attributes)
{
    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), name);
    xml.writeAttribute(QStringLiteral("style:family"), family);
    xml.writeEmptyElement(properties);
    for (const auto& [attribute, value] : attributes)
        xml.writeAttribute(QLatin1String(attribute), value);
    xml.writeEndElement();
}

void writeStyles(QXmlStreamWriter& xml)
{
    xml.writeStartElement(QStringLiteral("office:automatic-styles"));
    // Fixed widths: the table does not fit itself to its contents.
    writeStyle(xml, QStringLiteral("Labels"), QStringLiteral("table"),
               QStringLiteral("style:table-properties"),
               {{"style:width", points(kTableWidth)}, {"table:align", QStringLiteral("left")}});
    writeStyle(xml, QStringLiteral("Labels.A"), QStringLiteral("table-column"),
               QStringLiteral("style:table-column-properties"),
               {{"style:column-width", points(kColumnWidth)}});
    writeStyle(xml, QStringLiteral("Labels.1"), QStringLiteral("table-row"),
               QStringLiteral("style:table-row-properties"),
               {{"style:min-row-height", points(kRowHeight)}});
    writeStyle(xml, QStringLiteral("Labels.A1"), QStringLiteral("table-cell"),
               QStringLiteral("style:table-cell-properties"),
               {{"fo:border", QStringLiteral("none")},
                {"fo:padding-left", points(kCellPadding)},
                {"fo:padding-right", points(kCellPadding)},
                {"fo:padding-top", points(0)},
                {"fo:padding-bottom", points(0)}});
    // The cell is made bold for its first lines and then plain as a whole,
    // so every line of a label is plain.
    writeStyle(xml, QStringLiteral("Label"), QStringLiteral("paragraph"),
               QStringLiteral("style:text-properties"),
               {{"fo:font-weight", QStringLiteral("normal")},
                {"style:font-weight-asian", QStringLiteral("normal")},
                {"style:font-weight-complex", QStringLiteral("normal")}});
    xml.writeEndElement();
}

void writeCell(QXmlStreamWriter& xml, const QString& label)
{
    xml.writeStartElement(QStringLiteral("table:table-cell"));
    xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("Labels.A1"));
    xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
    for (const QStringView paragraph : QStringView(label).split(kParagraphMark)) {
        xml.writeStartElement(QStringLiteral("text:p"));
        xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Label"));
        writeOdfText(xml, paragraph);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

QByteArray content(const Labels& labels, const Progress& progress)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("office:document-content"));
    for (const auto& [prefix, uri] : kNamespaces)
        xml.writeNamespace(QLatin1String(uri), QLatin1String(prefix));
    xml.writeAttribute(QStringLiteral("office:version"), QStringLiteral("1.3"));
    writeStyles(xml);
    xml.writeStartElement(QStringLiteral("office:body"));
    xml.writeStartElement(QStringLiteral("office:text"));

    xml.writeStartElement(QStringLiteral("table:table"));
    xml.writeAttribute(QStringLiteral("table:name"), QStringLiteral("Labels"));
    xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("Labels"));
    xml.writeEmptyElement(QStringLiteral("table:table-column"));
    xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("Labels.A"));
    xml.writeAttribute(QStringLiteral("table:number-columns-repeated"), QString::number(kColumns));
    // Records fill the rows left to right, top to bottom; a last row
    // short of labels keeps its empty cells.
    for (int row = 0; row < rowCount(labels); ++row) {
        xml.writeStartElement(QStringLiteral("table:table-row"));
        xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("Labels.1"));
        for (int column = 0; column < kColumns; ++column) {
            const size_t index = size_t(row * kColumns + column);
            writeCell(xml, index < labels.size() ? labels[index] : QString());
            if (progress && index < labels.size())
                progress(int(index + 1));
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

QByteArray manifest()
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    const QString ns = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("manifest:manifest"));
    xml.writeNamespace(ns, QStringLiteral("manifest"));
    xml.writeAttribute(QStringLiteral("manifest:version"), QStringLiteral("1.3"));
    const auto entry = [&xml](const QString& path, const QString& type) {
        xml.writeEmptyElement(QStringLiteral("manifest:file-entry"));
        xml.writeAttribute(QStringLiteral("manifest:full-path"), path);
        if (path == QLatin1String("/"))
            xml.writeAttribute(QStringLiteral("manifest:version"), QStringLiteral("1.3"));
        xml.writeAttribute(QStringLiteral("manifest:media-type"), type);
    };
    entry(QStringLiteral("/"), QLatin1String(kOdtType));
    entry(QStringLiteral("content.xml"), QStringLiteral("text/xml"));
    xml.writeEndDocument();
    return bytes;
}

[[noreturn]] void zipFailed(int code)
{
    platform::raise(
        platform::err::InternalError,
        QStringLiteral("The labels document could not be packed (zip error %1).").arg(code));
}

// `compressed` false stores the entry as it is.
void add(QuaZip& zip, const QString& name, const QByteArray& bytes, bool compressed = true)
{
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0,
                   compressed ? Z_DEFLATED : 0, compressed ? Z_DEFAULT_COMPRESSION : 0)
        || file.write(bytes) != bytes.size())
        zipFailed(file.getZipError());
    file.close();
    if (file.getZipError() != UNZ_OK)
        zipFailed(file.getZipError());
}

} // namespace

QByteArray odtLabels(const Labels& labels, const Progress& progress)
{
    const QByteArray body = content(labels, progress);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        QuaZip zip(&buffer);
        // Readers find the document's type in its first entry, stored as
        // it is and without a data descriptor after it.
        zip.setDataDescriptorWritingEnabled(false);
        if (!zip.open(QuaZip::mdCreate))
            zipFailed(zip.getZipError());
        add(zip, QStringLiteral("mimetype"), QByteArray(kOdtType), false);
        add(zip, QStringLiteral("META-INF/manifest.xml"), manifest());
        add(zip, QStringLiteral("content.xml"), body);
        zip.close();
        if (zip.getZipError() != UNZ_OK)
            zipFailed(zip.getZipError());
    }
    return bytes;
}

} // namespace output
