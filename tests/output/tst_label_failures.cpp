// What the person is told when the labels cannot be made or shown: nothing
// half written, nothing opened, and one clear message.

#include "labels_fixture.h"

#include "support/test_helpers.h"

#include <QFile>
#include <QUrl>

namespace {

using platform::Icon;
const QString kOdt = "application/vnd.oasis.opendocument.text";

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

TEST_P(LabelFailures, AreToldAndLeaveTheDocumentAlone)
{
    const Failure& failure = GetParam();
    const QString what = failure.what;
    add("Name, City", {{"Ada", "Pune"}});
    if (what == "already_open") {
        ASSERT_TRUE(testing_support::writeBytes(home(".~lock.TNLabels.odt#"), "me,host"));
    } else if (what == "home_is_a_file") {
        QDir(home("")).removeRecursively();
        ASSERT_TRUE(testing_support::writeBytes(m_folder.filePath("home"), "a file"));
    } else if (what == "no_book") {
        QFile::remove(book());
    }
    const bool keeps = testing_support::writeBytes(home("TNLabels.odt"), "kept");
    m_prompts.answerMessage(platform::Answer::OK);
    print(failure.filter);

    ASSERT_EQ(m_prompts.messages().size(), 1u);
    const testing_support::RecordedPrompt shown = m_prompts.messages()[0];
    EXPECT_TRUE(shown.text.startsWith(QString(failure.told).replace("%1", home("TNLabels.odt"))))
        << shown.text.toStdString();
    EXPECT_EQ(shown.title, failure.title);
    EXPECT_EQ(shown.icon, failure.icon);
    EXPECT_TRUE(m_desktop.urls.empty());
    EXPECT_EQ(testing_support::readBytes(home("TNLabels.odt")), keeps ? "kept" : "");
}

// An empty title is the program's own, "Tovren".
INSTANTIATE_TEST_SUITE_P(
    Labels, LabelFailures,
    ::testing::Values(Failure{"already_open", "", "Report is already open. Close the report first.",
                              "Print", Icon::Critical},
                      Failure{"no_match", "City = 'Goa'",
                              "No contact passes the filter, so there are no labels to print.",
                              "Print", Icon::Information},
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
    m_desktop.typesWithoutProgram = {kOdt};
    m_prompts.answerMessage(platform::Answer::OK);
    EXPECT_EQ(print().cells.size(), 14);

    const QString pdf = home("TNLabels.pdf");
    EXPECT_EQ(m_prompts.messages()[0].text,
              "No program on this computer opens OpenDocument text (.odt) documents, so the "
              "labels are also saved as '"
                  + pdf + "', which opens now.");
    const QByteArray bytes = testing_support::readBytes(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(bytes.count("/Type /Page\n"), 2);
    EXPECT_EQ(m_desktop.urls, std::vector<QUrl>{QUrl::fromLocalFile(pdf)});
}

} // namespace
