#include "odt_sheet.h"

#include <quazip.h>
#include <quazipfile.h>

#include <QHash>
#include <QXmlStreamReader>

namespace {

// The text of a paragraph as a word processor reads it: white space in the
// characters collapses to one space, none at the start of the paragraph or
// after another space; the elements for spaces, tabs and breaks are kept.
QString paragraph(QXmlStreamReader& xml)
{
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.qualifiedName() == u"text:p")
            break;
        for (const QChar c : xml.isCharacters() ? xml.text() : QStringView()) {
            if (!QStringLiteral(" \t\n\r").contains(c))
                text += c;
            else if (!text.isEmpty() && !text.endsWith(u' '))
                text += u' ';
        }
        if (!xml.isStartElement())
            continue;
        if (xml.qualifiedName() == u"text:s")
            text += QString(qMax(1, xml.attributes().value("text:c").toInt()), u' ');
        else if (xml.qualifiedName() == u"text:tab")
            text += u'\t';
        else if (xml.qualifiedName() == u"text:line-break")
            text += u'\n';
    }
    return text;
}

void readContent(const QByteArray& content, OdtSheet& sheet)
{
    QHash<QString, QHash<QString, QString>> styles; // properties by style name
    QString style;
    QStringList paragraphs;
    QXmlStreamReader xml(content);
    const auto property = [&](const char* name) {
        const QStringView used = xml.attributes().value(
            xml.qualifiedName() == u"text:p" ? "text:style-name" : "table:style-name");
        return styles.value(used.toString()).value(name, "<unset>");
    };
    const auto once = [](QStringList& list, const QString& value) {
        if (!list.contains(value))
            list << value;
    };
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.qualifiedName();
        if (xml.isEndElement() && name == u"table:table-cell") {
            sheet.cells << paragraphs.join(u'|');
            paragraphs.clear();
        } else if (!xml.isStartElement()) {
            continue;
        } else if (name == u"style:style") {
            style = xml.attributes().value("style:name").toString();
        } else if (name.endsWith(u"-properties")) {
            for (const QXmlStreamAttribute& attribute : xml.attributes())
                styles[style][attribute.qualifiedName().toString()] = attribute.value().toString();
        } else if (name == u"table:table") {
            ++sheet.tables;
            sheet.tableWidth = property("style:width");
        } else if (name == u"table:table-column") {
            const int repeated = xml.attributes().value("table:number-columns-repeated").toInt();
            for (int i = 0; i < qMax(1, repeated); ++i)
                sheet.columnWidths << property("style:column-width");
        } else if (name == u"table:table-row") {
            sheet.rowHeights << property("style:min-row-height");
        } else if (name == u"table:table-cell") {
            once(sheet.borders, property("fo:border"));
        } else if (name == u"text:p") {
            once(sheet.weights, property("fo:font-weight"));
            paragraphs << paragraph(xml);
        }
    }
    if (xml.hasError())
        sheet.cells << "<malformed: " + xml.errorString() + ">";
}

} // namespace

OdtSheet readOdtSheet(const QString& path)
{
    OdtSheet sheet;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile("content.xml"))
        return sheet;
    QuaZipFile content(&zip);
    if (content.open(QIODevice::ReadOnly))
        readContent(content.readAll(), sheet);
    return sheet;
}
