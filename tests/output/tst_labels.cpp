// The label document as the word processor will read it: one borderless
// table of two plain labels a row, each label's lines in their order, and
// the texts of awkward names kept exactly.

#include "labels_fixture.h"

#include <QUrl>

namespace {

const QString kColumns = "SalutationId, Name, Company, Address1, Address2, Address3, City, "
                         "PinCode, State, Country";

TEST_F(LabelsTest, FiveRecordsFillThreeRowsLeftToRight)
{
    addContacts(
        kColumns,
        {// Salutation and name, company, address, "City - Pin", state and country.
         {"1", "Ada Rao", "Rao & Sons", "12 MG Road", "NULL", "", "Pune", "411001", "Maharashtra",
          "India"},
         // No name: the company takes the first line.
         {"2", "", "Bo Traders", "NULL", "NULL", "NULL", "Agra", "NULL", "NULL", "India"},
         // A pincode without a city, and no country: the label ends after the state.
         {"NULL", "Cy", "NULL", "NULL", "NULL", "NULL", "NULL", "560001", "Karnataka", "NULL"},
         // Every address line, a city without pincode, nothing after it.
         {"2", "Di", "", "A1", "A2", "A3", "Goa", "", "", "NULL"},
         // Nothing at all.
         {"NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL"}});
    const OdtSheet sheet = print();

    EXPECT_EQ(sheet.tables, 1);
    EXPECT_EQ(sheet.tableWidth, "444pt");
    EXPECT_EQ(sheet.align, "left");
    EXPECT_EQ(sheet.columnWidths, QStringList({"222pt", "222pt"}));
    EXPECT_EQ(sheet.rowHeights, QStringList({"100pt", "100pt", "100pt"}));
    EXPECT_EQ(sheet.cellsInRow, std::vector<int>({2, 2, 2}));
    EXPECT_EQ(sheet.borders, QStringList{"none"});
    EXPECT_EQ(sheet.weights, QStringList{"normal"});
    EXPECT_EQ(sheet.cells, QStringList({"Mr. Ada Rao|Rao & Sons|12 MG Road|Pune - 411001|"
                                        "Maharashtra India",
                                        "Bo Traders|Agra|India", "Cy||Pin 560001|Karnataka ",
                                        "Mrs. Di||A1|A2|A3|Goa|", "|", ""}));
    ASSERT_EQ(m_desktop.urls.size(), 1u);
    EXPECT_EQ(m_desktop.urls[0], QUrl::fromLocalFile(home("TNLabels.odt")));
    EXPECT_TRUE(m_prompts.messages().empty());
}

TEST_F(LabelsTest, TheContainerIsOpenDocumentText)
{
    addContacts("Name", {{"Ada"}});
    const OdtSheet sheet = print();
    // The type stands first, stored as it is, with no extra field.
    EXPECT_EQ(sheet.head.left(4), QByteArray("PK\x03\x04"));
    EXPECT_EQ(sheet.head.mid(8, 2), QByteArray(2, '\0'));
    EXPECT_EQ(sheet.head.mid(28, 2), QByteArray(2, '\0'));
    EXPECT_EQ(sheet.head.mid(30, 8), "mimetype");
    EXPECT_EQ(sheet.head.mid(38, 39), "application/vnd.oasis.opendocument.text");
    EXPECT_EQ(sheet.entries, QStringList({"mimetype", "META-INF/manifest.xml", "content.xml"}));
}

TEST_F(LabelsTest, OnlyTheContactsThatPassTheFilter)
{
    addContacts("Name, City", {{"Ada", "Pune"}, {"Bo", "Agra"}, {"Cy", "Pune"}});
    EXPECT_EQ(print("City = 'pune'").cells, QStringList({"Ada||Pune|", "Cy||Pune|"}));
}

struct Awkward {
    const char* what;
    QString name;
    QString shown; // the first line of the label
};

void PrintTo(const Awkward& awkward, std::ostream* out)
{
    *out << awkward.what;
}

class AwkwardNames : public LabelsTest, public ::testing::WithParamInterface<Awkward> {};

TEST_P(AwkwardNames, ReadBackExactly)
{
    addContacts("Name, Company", {{GetParam().name, "x"}});
    EXPECT_EQ(print().cells, QStringList({GetParam().shown + "|x|", ""}));
}

const QString kLong = QString("Long name ").repeated(2000);
INSTANTIATE_TEST_SUITE_P(
    Labels, AwkwardNames,
    ::testing::Values(Awkward{"markup", "<b>O'Hara & \"Sons\"</b> ]]> &amp;",
                              "<b>O'Hara & \"Sons\"</b> ]]> &amp;"},
                      Awkward{"scripts", "Zoë Müller रवि 王 😀", "Zoë Müller रवि 王 😀"},
                      Awkward{"spaces", "  Two  spaces ", "  Two  spaces "},
                      Awkward{"tab and breaks", "a\tb\r\nc\nd\re", "a\tb\nc\nd\ne"},
                      Awkward{"control characters",
                              QString("a") + QChar(1) + "b" + QChar(0xFFFF) + "c", "abc"},
                      Awkward{"long", kLong, kLong}),
    [](const auto& info) {
        QString name = info.param.what;
        return name.replace(' ', '_').toStdString();
    });

} // namespace
