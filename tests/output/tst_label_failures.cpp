// What the person is told when the labels cannot be made or shown: the
// document already open, no contact to print, no program for the document,
// and failures that must end in a clear message and nothing half written.

#include "labels_fixture.h"

#include "support/test_helpers.h"

#include <QFile>
#include <QUrl>

namespace {

using platform::Icon;

TEST_F(LabelsTest, AnOpenDocumentIsLeftAlone)
{
    addContacts("Name", {{"Ada"}});
    ASSERT_TRUE(testing_support::writeBytes(home("TNLabels.odt"), "kept"));
    ASSERT_TRUE(testing_support::writeBytes(home(".~lock.TNLabels.odt#"), "me,host"));
    m_prompts.answerMessage(platform::Answer::OK);
    print();
    ASSERT_EQ(m_prompts.messages().size(), 1u);
    EXPECT_EQ(m_prompts.messages()[0].text, "Report is already open. Close the report first.");
    EXPECT_EQ(m_prompts.messages()[0].title, "Print");
    EXPECT_EQ(m_prompts.messages()[0].icon, Icon::Critical);
    EXPECT_EQ(testing_support::readBytes(home("TNLabels.odt")), "kept");
    EXPECT_TRUE(m_desktop.urls.empty());
}

TEST_F(LabelsTest, NoMatchingContactWritesNothing)
{
    addContacts("Name, City", {{"Ada", "Pune"}});
    m_prompts.answerMessage(platform::Answer::OK);
    print("City = 'Goa'");
    ASSERT_EQ(m_prompts.messages().size(), 1u);
    EXPECT_EQ(m_prompts.messages()[0].text,
              "No contact passes the filter, so there are no labels to print.");
    EXPECT_EQ(m_prompts.messages()[0].title, "Print");
    EXPECT_FALSE(QFile::exists(home("TNLabels.odt")));
    EXPECT_TRUE(m_desktop.urls.empty());
}

struct NoProgram {
    const char* what;
    QStringList typesWithoutProgram;
    bool desktopOpens;
    Icon icon;
    QString told;  // the start of the message
    bool pdfShown; // the desktop was asked to open the PDF
};

void PrintTo(const NoProgram& when, std::ostream* out)
{
    *out << when.what;
}

class WithoutWordProcessor : public LabelsTest, public ::testing::WithParamInterface<NoProgram> {};

TEST_P(WithoutWordProcessor, TheSheetComesAsPdf)
{
    const NoProgram& when = GetParam();
    addContacts("Name", {{"Ada"}, {"Bo"}, {"Cy"}});
    m_desktop.typesWithoutProgram = when.typesWithoutProgram;
    m_desktop.succeed = when.desktopOpens;
    m_prompts.answerMessage(platform::Answer::OK);
    if (!when.desktopOpens)
        m_prompts.answerMessage(platform::Answer::OK);
    print();
    ASSERT_FALSE(m_prompts.messages().empty());
    EXPECT_TRUE(m_prompts.messages()[0].text.startsWith(when.told))
        << m_prompts.messages()[0].text.toStdString();
    EXPECT_EQ(m_prompts.messages()[0].icon, when.icon);
    EXPECT_EQ(readOdtSheet(home("TNLabels.odt")).cells.size(), 4);
    const QByteArray pdf = testing_support::readBytes(home("TNLabels.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n"), 1);
    const QUrl shown = QUrl::fromLocalFile(home("TNLabels.pdf"));
    EXPECT_EQ(!m_desktop.urls.empty() && m_desktop.urls.back() == shown, when.pdfShown);
    if (!when.desktopOpens) {
        EXPECT_EQ(m_prompts.messages().back().text,
                  "Mod Gen PrintRpt 53 :The desktop could not open '" + home("TNLabels.pdf")
                      + "'.");
    }
}

const QString kOdt = "application/vnd.oasis.opendocument.text";
INSTANTIATE_TEST_SUITE_P(
    Labels, WithoutWordProcessor,
    ::testing::Values(
        NoProgram{"no_odt_program",
                  {kOdt},
                  true,
                  Icon::Information,
                  "No program on this computer opens OpenDocument text (.odt) documents, so",
                  true},
        NoProgram{"no_program_at_all",
                  {kOdt, "application/pdf"},
                  true,
                  Icon::Exclamation,
                  "No program on this computer opens OpenDocument text (.odt) or PDF",
                  false},
        NoProgram{"desktop_refuses",
                  {},
                  false,
                  Icon::Information,
                  "No program on this computer opens OpenDocument text (.odt) documents, so",
                  true}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(LabelsTest, ManyLabelsRunOntoMorePages)
{
    std::vector<QStringList> contacts(40, QStringList{"Ada"});
    addContacts("Name", contacts);
    m_desktop.typesWithoutProgram = {kOdt};
    m_prompts.answerMessage(platform::Answer::OK);
    print();
    // Twenty rows of 100 points, six to a page of A4 inside its margins.
    EXPECT_EQ(testing_support::readBytes(home("TNLabels.pdf")).count("/Type /Page\n"), 4);
}

struct Failure {
    const char* what;
    QString filter;
    QString told; // the start of the message
};

void PrintTo(const Failure& failure, std::ostream* out)
{
    *out << failure.what;
}

class LabelFailures : public LabelsTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(LabelFailures, AreToldPlainly)
{
    addContacts("Name", {{"Ada"}});
    const QString what = GetParam().what;
    QString told = GetParam().told;
    if (what == "home_is_a_file") {
        QDir(home("")).removeRecursively();
        ASSERT_TRUE(testing_support::writeBytes(m_folder.filePath("home"), "a file"));
        told = told.arg(home("TNLabels.odt"));
    } else if (what == "no_book") {
        QFile::remove(book());
    }
    m_prompts.answerMessage(platform::Answer::OK);
    print(GetParam().filter);
    ASSERT_EQ(m_prompts.messages().size(), 1u);
    const testing_support::RecordedPrompt shown = m_prompts.messages()[0];
    EXPECT_TRUE(shown.text.startsWith(told)) << shown.text.toStdString();
    EXPECT_EQ(shown.title, "Tovren"); // the program's own title
    EXPECT_EQ(shown.icon, Icon::None);
    EXPECT_TRUE(m_desktop.urls.empty());
    EXPECT_FALSE(QFile::exists(home("TNLabels.odt")));
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LabelFailures,
    ::testing::Values(Failure{"home_is_a_file", "",
                              "Mod Gen PrintRpt 75 :The labels could not be saved as '%1': "},
                      Failure{"broken_filter", "City = ", "Mod Gen PrintRpt 3001 :"},
                      Failure{"no_book", "", "Mod Gen PrintRpt -2147467259 :"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
