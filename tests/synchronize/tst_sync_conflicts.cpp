// Tools, Sync Conflicts on the real program: the contacts a sync found
// changed on both sides, each shown as the two versions' differing fields;
// Keep Mine puts the person's version in the book (to go up at the next
// sync), Keep Theirs leaves the server's, and either settles the contact.

#include "both_changed.h"
#include "card/card_fixture.h"

#include "sync/conflicts.h"

#include <QPushButton>
#include <QTableWidget>

namespace {

using namespace tovren::sync;

class SyncConflicts : public CardTest {
protected:
    std::shared_ptr<data::Connection> book()
    {
        return data::Connection::open("Data Source=" + home("TND.dbx"));
    }
};

TEST_F(SyncConflicts, KeepMineOrTheirsSettlesEachContact)
{
    openCard({"Asha Rao", "Ravi Iyer"});
    trigger("mnuSyncConflicts", {platform::Answer::OK}); // none yet: told so
    // The last sync found both changed here (City "Mine") and on the server.
    const std::vector<qint64> ids = testing_support::changeBothSides(book(), "Mine");
    QString heading;
    m_prompts.handleModal([&](QDialog& dialog) {
        auto* table = dialog.findChild<QTableWidget*>("tblConflict");
        ASSERT_EQ(table->rowCount(), 1) << "only the City differs";
        EXPECT_EQ(table->verticalHeaderItem(0)->text(), "City");
        EXPECT_EQ(table->item(0, 0)->text() + "|" + table->item(0, 1)->text(), "Pune|Mine");
        dialog.findChild<QPushButton*>("cmdKeepMine")->click();
        dialog.findChild<QPushButton*>("cmdKeepTheirs")->click();
        heading = dialog.findChild<QLabel*>("lblConflict")->text();
        dialog.reject();
    });
    trigger("mnuSyncConflicts");
    EXPECT_EQ(heading, "No contacts wait for your choice.");
    EXPECT_EQ(stored(),
              QStringList({"Asha Rao|Asha Rao Ltd|Mine", "Ravi Iyer|Ravi Iyer Ltd|Pune"}));
    SyncedBook synced(book());
    EXPECT_TRUE(conflicts(synced).empty());
    EXPECT_EQ(synced.localChange(ids[0]), LocalChange::Edited) << "Mine goes up next";
    EXPECT_EQ(synced.localChange(ids[1]), LocalChange::None);
}

} // namespace
