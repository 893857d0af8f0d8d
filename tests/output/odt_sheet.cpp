#include "odt_sheet.h"

#include <quazip.h>
#include <quazipfile.h>

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

namespace {

using Properties = QHash<QString, QString>;

QByteArray entry(QuaZip& zip, const QString& name)
{
    if (!zip.setCurrentFile(name))
        return {};
    QuaZipFile file(&zip);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void addOnce(QStringList& list, const QString& value)
{
    if (!list.contains(value))
        list << value;
}

// The text of a paragraph as a word processor reads it: white space in the
// characters collapses to one space, none at the start of the paragraph or
// after another space; the elements for spaces, tabs and breaks are kept.
QString paragraph(QXmlStreamReader& xml)
{
    QString text;
    while (xml.readNext() != QXmlStreamReader::EndDocument) {
        if (xml.isEndElement() && xml.qualifiedName() == QLatin1String("text:p"))
            break;
        for (const QChar c : xml.isCharacters() ? xml.text() : QStringView()) {
            const bool white = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
            if (!white)
                text += c;
            else if (!text.isEmpty() && !text.endsWith(u' '))
                text += u' ';
        }
        if (!xml.isStartElement())
            continue;
        if (xml.qualifiedName() == QLatin1String("text:s"))
            text += QString(qMax(1, xml.attributes().value("text:c").toInt()), u' ');
        else if (xml.qualifiedName() == QLatin1String("text:tab"))
            text += u'\t';
        else if (xml.qualifiedName() == QLatin1String("text:line-break"))
            text += u'\n';
    }
    return text;
}

void readContent(const QByteArray& content, OdtSheet& sheet)
{
    QHash<QString, Properties> styles;
    QString style;
    QStringList paragraphs;
    QXmlStreamReader xml(content);
    const auto property = [&](const char* element, const char* name) {
        return styles.value(xml.attributes().value(element).toString()).value(name, "<unset>");
    };
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.qualifiedName();
        if (xml.isEndElement() && name == QLatin1String("table:table-cell")) {
            sheet.cells << paragraphs.join(u'|');
            paragraphs.clear();
        }
        if (!xml.isStartElement())
            continue;
        if (name == QLatin1String("style:style")) {
            style = xml.attributes().value("style:name").toString();
        } else if (name.endsWith(QLatin1String("-properties"))) {
            for (const QXmlStreamAttribute& attribute : xml.attributes())
                styles[style][attribute.qualifiedName().toString()] = attribute.value().toString();
        } else if (name == QLatin1String("table:table")) {
            ++sheet.tables;
            sheet.tableWidth = property("table:style-name", "style:width");
            sheet.align = property("table:style-name", "table:align");
        } else if (name == QLatin1String("table:table-column")) {
            const int repeated =
                qMax(1, xml.attributes().value("table:number-columns-repeated").toInt());
            for (int i = 0; i < repeated; ++i)
                sheet.columnWidths << property("table:style-name", "style:column-width");
        } else if (name == QLatin1String("table:table-row")) {
            sheet.rowHeights << property("table:style-name", "style:min-row-height");
            sheet.cellsInRow.push_back(0);
        } else if (name == QLatin1String("table:table-cell")) {
            ++sheet.cellsInRow.back();
            addOnce(sheet.borders, property("table:style-name", "fo:border"));
        } else if (name == QLatin1String("text:p")) {
            addOnce(sheet.weights, property("text:style-name", "fo:font-weight"));
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
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        sheet.head = file.read(128);
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return sheet;
    sheet.entries = zip.getFileNameList();
    readContent(entry(zip, "content.xml"), sheet);
    return sheet;
}
