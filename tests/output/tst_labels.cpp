// The label document as the word processor will read it: one borderless
// table of two plain labels a row, each label's lines in their order, and
// the texts of awkward names kept exactly.

#include "labels_fixture.h"

#include "support/test_helpers.h"

#include <QUrl>

namespace {

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

    EXPECT_EQ(sheet.tables, 1);
    EXPECT_EQ(sheet.tableWidth, "444pt");
    EXPECT_EQ(sheet.columnWidths, QStringList({"222pt", "222pt"}));
    EXPECT_EQ(sheet.rowHeights, QStringList({"100pt", "100pt", "100pt"}));
    EXPECT_EQ(sheet.borders, QStringList{"none"});
    EXPECT_EQ(sheet.weights, QStringList{"normal"});
    EXPECT_EQ(sheet.cells, QStringList({"Mr. Ada Rao|Rao & Sons|12 MG Road|Pune - 411001|MH India",
                                        "Bo Traders|Agra|India", "Cy||Pin 560001|Karnataka ",
                                        "Mrs. Di||A1|A2|A3|Goa|", "|", ""}));
    EXPECT_EQ(m_desktop.urls, std::vector<QUrl>{QUrl::fromLocalFile(home("TNLabels.odt"))});
    EXPECT_TRUE(m_prompts.messages().empty());

    // The container: the type first, stored as it is, with no extra field.
    const QByteArray head = testing_support::readBytes(home("TNLabels.odt")).left(77);
    EXPECT_EQ(head.mid(8, 2) + head.mid(28, 2), QByteArray(4, '\0'));
    EXPECT_EQ(head.mid(30), "mimetypeapplication/vnd.oasis.opendocument.text");
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
    add("Name, Company", {{GetParam().name, "x"}});
    EXPECT_EQ(print().cells, QStringList({GetParam().shown + "|x|", ""}));
}

const QString kLong = QString("Long name ").repeated(2000);
INSTANTIATE_TEST_SUITE_P(
    Labels, AwkwardNames,
    ::testing::Values(Awkward{"markup", "<b>O'Hara & \"Sons\"</b> ]]> &amp;",
                              "<b>O'Hara & \"Sons\"</b> ]]> &amp;"},
                      Awkward{"scripts", "Zoë Müller रवि 王 😀", "Zoë Müller रवि 王 😀"},
                      Awkward{"spaces", "  Two  spaces ", "  Two  spaces "},
                      // A break inside a field stays a break within its line.
                      Awkward{"tab_and_breaks", "a\tb\r\nc\nd\re", "a\tb\nc\nd\ne"},
                      Awkward{"control_characters",
                              QString("a") + QChar(1) + "b" + QChar(0xFFFF) + "c", "abc"},
                      Awkward{"long", kLong, kLong}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
