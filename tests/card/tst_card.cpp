// The address card driven as a person drives it: keys and clicks on the
// real card over a real address book.

#include "card_fixture.h"

#include "card/edit_commands.h"
#include "platform/date_text.h"
#include "support/book_lock.h"

#include <QCalendarWidget>
#include <QClipboard>
#include <QPushButton>

#include <functional>
#include <optional>
#include <span>

namespace {

using platform::Answer;

class Card : public CardTest {};

// The card opens on the first contact and browses without asking; keys
// that only move mark nothing, a typed letter marks the record changed, and
// closing a changed card asks first.
TEST_F(Card, OpensBrowsesAndAsksBeforeClosingAChangedRecord)
{
    frmAddress& card = openCard({"Ada", "Bo", "Cy"});
    EXPECT_EQ(modGenProcedures::nOpenCards, 1);
    EXPECT_EQ(shown(), "Ada 1 / 3");
    EXPECT_EQ(card.dbcFld[0]->Text(), "Mr.");
    EXPECT_EQ(enabledOf("New Del Next Find Save Cancel AppFilter mnuAddress mnuEml"),
              "New Del Next Find mnuEml");
    // Last, next from the last, previous, first, previous from the first.
    const std::pair<QKeyCombination, const char*> moves[] = {
        {Qt::Key_F12, "Cy 3 / 3"},
        {Qt::Key_F11, "Cy 3 / 3"},
        {Qt::ShiftModifier | Qt::Key_F11, "Bo 2 / 3"},
        {Qt::ShiftModifier | Qt::Key_F12, "Ada 1 / 3"},
        {Qt::ShiftModifier | Qt::Key_F11, "Ada 1 / 3"}};
    for (const auto& [key, after] : moves) {
        QTest::keyClick(card.txtFld[0], key.key(), key.keyboardModifiers());
        EXPECT_EQ(shown(), after);
    }
    EXPECT_TRUE(m_prompts.recorded().empty());

    QLineEdit* city = card.txtFld[5];
    const QKeyCombination keys[] = {Qt::Key_Left, Qt::Key_Home, Qt::Key_End,
                                    Qt::Key_F2,   Qt::Key_Tab,  Qt::ControlModifier | Qt::Key_Home,
                                    Qt::Key_P}; // small p: its character code is F1's
    for (const QKeyCombination key : keys) {
        EXPECT_EQ(shown(), "Ada 1 / 3");
        EXPECT_EQ(enabledOf("Save Cancel mnuSave"), "");
        city->setFocus();
        QTest::keyClick(city, key.key(), key.keyboardModifiers());
    }
    EXPECT_EQ(shown(), "Ada 1 / 3 changed");
    EXPECT_EQ(enabledOf("Save Cancel mnuSave"), "Save Cancel mnuSave");

    // Yes saves and closes; the menu item is back, the toolbar in its exit state.
    m_prompts.answerMessage(Answer::Yes);
    closeBox();
    EXPECT_EQ(frmAddress::instance(), nullptr);
    EXPECT_EQ(modGenProcedures::nOpenCards, 0);
    EXPECT_EQ(enabledOf("mnuAddress mnuEml"), "mnuAddress");
    EXPECT_EQ(counter(), " / ");
    EXPECT_EQ(stored()[0], "Ada|Ada Ltd|p");

    // File, Exit with the card open closes only the card; No drops the change.
    type(frmAddress::open()->txtFld[5], "y", true);
    trigger("mnuExit", {Answer::No});
    QApplication::processEvents();
    EXPECT_EQ(frmAddress::instance(), nullptr);
    EXPECT_TRUE(m_main->isVisible());
    EXPECT_EQ(stored()[0], "Ada|Ada Ltd|p");
}

// A new contact is typed, asked about when it lacks a salutation (No keeps
// it on the card, the focus on the combo) and stored as typed: an empty
// field as an empty text, an empty date as Null.
TEST_F(Card, AddSaveAndFindTheContactStoredUnchanged)
{
    frmAddress& card = openCard({"Ada"});
    QTest::keyClick(card.txtFld[0], Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(shown(), " 2 / 2 new");
    EXPECT_EQ(QApplication::focusWidget(), card.dbcFld[0]);
    EXPECT_EQ(enabledOf("Del Next Exit Save"), "Save");
    const QStringList values = {
        "Zoë O'Neil", "Ünïcode & Sons", "1 Main St", "Линия 5",  "",         "北京",
        "411001",     "Ἀττική",         "Ελλάδα",    "020-1234", "020-5678", "",
        "020-9",      "020-8",          "020-7",     "98220",    "12345",    "zoe@example.in"};
    for (int i = 0; i < card.txtFld.size(); ++i) {
        card.txtFld[i]->setFocus();
        card.txtFld[i]->insert(values[i]); // typed texts may hold any letter
    }
    QTest::keyClick(card.txtFld[17], Qt::Key_Space);
    QTest::keyClick(card.txtFld[17], Qt::Key_Backspace);
    type(card.txtDt[0], "Friday, August 15, 1947"); // as people write dates
    card.dbcFld[1]->setBoundText("2");
    trigger("mnuSave", {Answer::No});
    EXPECT_EQ(lastMessage(),
              "You have not selected Salutation. Do you still want to save the changes?");
    EXPECT_EQ(shown(), "Zoë O'Neil 2 / 2 new changed");
    EXPECT_EQ(QApplication::focusWidget(), card.dbcFld[0]);

    card.dbcFld[0]->setBoundText("3");
    QTest::keyClick(card.txtFld[0], Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.recorded().size(), 1u);
    EXPECT_EQ(shown(), "Zoë O'Neil 2 / 2");
    EXPECT_EQ(enabledOf("Save Exit"), "Exit");
    EXPECT_EQ(card.txtDt[0]->text(), platform::dateText(QDate(1947, 8, 15)));
    const QStringList columns = {"Name",   "Company", "Address1", "Address2", "Address3",
                                 "City",   "PinCode", "State",    "Country",  "PhOff1",
                                 "PhOff2", "PhExt",   "PhFax",    "PhRes1",   "PhRes2",
                                 "PhCell", "PhPager", "EmlAddr"};
    EXPECT_EQ(sql("SELECT " + columns.join(" || '|' || ") + " FROM Address WHERE AddressId = 2"),
              QStringList{values.join('|')});
    EXPECT_EQ(sql("SELECT SalutationId || ReligionId || ' ' || DtBirth || ' ' || quote(DtMarriage)"
                  " FROM Address WHERE AddressId = 2"),
              QStringList{"32 1947-08-15 NULL"});
}

// A move away from a changed record asks: Cancel stays, No drops the
// change, Yes stores it. New on a new record stores it and starts another;
// Cancel, and Escape on an edit, go back to what is stored.
TEST_F(Card, PendingChangesAreAskedAboutStoredOrDropped)
{
    frmAddress& card = openCard({"Ada", "Bo", "Cy"});
    type(card.txtFld[5], "Goa");
    trigger("mnuNext", {Answer::Cancel});
    EXPECT_EQ(shown(), "Ada 1 / 3 changed");
    EXPECT_EQ(card.txtFld[5]->text(), "Goa");
    const auto asked = m_prompts.messages().back();
    EXPECT_EQ(asked.title, "Save");
    EXPECT_EQ(asked.text, "Record has been changed. Do you want to save the changes?");
    EXPECT_EQ(asked.buttons, platform::Buttons::YesNoCancel);
    trigger("mnuNext", {Answer::No});
    EXPECT_EQ(shown(), "Bo 2 / 3");
    type(card.txtFld[5], "Agra");
    trigger("mnuLast", {Answer::Yes});
    EXPECT_EQ(shown(), "Cy 3 / 3");

    trigger("mnuPrev");
    trigger("mnuNew");
    card.dbcFld[0]->setBoundText("1");
    card.dbcFld[1]->setBoundText("1");
    QTest::keyClicks(card.txtFld[0], "Dee");
    trigger("mnuNew"); // stores Dee and starts another
    type(card.txtFld[0], "Draft");
    EXPECT_EQ(shown(), "Draft 5 / 5 new changed");
    trigger("mnuCancel");
    EXPECT_EQ(shown(), "Dee 4 / 4");
    EXPECT_EQ(enabledOf("Del Exit"), "Del Exit");
    type(card.txtFld[5], "xyz");
    sql("UPDATE Address SET PinCode = '403001' WHERE Name = 'Dee'"); // another user
    QTest::keyClick(card.txtFld[5], Qt::Key_Escape);
    EXPECT_EQ(shown(), "Dee 4 / 4");
    EXPECT_TRUE(card.txtFld[5]->text().isEmpty()); // Dee was stored without a city
    EXPECT_EQ(card.txtFld[6]->text(), "403001");   // and is read again as stored now
    EXPECT_EQ(stored(),
              (QStringList{"Ada|Ada Ltd|Pune", "Bo|Bo Ltd|Agra", "Cy|Cy Ltd|Pune", "Dee||"}));
}

// Every way away from a changed record asks first. A save that fails
// after Yes, refused by a check or by a book that went away, that another
// program holds or that may only be read, stops the command that asked: the
// card stays open
// on the edited record with the typing, and a refused field keeps the focus.
TEST_F(Card, AFailedSaveStopsTheCommandThatAsked)
{
    frmAddress& card = openCard({"Ada", "Bo"});
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Next", [&] { QTest::keyClick(card.txtFld[0], Qt::Key_F11); }},
        {"New", [&] { QTest::keyClick(card.txtFld[0], Qt::Key_N, Qt::ControlModifier); }},
        {"Ctrl+F4", [&] { QTest::keyClick(card.txtFld[0], Qt::Key_F4, Qt::ControlModifier); }},
        {"the main window's close box", [&] { m_main->close(); }},
        {"File, Exit", [&] { trigger("mnuExit"); }},
        {"the card's close box", [&] { card.parentWidget()->close(); }},
    };
    // the book renamed away, held by another program, or made read-only
    enum class Outage { None, Gone, InUse, ReadOnly };
    const std::tuple<Outage, const char*, QString, QWidget*> failures[] = {
        // how the save fails, the typed pin code, what is told, the focus
        {Outage::None, "1-2a", "You have entered invalid pincode", card.txtFld[6]},
        {Outage::Gone, "4110", "TND.dbx", nullptr},
        {Outage::InUse, "4111",
         inUse() + "Your changes are kept on the card; save them again in a moment.", nullptr},
        {Outage::ReadOnly, "4112",
         "The address book '" + home("TND.dbx")
             + "' is read-only: nothing can be saved in it.\r\nYour changes are kept on the "
               "card, but this book cannot take them.",
         nullptr},
    };
    const auto writable = QFile::permissions(home("TND.dbx"));
    for (const auto& [outage, pin, telling, focus] : failures) {
        type(card.txtFld[6], pin);
        std::optional<testing_support::BookLock> lock;
        if (outage == Outage::Gone)
            ASSERT_TRUE(QFile::rename(home("TND.dbx"), home("away.dbx")));
        else if (outage == Outage::InUse)
            lock.emplace(home("TND.dbx"));
        else if (outage == Outage::ReadOnly)
            ASSERT_TRUE(QFile::setPermissions(home("TND.dbx"), QFile::ReadOwner));
        // The book fails every command alike; closing is what matters there.
        for (const auto& [name, command] :
             std::span(commands).subspan(outage == Outage::None ? 0 : 4)) {
            SCOPED_TRACE(std::string(name) + " with " + pin);
            // A book gone is told by the error report, anything else by a message.
            m_prompts.answerMessage(Answer::Yes);
            m_report.clear();
            outage == Outage::Gone ? expectReport() : void(m_prompts.answerMessage(Answer::OK));
            card.txtFld[0]->setFocus();
            command();
            QApplication::processEvents();
            EXPECT_EQ(m_prompts.pending(), 0u);
            ASSERT_EQ(frmAddress::instance(), &card);
            EXPECT_TRUE(card.isVisible());
            EXPECT_EQ(shown(), "Ada 1 / 2 changed");
            EXPECT_EQ(card.txtFld[6]->text(), pin);
            const QString told = m_report.isEmpty() ? lastMessage() : m_report;
            EXPECT_TRUE(told.contains(telling)) << told.toStdString();
            if (focus) {
                EXPECT_EQ(QApplication::focusWidget(), focus);
            }
        }
        QFile::rename(home("away.dbx"), home("TND.dbx"));
        QFile::setPermissions(home("TND.dbx"), writable);
    }
    const QString pin = "SELECT ifnull(PinCode, '') FROM Address WHERE Name = 'Ada'";
    EXPECT_EQ(sql(pin), QStringList{""});
    trigger("mnuSave"); // the book back, the typing is saved
    EXPECT_EQ(shown(), "Ada 1 / 2");
    EXPECT_EQ(sql(pin), QStringList{"4112"});
}

// Shift+Del is the menu's Delete, not the field's Cut; a delete asks, and
// shows the row the record moved to or, when another program writes the
// book, the record it kept. An empty book, emptied or opened so, locks every
// field and date button and takes no paste; New unlocks, Cancel locks again.
TEST_F(Card, DeletingDownToAnEmptyBookLocksTheCard)
{
    frmAddress& card = openCard({"Ada", "Bo", "Cy"});
    QTest::keyClick(card.txtFld[0], Qt::Key_F11);
    card.txtFld[0]->setFocus();
    card.txtFld[0]->selectAll();
    m_prompts.answerMessage(Answer::No);
    QTest::keyClick(card.txtFld[0], Qt::Key_Delete, Qt::ShiftModifier);
    const auto asked = m_prompts.messages().back();
    EXPECT_EQ(asked.title, "Delete.");
    EXPECT_EQ(asked.text, "You are about to delete a record.\r\nRecord once deleted would not be "
                          "retrieved back.\r\nAre you sure you want to delete this record?");
    EXPECT_EQ(asked.buttons, platform::Buttons::YesNo);
    EXPECT_EQ(asked.icon, platform::Icon::Critical);
    EXPECT_EQ(shown(), "Bo 2 / 3");
    { // another program writing: the book can be read, not written
        testing_support::BookLock lock(home("TND.dbx"), testing_support::BookLock::Mode::Writing);
        trigger("mnuDel", {Answer::Yes, Answer::OK});
        EXPECT_EQ(lastMessage(), inUse() + "The record was not deleted; try again in a moment.");
        EXPECT_EQ(shown(), "Bo 2 / 3");
    }
    for (const char* after : {"Ada 1 / 2", "Cy 1 / 1", " No Records"}) {
        trigger("mnuDel", {Answer::Yes});
        EXPECT_EQ(shown(), after);
    }
    EXPECT_TRUE(stored().isEmpty());

    const auto locked = [](const frmAddress& card) {
        return card.txtFld[0]->isReadOnly() + card.txtFld[17]->isReadOnly()
               + card.txtDt[2]->isReadOnly() + card.dbcFld[1]->Locked()
               + !card.cmdDt[1]->isEnabled();
    };
    EXPECT_EQ(locked(card), 5);
    closeBox();
    frmAddress& empty = *frmAddress::open();
    QApplication::processEvents();
    EXPECT_EQ(locked(empty), 5);
    EXPECT_EQ(enabledOf("New Del Next Find First"), "New");
    QApplication::clipboard()->setText("pasted");
    empty.txtFld[0]->setFocus();
    modGenProcedures::Paste();
    EXPECT_EQ(shown(), " No Records");
    trigger("mnuNew");
    EXPECT_EQ(locked(empty), 0);
    EXPECT_EQ(counter(), "1 / 1");
    trigger("mnuCancel");
    EXPECT_EQ(shown(), " No Records");
    EXPECT_EQ(enabledOf("New Save"), "New");
    EXPECT_EQ(locked(empty), 5);
}

// The date picker serves each date box, opening on its date, else today.
TEST_F(Card, TheDatePickerServesEachDateBox)
{
    frmAddress& card = openCard({"Ada"});
    card.txtDt[0]->setText("2000-02-31"); // impossible: today is offered
    card.cmdDt[0]->click();
    EXPECT_TRUE(card.mvwDt->isVisible());
    EXPECT_EQ(card.mvwDt->selectedDate(), QDate::currentDate());
    EXPECT_EQ(card.mvwDt->y(), card.txtDt[0]->geometry().bottom() + 1);
    card.cmdDt[0]->click();
    EXPECT_FALSE(card.mvwDt->isVisible());
    card.txtDt[2]->setText(platform::dateText(QDate(2001, 9, 11)));
    card.cmdDt[0]->click();
    card.cmdDt[2]->click(); // moves below the joining date without hiding
    EXPECT_TRUE(card.mvwDt->isVisible());
    EXPECT_EQ(card.mvwDt->x(), card.txtDt[2]->x());
    EXPECT_EQ(card.mvwDt->selectedDate(), QDate(2001, 9, 11));
    card.mvwDt_DateClick(QDate(2002, 3, 4));
    EXPECT_EQ(card.txtDt[2]->text(), platform::dateText(QDate(2002, 3, 4)));
    EXPECT_FALSE(card.mvwDt->isVisible());
    EXPECT_EQ(shown(), "Ada 1 / 1 changed");
    EXPECT_EQ(enabledOf("Save"), "Save");
}

// A desktop font beyond the usual sizes makes the whole card grow with it,
// its places, sizes and fonts alike; the usual sizes leave it as drawn.
TEST_F(Card, GrowsWithALargeDesktopFont)
{
    const QFont desktop = QApplication::font();
    const struct {
        double points;
        QRect name; // txtFld(0) at 4710, 570, 4230 by 360 twips
        double namePoints;
    } fonts[] = {{9, {314, 38, 282, 24}, 9.75},
                 {12, {314, 38, 282, 24}, 9.75},
                 {24, {628, 76, 564, 48}, 19.5}};
    for (const auto& font : fonts) {
        QFont large = desktop;
        large.setPointSizeF(font.points);
        QApplication::setFont(large);
        frmAddress card;
        EXPECT_EQ(card.txtFld[0]->geometry(), font.name) << font.points;
        EXPECT_EQ(card.txtFld[0]->font().pointSizeF(), font.namePoints) << font.points;
    }
    QApplication::setFont(desktop);
}

// By keyboard alone: Space on the button opens the picker with the focus in
// it, Enter takes the date, Escape leaves it; the focus goes back to the box.
TEST_F(Card, TheDatePickerOpensAndReturnsByKeyboard)
{
    frmAddress& card = openCard({"Ada"});
    card.txtDt[1]->setText(platform::dateText(QDate(2001, 9, 11)));
    const struct {
        Qt::Key key;
        QDate date;
    } closings[] = {{Qt::Key_Escape, QDate(2001, 9, 11)}, {Qt::Key_Return, QDate(2001, 9, 12)}};
    for (const auto& closing : closings) {
        card.cmdDt[1]->setFocus();
        QTest::keyClick(card.cmdDt[1], Qt::Key_Space);
        ASSERT_TRUE(card.mvwDt->isVisible());
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(card.mvwDt->isAncestorOf(focus)) << focus->objectName().toStdString();
        QTest::keyClick(focus, Qt::Key_Right);
        QTest::keyClick(focus, closing.key);
        EXPECT_FALSE(card.mvwDt->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), card.txtDt[1]);
        EXPECT_EQ(card.txtDt[1]->text(), platform::dateText(closing.date));
    }
}

} // namespace
