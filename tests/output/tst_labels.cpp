// The address labels: the document as a word processor reads it (one
// borderless table of two plain labels a row, each label's lines in order,
// awkward texts kept exactly) and as LibreOffice itself reads it, the PDF
// made when no program opens it, every failure told, and File, Print on
// the real program.

#include "card/card_fixture.h"
#include "output/print_rpt.h"
#include "support/recording_desktop.h"
#include "support/scoped_env.h"
#include "support/test_helpers.h"

#include <quazip.h>
#include <quazipfile.h>

#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

using platform::Icon;
using testing_support::readBytes;
using testing_support::writeBytes;

// The document's table with its styles resolved (borders and weights each
// value once), and each cell's paragraphs joined by "|", row by row.
struct OdtSheet {
    QString tableWidth;
    QStringList columnWidths, rowHeights, borders, weights, cells;
};

// Reads text as a word processor does: white space in the characters
// collapses to one space, none at a paragraph's start or after another
// space; the elements for spaces, tabs and breaks are kept.
OdtSheet readOdtSheet(const QString& path)
{
    OdtSheet sheet;
    QuaZip zip(path);
    QuaZipFile file(&zip);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile("content.xml")
        || !file.open(QIODevice::ReadOnly))
        return sheet;
    QXmlStreamReader xml(file.readAll());
    QHash<QString, QHash<QString, QString>> styles; // properties by style name
    QString style, text;
    QStringList paragraphs;
    const auto property = [&](const char* name) {
        const QStringView used = xml.attributes().value(
            xml.qualifiedName() == u"text:p" ? "text:style-name" : "table:style-name");
        return styles.value(used.toString()).value(name, "<unset>");
    };
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.qualifiedName();
        if (xml.isCharacters()) {
            for (const QChar c : xml.text()) {
                if (!QStringLiteral(" \t\n\r").contains(c))
                    text += c;
                else if (!text.isEmpty() && !text.endsWith(u' '))
                    text += u' ';
            }
        } else if (xml.isEndElement() && name == u"text:p") {
            paragraphs << std::exchange(text, QString());
        } else if (xml.isEndElement() && name == u"table:table-cell") {
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
            sheet.tableWidth = property("style:width");
        } else if (name == u"table:table-column") {
            const int repeated = xml.attributes().value("table:number-columns-repeated").toInt();
            for (int i = 0; i < qMax(1, repeated); ++i)
                sheet.columnWidths << property("style:column-width");
        } else if (name == u"table:table-row") {
            sheet.rowHeights << property("style:min-row-height");
        } else if (name == u"table:table-cell") {
            sheet.borders << property("fo:border");
        } else if (name == u"text:p") {
            sheet.weights << property("fo:font-weight");
        } else if (name == u"text:s") {
            text += QString(qMax(1, xml.attributes().value("text:c").toInt()), u' ');
        } else if (name == u"text:tab" || name == u"text:line-break") {
            text += name == u"text:tab" ? u'\t' : u'\n';
        }
    }
    if (xml.hasError())
        sheet.cells << "<malformed: " + xml.errorString() + ">";
    sheet.borders.removeDuplicates();
    sheet.weights.removeDuplicates();
    return sheet;
}

// The labels of a book of the test's own, written into a home folder of
// its own, with scripted prompts and a recording desktop.
class LabelsTest : public CardTest {
protected:
    LabelsTest() { QDir(home()).mkdir("home"); }

    QString labels(const QString& file = "TNLabels.odt") const { return home("home/" + file); }
    // The book, once a test, with a contact a row of `values` bound to
    // `columns` in order; an invalid QVariant stores Null.
    void add(const QString& columns, const std::vector<QVariantList>& rows)
    {
        addDatabase();
        tovren::setConnectionString("Data Source=" + home("TND.dbx"));
        for (const QVariantList& values : rows)
            sql("INSERT INTO Address (" + columns + ") VALUES (?"
                    + QString(",?").repeated(values.size() - 1) + ")",
                values);
    }
    OdtSheet print(QString filter = QString())
    {
        modGenProcedures::PrintRpt(filter);
        return readOdtSheet(labels());
    }

    const testing_support::ScopedEnv m_homeFolder{"HOME", QFile::encodeName(home("home"))};
    testing_support::RecordingDesktop m_desktop;
};

const QVariant null;

TEST_F(LabelsTest, FiveRecordsFillThreeRowsLeftToRight)
{
    add("SalutationId, Name, Company, Address1, Address2, Address3, City, PinCode, State, Country",
        {// Salutation and name, company, an address line, "City - Pin", state and country.
         {1, "Ada Rao", "Rao & Sons", "12 MG Road", null, "", "Pune", "411001", "MH", "India"},
         // No name: the company takes the first line.
         {2, "", "Bo Traders", null, null, null, "Agra", null, null, "India"},
         // A pincode without a city, and no country: the label ends after the state.
         {null, "Cy", null, null, null, null, null, "560001", "Karnataka", null},
         // Every address line, a city without pincode, nothing after it.
         {2, "Di", "", "A1", "A2", "A3", "Goa", "", "", null},
         {null, null, null, null, null, null, null, null, null, null}});
    const OdtSheet sheet = print();

    EXPECT_EQ(sheet.tableWidth, "444pt");
    EXPECT_EQ(sheet.columnWidths, QStringList({"222pt", "222pt"}));
    EXPECT_EQ(sheet.rowHeights, QStringList({"100pt", "100pt", "100pt"}));
    EXPECT_EQ(sheet.borders + sheet.weights, QStringList({"none", "normal"}));
    EXPECT_EQ(sheet.cells, QStringList({"Mr. Ada Rao|Rao & Sons|12 MG Road|Pune - 411001|MH India",
                                        "Bo Traders|Agra|India", "Cy||Pin 560001|Karnataka ",
                                        "Mrs. Di||A1|A2|A3|Goa|", "|", ""}));
    EXPECT_EQ(m_desktop.urls, std::vector<QUrl>{QUrl::fromLocalFile(labels())});
    EXPECT_TRUE(m_prompts.messages().empty());

    // The container: the type first, stored as it is, with no extra field.
    const QByteArray head = readBytes(labels()).left(77);
    EXPECT_EQ(head.mid(8, 2) + head.mid(28, 2), QByteArray(4, '\0'));
    EXPECT_EQ(head.mid(30), "mimetypeapplication/vnd.oasis.opendocument.text");
}

// LibreOffice itself, converting the document to plain text headless,
// reads each paragraph on a line of its own, cells row by row, and ends
// with an empty paragraph of its own.
TEST_F(LabelsTest, AwkwardNamesReadBackExactlyAlsoByLibreOffice)
{
    const QString longName = QString("Long name ").repeated(2000);
    const std::pair<QString, QString> names[] = {
        {"<b>O'Hara & \"Sons\"</b> ]]> &amp;", "<b>O'Hara & \"Sons\"</b> ]]> &amp;"},
        {"Zoë Müller रवि 王 😀", "Zoë Müller रवि 王 😀"},
        {"  Two  spaces ", "  Two  spaces "},
        // A break inside a field stays a break within its line.
        {"a\tb\r\nc\nd\re", "a\tb\nc\nd\ne"},
        // Control characters and non-characters no document can hold.
        {QString("a") + QChar(1) + "b" + QChar(0xFFFF) + "c", "abc"},
        {longName, longName}};
    std::vector<QVariantList> rows;
    QStringList shown;
    for (const auto& [name, first] : names) {
        rows.push_back({name, "x"});
        shown << first + "|x|";
    }
    add("Name, Company", rows);
    EXPECT_EQ(print().cells, shown);

    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice is not installed (Debian's libreoffice-writer)";
    // A private profile, so that a LibreOffice the person runs is not disturbed.
    QProcess convert;
    convert.start(soffice,
                  {"-env:UserInstallation=" + QUrl::fromLocalFile(home("lo")).toString(),
                   "--headless", "--convert-to", "txt:Text", "--outdir", home("text"), labels()});
    ASSERT_TRUE(convert.waitForFinished(100000)) << "soffice did not finish";
    EXPECT_EQ(QString::fromUtf8(readBytes(home("text/TNLabels.txt"))).remove(QChar(0xFEFF)),
              shown.join('|').replace('|', '\n') + "\n\n")
        << convert.readAllStandardError().toStdString();
}

struct Failure {
    const char* what;
    QString filter;
    QString told; // the message, or its start; %1 the document's path
    QString title;
    Icon icon;
};
void PrintTo(const Failure& failure, std::ostream* out)
{
    *out << failure.what;
}

class LabelFailures : public LabelsTest, public ::testing::WithParamInterface<Failure> {};

// Nothing half written, nothing opened, and one clear message.
TEST_P(LabelFailures, AreToldAndLeaveTheDocumentAlone)
{
    const Failure& failure = GetParam();
    const std::string what = failure.what;
    add("Name, City", {{"Ada", "Pune"}});
    if (what == "already_open") {
        ASSERT_TRUE(writeBytes(labels(".~lock.TNLabels.odt#"), "me,host"));
    } else if (what == "home_is_a_file") {
        QDir(home("home")).removeRecursively();
        ASSERT_TRUE(writeBytes(home("home"), "a file"));
    } else if (what == "no_book") {
        QFile::remove(home("TND.dbx"));
    }
    const bool keeps = writeBytes(labels(), "kept");
    m_prompts.answerMessage(platform::Answer::OK);
    print(failure.filter);

    ASSERT_EQ(m_prompts.messages().size(), 1u);
    const testing_support::RecordedPrompt shown = m_prompts.messages()[0];
    EXPECT_TRUE(shown.text.startsWith(QString(failure.told).replace("%1", labels())))
        << shown.text.toStdString();
    EXPECT_EQ(shown.title, failure.title);
    EXPECT_EQ(shown.icon, failure.icon);
    EXPECT_TRUE(m_desktop.urls.empty());
    EXPECT_EQ(readBytes(labels()), keeps ? "kept" : "");
}

// An empty title is the program's own, "Tovren".
INSTANTIATE_TEST_SUITE_P(
    Labels, LabelFailures,
    ::testing::Values(Failure{"already_open", "", "Report is already open. Close the report first.",
                              "Print", Icon::Critical},
                      Failure{"no_match", "City = 'Goa'",
                              "Mod Gen PrintRpt 5 :No contact passes the filter, so there are "
                              "no labels to print.",
                              "Tovren", Icon::None},
                      Failure{"home_is_a_file", "",
                              "Mod Gen PrintRpt 75 :The labels could not be saved as '%1': ",
                              "Tovren", Icon::None},
                      Failure{"no_book", "", "Mod Gen PrintRpt -2147467259 :", "Tovren",
                              Icon::None}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(LabelsTest, WithoutWordProcessorTheSheetComesAsPdfToo)
{
    // Fourteen labels: seven rows of 100 points, six to a page of A4.
    add("Name", std::vector<QVariantList>(14, {"Ada"}));
    m_desktop.typesWithoutProgram = {"application/vnd.oasis.opendocument.text"};
    m_prompts.answerMessage(platform::Answer::OK);
    EXPECT_EQ(print().cells.size(), 14);

    const QString pdf = labels("TNLabels.pdf");
    EXPECT_EQ(lastMessage(), "No program on this computer opens OpenDocument text (.odt) "
                             "documents, so the labels are also saved as '"
                                 + pdf + "', which opens now.");
    const QByteArray bytes = readBytes(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(bytes.count("/Type /Page\n"), 2);
    EXPECT_EQ(m_desktop.urls, std::vector<QUrl>{QUrl::fromLocalFile(pdf)});
}

// File, Print and the toolbar's Print button: the labels of the contacts
// the card's applied filter shows.
TEST_F(LabelsTest, PrintCommandsPrintTheContactsOfTheAppliedFilter)
{
    frmAddress& card = openCard({"Ada", "Bo", "Cy"});
    sql("UPDATE Address SET City = 'Agra' WHERE Name = 'Bo'");
    trigger("mnuRefresh");
    trigger("mnuPrint");
    EXPECT_EQ(readOdtSheet(labels()).cells.size(), 4);

    trigger("mnuFilter");
    card.txtFld[5]->setText("pune");
    trigger("mnuAppFilter");
    m_main->buttonByKey("Print")->click();
    EXPECT_EQ(readOdtSheet(labels()).cells,
              QStringList({"Mr. Ada|Ada Ltd|Pune|", "Mr. Cy|Cy Ltd|Pune|"}));
    EXPECT_EQ(m_desktop.urls, std::vector<QUrl>(2, QUrl::fromLocalFile(labels())));
    EXPECT_TRUE(m_prompts.messages().empty());
}

} // namespace
