// File, Print and the toolbar's Print button on the real program: the labels
// of the contacts the card's filter shows.

#include "home_folder.h"
#include "odt_sheet.h"

#include "card/card_fixture.h"
#include "core/toolbar_button.h"
#include "support/recording_desktop.h"

#include <QUrl>

namespace {

class PrintCommand : public CardTest {
protected:
    HomeFolder m_labels{home()};
    testing_support::RecordingDesktop m_desktop;
};

TEST_F(PrintCommand, PrintsTheContactsOfTheAppliedFilter)
{
    frmAddress& card = openCard({"Ada", "Bo", "Cy"});
    sql("UPDATE Address SET City = 'Agra' WHERE Name = 'Bo'");
    trigger("mnuRefresh");
    trigger("mnuPrint");
    EXPECT_EQ(readOdtSheet(home("TNLabels.odt")).cells.size(), 4);

    trigger("mnuFilter");
    card.txtFld[5]->setText("pune");
    trigger("mnuAppFilter");
    m_main->buttonByKey("Print")->click();
    EXPECT_EQ(readOdtSheet(home("TNLabels.odt")).cells,
              QStringList({"Mr. Ada|Ada Ltd|Pune|", "Mr. Cy|Cy Ltd|Pune|"}));
    EXPECT_EQ(m_desktop.urls, std::vector<QUrl>(2, QUrl::fromLocalFile(home("TNLabels.odt"))));
    EXPECT_TRUE(m_prompts.messages().empty());
}

} // namespace
