// The contacts list on a real book, opened from its menu beside the card.

#include "card/card_fixture.h"

#include "core/book_changes.h"
#include "core/program.h"
#include "list/contacts_model.h"
#include "list/frmcontactslist.h"
#include "platform/profile_file.h"
#include "support/screen_reader.h"

#include <QHeaderView>
#include <QTableView>

using tovren::ContactsModel;
using tovren::frmContactsList;

namespace {

struct Contact {
    const char* name;
    const char* company;
    const char* city;
    const char* cell;
    const char* office;
    const char* email;
};

// Odd characters on purpose: quotes, wildcards of other programs, accents,
// right-to-left text and emoji are all plain characters to the search.
const Contact kBook[] = {
    {"Émile Zola", "Acme Ltd", "Pune", "", "020 555-1234", "emile@acme.in"},
    {"Bo O'Brien", "Fifty% Off", "Goa", "98 76 54", "", "bo@goa.in"},
    {"Zoë Star*", "a_b Works", "Mumbai", "", "", ""},
    {"אבי כהן", "Acme Ltd", "Haifa", "", "", ""},
    {"Ravi 😀", "", "Pune", "", "", "ravi@x.in"},
    {"anna", "Beta", "", "", "", ""},
};

class ContactsListTest : public CardTest {
protected:
    // The book above, and `more` contacts after it: "Anna 0000", "Bob 0001",
    // "Anna 0002"..., every third in Pune, the others in Goa.
    frmContactsList& openList(int more = 0)
    {
        addDatabase();
        sql("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?) "
            "INSERT INTO Address (Name, City, SalutationId, ReligionId) "
            "SELECT CASE i % 2 WHEN 0 THEN 'Anna ' ELSE 'Bob ' END || printf('%04d', i), "
            "CASE i % 3 WHEN 0 THEN 'Pune' ELSE 'Goa' END, 1, 1 FROM n WHERE ? > 0",
            {more, more});
        for (const Contact& c : kBook)
            sql("INSERT INTO Address (Name, Company, City, PhCell, PhOff1, EmlAddr, SalutationId, "
                "ReligionId) VALUES (?, nullif(?, ''), nullif(?, ''), nullif(?, ''), "
                "nullif(?, ''), nullif(?, ''), 1, 1)",
                {QString(c.name), QString(c.company), QString(c.city), QString(c.cell),
                 QString(c.office), QString(c.email)});
        start().show();
        m_main->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_main.get()));
        QTest::keyClick(m_main.get(), Qt::Key_L, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_NE(frmAddress::instance(), nullptr);
        EXPECT_NE(frmContactsList::instance(), nullptr);
        return *frmContactsList::instance();
    }
    // The column `column` of the shown rows, joined by ",".
    static QString shownColumn(int column = ContactsModel::Name)
    {
        const ContactsModel& model = frmContactsList::instance()->model();
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts << model.index(row, column).data().toString();
        return texts.join(',');
    }
    // Typed key by key; what no key of the test keyboard gives is pasted.
    static void search(const QString& text)
    {
        QLineEdit* search = frmContactsList::instance()->txtSearch;
        const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
        ascii ? QTest::keyClicks(search, text) : search->insert(text);
    }
    // The table's row that shows `name`, made current.
    static QModelIndex rowOf(const QString& name)
    {
        QTableView* table = frmContactsList::instance()->tblContacts;
        const QModelIndexList found = table->model()->match(
            table->model()->index(0, ContactsModel::Name), Qt::DisplayRole, name, 1,
            Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << qPrintable(name);
        table->setFocus();
        table->setCurrentIndex(found.value(0));
        table->scrollTo(found.value(0));
        return found.value(0);
    }
    // The name in the table's current row.
    static QString selectedName()
    {
        QTableView* table = frmContactsList::instance()->tblContacts;
        const QModelIndexList rows = table->selectionModel()->selectedRows(ContactsModel::Name);
        return rows.size() == 1 ? rows[0].data().toString() : QString("<none>");
    }
    // Lets the search look at every row.
    static void finishSearch()
    {
        while (frmContactsList::instance()->model().isCounting())
            QApplication::processEvents();
    }
    static void clickHeading(int column)
    {
        QHeaderView* header = frmContactsList::instance()->tblContacts->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(ContactsListTest, OpensSortedByNameWithThePhoneThatIsSet)
{
    frmContactsList& list = openList();
    EXPECT_EQ(shownColumn(), QString::fromUtf8("anna,Bo O'Brien,Émile Zola,Ravi 😀,Zoë Star*,אבי כהן"));
    EXPECT_EQ(shownColumn(ContactsModel::Phone), QString(",98 76 54,020 555-1234,,,"));
    EXPECT_EQ(list.lblCount->text(), "6 / 6");
    EXPECT_EQ(list.lblCount->accessibleName(), "6 of 6 contacts shown");
}

TEST_F(ContactsListTest, SearchNarrowsAsEachKeyIsTyped)
{
    struct Case {
        const char* typed;
        const char* names; // shown, in the order of names
    };
    const QString longPaste(10000, QChar('x'));
    const Case cases[] = {
        {"pune", "Émile Zola,Ravi 😀"},
        {"ACME emile", "Émile Zola"},        // any case, any order, accents folded
        {"ltd acme", "Émile Zola,אבי כהן"},  // company
        {"zoe", "Zoë Star*"},
        {"ZOË", "Zoë Star*"},
        {"0205551234", "Émile Zola"},        // digits without the spaces and dashes
        {"555-12", "Émile Zola"},
        {"(020) 555", "Émile Zola"},         // "(" alone is text, "(0" a phone number
        {"987654", "Bo O'Brien"},
        {"O'Brien", "Bo O'Brien"},           // a quote is a character
        {"'", "Bo O'Brien"},
        {"*", "Zoë Star*"},                  // no wildcard
        {"%", "Bo O'Brien"},
        {"_", "Zoë Star*"},
        {"goa.in", "Bo O'Brien"},            // e-mail
        {"כהן", "אבי כהן"},
        {"😀", "Ravi 😀"},
        {"pune nobody", ""},
    };
    frmContactsList& list = openList();
    for (const Case& c : cases) {
        list.txtSearch->clear();
        search(QString::fromUtf8(c.typed));
        EXPECT_EQ(shownColumn(), QString::fromUtf8(c.names)) << c.typed;
    }
    // Each new count is told to a screen reader as well.
    testing_support::ScreenReader reader;
    list.txtSearch->clear();
    list.txtSearch->setText(longPaste);
    EXPECT_EQ(list.lblCount->text(), "0 / 6");
    QTest::keyClick(list.txtSearch, Qt::Key_Escape);
    EXPECT_EQ(list.txtSearch->text(), "");
    EXPECT_EQ(list.lblCount->text(), "6 / 6");
    EXPECT_EQ(reader.take(), QStringList({"6 of 6 contacts shown", "0 of 6 contacts shown", "6 of 6 contacts shown"}));
}

// A key is answered with the first rows at once; the rest of the search
// goes on from the event loop, and a key typed meanwhile narrows what it
// kept and what it had not yet turned down.
TEST_F(ContactsListTest, ASearchGoesOnAfterItsKeyAndTheNextKeyNarrowsIt)
{
    frmContactsList& list = openList(1000);
    list.model().setSliceNanoseconds(0); // a step of rows a slice
    QTest::keyClicks(list.txtSearch, "a");
    EXPECT_TRUE(list.lblCount->text().endsWith(" / 1006, counting")) << qPrintable(list.lblCount->text());
    EXPECT_EQ(list.lblCount->accessibleName(), "Counting contacts");
    struct Step {
        bool anew;         // Escape first
        const char* typed; // after what was typed before
        bool finish;       // looked at every row before the next key
        int shown;
        const char* names; // the first and the last shown
    };
    const Step steps[] = {
        {false, "n", false, 0, ""},                         // "an" while "a" goes on
        {false, " pu", true, 167, "Anna 0000,Anna 0996"},   // the Annas in Pune
        {false, "ne", true, 167, "Anna 0000,Anna 0996"},    // narrows a finished search
        {true, "bo", true, 501, "Bo O'Brien,Bob 0999"},
    };
    for (const Step& step : steps) {
        if (step.anew)
            QTest::keyClick(list.txtSearch, Qt::Key_Escape);
        QTest::keyClicks(list.txtSearch, step.typed);
        if (!step.finish)
            continue;
        finishSearch();
        EXPECT_EQ(list.model().rowCount(), step.shown) << step.typed;
        EXPECT_EQ(shownColumn().section(',', 0, 0) + ',' + shownColumn().section(',', -1),
                  step.names);
        EXPECT_EQ(list.lblCount->accessibleName(),
                  QString("%1 of 1006 contacts shown").arg(step.shown));
    }
    QTest::keyClick(list.txtSearch, Qt::Key_Escape);
    EXPECT_FALSE(list.model().isCounting());
    EXPECT_EQ(list.lblCount->text(), "1006 / 1006");
}

TEST_F(ContactsListTest, HeadingsSortBothWaysAndKeepTheSearch)
{
    frmContactsList& list = openList();
    QTest::keyClicks(list.txtSearch, "in");
    clickHeading(ContactsModel::City);
    EXPECT_EQ(shownColumn(ContactsModel::City), "Goa,Pune,Pune");
    clickHeading(ContactsModel::City);
    EXPECT_EQ(shownColumn(ContactsModel::City), "Pune,Pune,Goa");
    list.txtSearch->clear();
    clickHeading(ContactsModel::Company);
    EXPECT_EQ(shownColumn(ContactsModel::Company), ",a_b Works,Acme Ltd,Acme Ltd,Beta,Fifty% Off");
}

TEST_F(ContactsListTest, ColumnsKeepWidthOrderAndVisibilityBetweenRuns)
{
    QHeaderView* header = openList().tblContacts->horizontalHeader();
    header->resizeSection(ContactsModel::Name, 211);
    header->hideSection(ContactsModel::City);
    header->moveSection(header->visualIndex(ContactsModel::Email), 0);
    frmContactsList::instance()->parentWidget()->close();
    QApplication::processEvents();
    ASSERT_EQ(frmContactsList::instance(), nullptr);
    EXPECT_FALSE(platform::readProfileString(tovren::settingsFile(), "ContactsList", "Columns")
                     .isEmpty());

    m_main->menuItem("mnuContactsList")->trigger();
    header = frmContactsList::instance()->tblContacts->horizontalHeader();
    EXPECT_EQ(header->sectionSize(ContactsModel::Name), 211);
    EXPECT_TRUE(header->isSectionHidden(ContactsModel::City));
    EXPECT_EQ(header->visualIndex(ContactsModel::Email), 0);
}

TEST_F(ContactsListTest, BookEmptiedElsewhereAndRefreshedShowsNoRows)
{
    frmContactsList& list = openList();
    sql("DELETE FROM Address");
    list.tblContacts->viewport()->repaint(); // the rows it shows are still held
    m_main->showChild(frmAddress::instance());
    trigger("mnuRefresh");
    list.tblContacts->viewport()->repaint(); // the rows it showed are gone
    m_main->showChild(&list);
    EXPECT_EQ(list.lblCount->text(), "0 / 0");
    QTest::keyClicks(list.txtSearch, "pune");
    EXPECT_EQ(list.lblCount->text(), "0 / 0");
}

// What the book's change signal brings (an import, a merge, a sync) shows
// at once, with the card open or closed; so does Refresh in the list.
struct Written {
    bool cardOpen;
    bool signalled; // else Refresh
};

class ABookWrittenElsewhere : public ContactsListTest,
                              public testing::WithParamInterface<Written> {};

TEST_P(ABookWrittenElsewhere, ShowsInTheListAtOnce)
{
    frmContactsList& list = openList();
    if (!GetParam().cardOpen) {
        frmAddress::instance()->parentWidget()->close();
        QApplication::processEvents();
    }
    m_main->showChild(&list);
    sql("INSERT INTO Address (Name, City, SalutationId, ReligionId) VALUES ('Aaron', 'Goa', 1, 1)");
    sql("DELETE FROM Address WHERE Name = 'anna'");
    GetParam().signalled ? tovren::bookWritten() : trigger("mnuRefresh");
    EXPECT_EQ(list.lblCount->text(), "6 / 6");
    EXPECT_EQ(shownColumn().section(',', 0, 1), "Aaron,Bo O'Brien");
    // Refresh is offered with the list, not left behind it.
    list.parentWidget()->close();
    QApplication::processEvents();
    EXPECT_EQ(m_main->menuItem("mnuRefresh")->isEnabled(), GetParam().cardOpen);
}

INSTANTIATE_TEST_SUITE_P(ContactsList, ABookWrittenElsewhere,
                         testing::Values(Written{true, true}, Written{true, false},
                                         Written{false, true}, Written{false, false}));

// Beside the card, never over it, inside the main window; as wide as every
// column needs when the main window has the room.
TEST_F(ContactsListTest, OpensBesideTheCardWideEnoughForEveryColumn)
{
    openList();
    for (const int mainWidth : {1180, 1900}) {
        frmContactsList::instance()->parentWidget()->close();
        QApplication::processEvents();
        m_main->resize(mainWidth, 760);
        m_main->menuItem("mnuContactsList")->trigger();
        const frmContactsList& list = *frmContactsList::instance();
        const QRect window = list.parentWidget()->geometry();
        EXPECT_FALSE(window.intersects(frmAddress::instance()->parentWidget()->geometry()));
        EXPECT_TRUE(list.parentWidget()->parentWidget()->rect().contains(window));
        const QHeaderView* header = list.tblContacts->horizontalHeader();
        for (int column = 0; column < ContactsModel::ColumnCount; ++column)
            EXPECT_GT(header->sectionSize(column), header->sectionSizeHint(column));
        if (mainWidth > 1800) {
            EXPECT_LE(header->length(), list.tblContacts->viewport()->width());
        }
    }
}

TEST_F(ContactsListTest, EnterShowsTheRowOnTheCardAndTheCardMovesTheList)
{
    frmContactsList& list = openList();
    rowOf("Bo O'Brien");
    QTest::keyClick(list.tblContacts, Qt::Key_Return);
    EXPECT_EQ(m_main->ActiveForm(), frmAddress::instance());
    EXPECT_EQ(shown(), "Bo O'Brien 2 / 6");
    trigger("mnuNext"); // the card's own order: as the rows were stored
    EXPECT_EQ(selectedName(), QString::fromUtf8("Zoë Star*"));

    frmAddress::instance()->parentWidget()->close();
    QApplication::processEvents();
    m_main->showChild(&list);
    QTest::keyClick(list.tblContacts, Qt::Key_Return); // opens the card again
    ASSERT_NE(frmAddress::instance(), nullptr);
    EXPECT_EQ(shown(), QString::fromUtf8("Zoë Star* 3 / 6"));
}

struct SaveAnswer {
    platform::Answer answer;
    const char* shown;
    const char* third; // the list's third name afterwards
};

class TheSaveQuestion : public ContactsListTest, public testing::WithParamInterface<SaveAnswer> {};

TEST_P(TheSaveQuestion, ComesBeforeTheCardShowsAnotherRow)
{
    frmContactsList& list = openList();
    type(frmAddress::instance()->txtFld[0], "s", true);
    m_main->showChild(&list);
    ASSERT_EQ(shown(), "Émile Zolas 1 / 6 changed");
    m_prompts.answerMessage(GetParam().answer);
    const QPoint anna = list.tblContacts->visualRect(rowOf("anna")).center();
    // A double click as the mouse gives it: a click, then the second press.
    QTest::mouseClick(list.tblContacts->viewport(), Qt::LeftButton, {}, anna);
    QTest::mouseDClick(list.tblContacts->viewport(), Qt::LeftButton, {}, anna);
    ASSERT_FALSE(m_prompts.messages().empty());
    EXPECT_EQ(lastMessage(), "Record has been changed. Do you want to save the changes?");
    EXPECT_EQ(shown(), QString::fromUtf8(GetParam().shown));
    EXPECT_EQ(shownColumn().section(',', 2, 2), QString::fromUtf8(GetParam().third));
}

INSTANTIATE_TEST_SUITE_P(
    ContactsList, TheSaveQuestion,
    testing::Values(SaveAnswer{platform::Answer::Cancel, "Émile Zolas 1 / 6 changed", "Émile Zola"},
                    SaveAnswer{platform::Answer::No, "anna 6 / 6", "Émile Zola"},
                    SaveAnswer{platform::Answer::Yes, "anna 6 / 6", "Émile Zolas"}));

TEST_F(ContactsListTest, SavesAndDeletesOnTheCardShowAtOnce)
{
    frmContactsList& list = openList();
    m_main->showChild(frmAddress::instance());
    type(frmAddress::instance()->txtFld[0], "Aaron");
    trigger("mnuSave");
    EXPECT_EQ(shownColumn().section(',', 0, 0), "Aaron");
    EXPECT_EQ(selectedName(), "Aaron");
    trigger("mnuDel", {platform::Answer::Yes});
    EXPECT_EQ(list.lblCount->text(), "5 / 5");
    EXPECT_EQ(shownColumn().section(',', 0, 0), "anna");
}

TEST_F(ContactsListTest, WorksFromTheKeyboardWithEveryControlNamed)
{
    frmContactsList& list = openList();
    for (QWidget* control : list.findChildren<QWidget*>()) {
        if (control->focusPolicy() != Qt::NoFocus || control == list.lblCount)
            EXPECT_FALSE(control->accessibleName().isEmpty()) << qPrintable(control->objectName());
    }
    EXPECT_EQ(QApplication::focusWidget(), list.txtSearch);
    QTest::keyClicks(QApplication::focusWidget(), "goa");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), list.tblContacts);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(shown(), "Bo O'Brien 2 / 6");

    m_main->showChild(&list);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), list.txtSearch);
    QTest::keyClick(list.txtSearch, Qt::Key_Escape);
    QTest::keyClick(list.txtSearch, Qt::Key_Down);
    QTest::keyClick(list.tblContacts, Qt::Key_Down);
    QTest::keyClick(list.tblContacts, Qt::Key_Enter);
    EXPECT_EQ(shown(), QString::fromUtf8("Émile Zola 1 / 6"));
}

} // namespace
