// The address card driven as a person drives it: keys and clicks on the
// real card over a real address book.

#include "card_fixture.h"

#include "card/edit_detection.h"
#include "platform/date_text.h"
#include "core/field_helpers.h"
#include "card/record_commands.h"
#include "support/book_lock.h"

#include <QCalendarWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

namespace {

using platform::Answer;

class Card : public CardTest {};

TEST_F(Card, OpensOnTheFirstContactAndBrowses)
{
    frmAddress& card = openCard({"Ada", "Bo", "Cy"});
    EXPECT_FALSE(main().menuItem(QStringLiteral("mnuAddress"))->isEnabled());
    EXPECT_TRUE(main().menuItem(QStringLiteral("mnuEml"))->isEnabled());
    EXPECT_EQ(modGenProcedures::nOpenCards, 1);
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Ada"));
    EXPECT_EQ(card.dbcFld[0]->Text(), QStringLiteral("Mr."));
    EXPECT_EQ(counter(), QStringLiteral("1 / 3"));
    EXPECT_TRUE(enabled("New") && enabled("Del") && enabled("Next") && enabled("Find"));
    EXPECT_FALSE(enabled("Save") || enabled("Cancel") || enabled("AppFilter"));
    EXPECT_EQ(card.backColor(), frmAddress::kNormalColor);

    QTest::keyClick(card.txtFld[0], Qt::Key_F12);
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Cy"));
    EXPECT_EQ(counter(), QStringLiteral("3 / 3"));
    QTest::keyClick(card.txtFld[0], Qt::Key_F11); // stays on the last
    EXPECT_EQ(counter(), QStringLiteral("3 / 3"));
    QTest::keyClick(card.txtFld[0], Qt::Key_F11, Qt::ShiftModifier);
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Bo"));
    QTest::keyClick(card.txtFld[0], Qt::Key_F12, Qt::ShiftModifier);
    EXPECT_EQ(counter(), QStringLiteral("1 / 3"));
    EXPECT_TRUE(m_prompts.recorded().empty());

    // Closing the card gives the menu item back and the toolbar its exit state.
    qobject_cast<QMdiSubWindow*>(card.parentWidget())->close();
    QApplication::processEvents();
    EXPECT_EQ(frmAddress::instance(), nullptr);
    EXPECT_EQ(modGenProcedures::nOpenCards, 0);
    EXPECT_TRUE(main().menuItem(QStringLiteral("mnuAddress"))->isEnabled());
    EXPECT_EQ(counter(), QStringLiteral(" / "));
}

TEST_F(Card, TypingMarksTheRecordChangedButMovingKeysDoNot)
{
    frmAddress& card = openCard({"Ada"});
    QLineEdit* city = card.txtFld[5];
    city->setFocus();
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_End, Qt::Key_F2, Qt::Key_Tab}) {
        QTest::keyClick(city, key);
        city->setFocus();
    }
    QTest::keyClick(city, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_FALSE(card.bEdit());
    EXPECT_FALSE(enabled("Save"));

    QTest::keyClick(city, Qt::Key_P); // small p: its character code is F1's, its key code is not
    EXPECT_TRUE(card.bEdit());
    EXPECT_TRUE(enabled("Save") && enabled("Cancel"));
    EXPECT_TRUE(main().menuItem(QStringLiteral("mnuSave"))->isEnabled());

    EXPECT_FALSE(modGenProcedures::bChkKeys(27));
    EXPECT_FALSE(modGenProcedures::bChkKeys(112));
    EXPECT_TRUE(modGenProcedures::bChkKeys(8));
    EXPECT_TRUE(modGenProcedures::bChkKeys(46));
    EXPECT_TRUE(modGenProcedures::bChkKeys(3)); // Ctrl+C types character 3
}

TEST_F(Card, AddSaveAndFindTheContactStoredUnchanged)
{
    frmAddress& card = openCard({"Ada"});
    QTest::keyClick(card.txtFld[0], Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(card.bAdd());
    EXPECT_EQ(card.backColor(), frmAddress::kAddingColor);
    EXPECT_EQ(QApplication::focusWidget(), card.dbcFld[0]);
    EXPECT_FALSE(enabled("Del") || enabled("Next") || enabled("Exit"));
    EXPECT_TRUE(card.txtFld[0]->text().isEmpty());
    EXPECT_EQ(counter(), QStringLiteral("2 / 2"));

    card.dbcFld[0]->setBoundText(QStringLiteral("3"));
    card.dbcFld[1]->setBoundText(QStringLiteral("2"));
    const QStringList values = {
        "Zoë O'Neil", "Ünïcode & Sons", "1 Main St", "Floor 2",  "Wing B",   "Pune",
        "411001",     "Maharashtra",    "India",     "020-1234", "020-5678", "12",
        "020-9",      "020-8",          "020-7",     "98220",    "12345",    "zoe@example.in"};
    for (int i = 0; i < card.txtFld.size(); ++i) {
        card.txtFld[i]->setFocus();
        card.txtFld[i]->insert(values[i]); // typed texts may hold any letter
    }
    QTest::keyClick(card.txtFld[17], Qt::Key_Space);
    QTest::keyClick(card.txtFld[17], Qt::Key_Backspace);
    card.txtDt[0]->setFocus();
    QTest::keyClicks(card.txtDt[0], QStringLiteral("1990-02-28"));
    QTest::keyClick(card.txtFld[0], Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(m_prompts.recorded().empty());
    EXPECT_FALSE(card.bAdd() || card.bEdit());
    EXPECT_EQ(card.backColor(), frmAddress::kNormalColor);
    EXPECT_FALSE(enabled("Save"));
    EXPECT_TRUE(enabled("Exit"));

    records::Address fresh;
    fresh.MoveLast();
    EXPECT_EQ(fresh.Name(), values[0]);
    EXPECT_EQ(fresh.Company(), values[1]);
    EXPECT_EQ(fresh.EmlAddr(), values[17]);
    EXPECT_EQ(fresh.PhPager(), values[16]);
    EXPECT_EQ(fresh.SalutationId(), 3);
    EXPECT_EQ(fresh.ReligionId(), 2);
    EXPECT_EQ(fresh.DtBirth(), platform::dateText(QDate(1990, 2, 28)));
}

TEST_F(Card, AddTwiceStoresTheFirstAndCancelReturns)
{
    frmAddress& card = openCard({"Ada", "Bo"});
    QTest::keyClick(card.txtFld[0], Qt::Key_F11); // on Bo
    typeNewContact(card, QStringLiteral("Cy"));
    trigger("mnuNew"); // stores Cy and starts another
    EXPECT_TRUE(card.bAdd());
    EXPECT_EQ(stored().size(), 3);
    card.txtFld[0]->setFocus();
    QTest::keyClicks(card.txtFld[0], QStringLiteral("Draft"));
    trigger("mnuCancel");
    EXPECT_FALSE(card.bAdd() || card.bEdit());
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Cy"));
    EXPECT_EQ(stored().size(), 3);
    EXPECT_TRUE(enabled("Del") && enabled("Exit"));

    // An edit cancelled by Escape shows the stored values again.
    card.txtFld[5]->setFocus();
    QTest::keyClicks(card.txtFld[5], QStringLiteral("xyz"));
    EXPECT_TRUE(card.bEdit());
    QTest::keyClick(card.txtFld[5], Qt::Key_Escape);
    EXPECT_FALSE(card.bEdit());
    EXPECT_TRUE(card.txtFld[5]->text().isEmpty()); // Cy was stored without a city
}

TEST_F(Card, InvalidValuesAreRefusedWithTheFocusOnTheField)
{
    frmAddress& card = openCard({"Ada"});
    card.txtFld[6]->setFocus();
    QTest::keyClicks(card.txtFld[6], QStringLiteral("4000A"));
    m_prompts.answerMessage(Answer::OK);
    trigger("mnuSave");
    EXPECT_EQ(m_prompts.messages().back().text, QStringLiteral("You have entered invalid pincode"));
    EXPECT_TRUE(card.bEdit());
    EXPECT_EQ(QApplication::focusWidget(), card.txtFld[6]);

    card.txtFld[6]->clear();
    card.txtFld[17]->setText(QStringLiteral("nobody.example.in"));
    m_prompts.answerMessage(Answer::OK);
    trigger("mnuSave");
    EXPECT_TRUE(m_prompts.messages().back().text.contains(QStringLiteral("'@' sign")));

    card.txtFld[17]->clear();
    card.txtDt[1]->setText(QStringLiteral("2023-02-31"));
    m_prompts.answerMessage(Answer::OK);
    trigger("mnuSave");
    EXPECT_EQ(m_prompts.messages().back().text,
              QStringLiteral("You have not entered correct date of marriage."));
    EXPECT_EQ(QApplication::focusWidget(), card.txtDt[1]);

    // Without a salutation the user is asked; No keeps the card as it is.
    card.txtDt[1]->clear();
    card.dbcFld[0]->setBoundText(QString());
    m_prompts.answerMessage(Answer::No);
    trigger("mnuSave");
    EXPECT_EQ(
        m_prompts.messages().back().text,
        QStringLiteral("You have not selected Salutation. Do you still want to save the changes?"));
    EXPECT_EQ(stored(), QStringList{"Ada|Ada Ltd|Pune"});

    // Texts never grow beyond their field.
    card.txtFld[11]->setText(QStringLiteral("123456789"));
    EXPECT_EQ(card.txtFld[11]->text(), QStringLiteral("12345"));
    card.txtFld[0]->setFocus();
    card.txtFld[0]->selectAll();
    card.txtFld[0]->insert(QStringLiteral("line one\r\nline two\tand\x07 a tab"));
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("line one line two and a tab"));
    card.txtFld[0]->selectAll();
    card.txtFld[0]->insert(QString(100, QLatin1Char('w')));
    EXPECT_EQ(card.txtFld[0]->text().size(), 40);
}

TEST_F(Card, MovesWithPendingChangesAsk)
{
    frmAddress& card = openCard({"Ada", "Bo", "Cy"});
    const auto edit = [&](const QString& text) {
        card.txtFld[5]->setFocus();
        card.txtFld[5]->selectAll();
        QTest::keyClicks(card.txtFld[5], text);
    };
    edit(QStringLiteral("Goa"));
    m_prompts.answerMessage(Answer::Cancel);
    trigger("mnuNext");
    EXPECT_EQ(counter(), QStringLiteral("1 / 3"));
    EXPECT_EQ(card.txtFld[5]->text(), QStringLiteral("Goa"));

    m_prompts.answerMessage(Answer::No);
    trigger("mnuNext");
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Bo"));
    EXPECT_EQ(stored()[0], QStringLiteral("Ada|Ada Ltd|Pune"));

    edit(QStringLiteral("Agra"));
    m_prompts.answerMessage(Answer::Yes);
    trigger("mnuLast");
    EXPECT_EQ(counter(), QStringLiteral("3 / 3"));
    EXPECT_EQ(stored()[1], QStringLiteral("Bo|Bo Ltd|Agra"));
    const auto asked = m_prompts.messages();
    EXPECT_EQ(asked.back().title, QStringLiteral("Save"));
    EXPECT_EQ(asked.back().text,
              QStringLiteral("Record has been changed. Do you want to save the changes?"));
    EXPECT_EQ(asked.back().buttons, platform::Buttons::YesNoCancel);
}

// A save refused by a check, after Yes to the save question, stops the
// command that asked: the card stays on the edited record with the typing
// and the focus on the refused field, and the record is still changed.
TEST_F(Card, ARefusedSaveStopsTheCommandThatAsked)
{
    frmAddress& card = openCard({"Ada", "Bo"});
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Next", [&] { QTest::keyClick(card.txtFld[0], Qt::Key_F11); }},
        {"New", [&] { QTest::keyClick(card.txtFld[0], Qt::Key_N, Qt::ControlModifier); }},
        {"Exit", [&] { trigger("mnuExit"); }},
        {"Close box", [&] { card.parentWidget()->close(); }},
    };
    card.txtFld[6]->setFocus();
    QTest::keyClicks(card.txtFld[6], QStringLiteral("12a"));
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        m_prompts.answerMessage(Answer::Yes).answerMessage(Answer::OK);
        card.txtFld[0]->setFocus();
        command();
        QApplication::processEvents();
        EXPECT_EQ(m_prompts.pending(), 0u);
        EXPECT_EQ(m_prompts.messages().back().text,
                  QStringLiteral("You have entered invalid pincode"));
        ASSERT_EQ(frmAddress::instance(), &card);
        EXPECT_FALSE(card.bAdd());
        EXPECT_TRUE(card.bEdit());
        EXPECT_EQ(counter(), QStringLiteral("1 / 2"));
        EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Ada"));
        EXPECT_EQ(card.txtFld[6]->text(), QStringLiteral("12a"));
        EXPECT_EQ(QApplication::focusWidget(), card.txtFld[6]);
    }
    EXPECT_EQ(stored()[0], QStringLiteral("Ada|Ada Ltd|Pune"));
}

TEST_F(Card, DeletingTheFirstMiddleAndLastContacts)
{
    frmAddress& card = openCard({"Ada", "Bo", "Cy", "Di"});
    QTest::keyClick(card.txtFld[0], Qt::Key_F11);
    m_prompts.answerMessage(Answer::No);
    trigger("mnuDel");
    EXPECT_EQ(stored().size(), 4);
    m_prompts.answerMessage(Answer::Yes);
    trigger("mnuDel"); // Bo, from the middle: Ada shows
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Ada"));
    EXPECT_EQ(counter(), QStringLiteral("1 / 3"));
    m_prompts.answerMessage(Answer::Yes);
    trigger("mnuDel"); // the first: the new first shows
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Cy"));
    QTest::keyClick(card.txtFld[0], Qt::Key_F12);
    m_prompts.answerMessage(Answer::Yes);
    trigger("mnuDel"); // the last
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Cy"));
    m_prompts.answerMessage(Answer::Yes);
    trigger("mnuDel"); // and the only one left
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(counter(), QStringLiteral("No Records"));
    EXPECT_TRUE(card.txtFld[0]->text().isEmpty());
    EXPECT_TRUE(card.txtFld[0]->isReadOnly());
    EXPECT_TRUE(enabled("New"));
    EXPECT_FALSE(enabled("Del") || enabled("Next"));
    const auto question = m_prompts.messages().back();
    EXPECT_EQ(question.title, QStringLiteral("Delete."));
    EXPECT_EQ(question.icon, platform::Icon::Critical);
}

TEST_F(Card, AnEmptyBookStartsLockedAndAddUnlocks)
{
    frmAddress& card = openCard();
    EXPECT_EQ(counter(), QStringLiteral("No Records"));
    EXPECT_TRUE(card.txtFld[0]->isReadOnly());
    EXPECT_TRUE(card.dbcFld[0]->Locked());
    EXPECT_TRUE(enabled("New"));
    EXPECT_FALSE(enabled("Find") || enabled("First"));
    trigger("mnuNew");
    EXPECT_FALSE(card.txtFld[0]->isReadOnly());
    EXPECT_EQ(counter(), QStringLiteral("1 / 1"));
    trigger("mnuCancel");
    EXPECT_EQ(counter(), QStringLiteral("No Records"));
    EXPECT_TRUE(enabled("New"));
    EXPECT_FALSE(enabled("Save"));
}

TEST_F(Card, TheDatePickerServesEachDateBox)
{
    frmAddress& card = openCard({"Ada"});
    card.txtDt[0]->setText(QStringLiteral("2000-02-31")); // impossible: today is offered
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
    EXPECT_TRUE(card.bEdit());
    EXPECT_FALSE(card.mvwDt->isVisible());
    EXPECT_TRUE(enabled("Save"));
}

TEST_F(Card, FieldHelpersActByKindAndName)
{
    frmAddress& card = openCard({"Ada"});
    modGenProcedures::ControlClear(&card);
    EXPECT_TRUE(card.txtFld[0]->text().isEmpty() && card.txtDt[0]->text().isEmpty());
    EXPECT_TRUE(card.dbcFld[0]->Text().isEmpty());
    EXPECT_TRUE(card.cmdDt[0]->isEnabled()); // the calendar buttons are left as they were
    modGenProcedures::LckCtrls(&card, true);
    EXPECT_TRUE(card.txtFld[17]->isReadOnly() && card.txtDt[2]->isReadOnly()
                && card.dbcFld[1]->Locked());
    EXPECT_FALSE(card.cmdDt[1]->isEnabled());
    modGenProcedures::LckCtrls(&card, false);
    EXPECT_FALSE(card.txtFld[17]->isReadOnly() || card.dbcFld[1]->Locked());
    EXPECT_TRUE(card.cmdDt[1]->isEnabled());
    modGenProcedures::AssgnValToCtrls(&card);
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Ada"));
    EXPECT_EQ(card.dbcFld[0]->Text(), QStringLiteral("Mr."));
}

TEST_F(Card, ComboUndoAndRedo)
{
    frmAddress& card = openCard({"Ada"});
    card.dbcFld[1]->setFocus(); // the undo buffer takes the value first seen
    const QString before = card.dbcFld[1]->Text();
    card.dbcFld[1]->setBoundText(QStringLiteral("3"));
    const QString chosen = card.dbcFld[1]->Text();
    ASSERT_NE(before, chosen);
    card.dbcFld_Undo(1);
    EXPECT_EQ(card.dbcFld[1]->Text(), before);
    card.dbcFld_Undo(1);
    EXPECT_EQ(card.dbcFld[1]->Text(), chosen);
    card.dbcFld_Undo(0); // never focused: back to empty
    EXPECT_TRUE(card.dbcFld[0]->Text().isEmpty());
}

TEST_F(Card, ClosingWithUnsavedChangesAsksFirst)
{
    frmAddress& card = openCard({"Ada"});
    QMdiSubWindow* child = qobject_cast<QMdiSubWindow*>(card.parentWidget());
    card.txtFld[5]->setFocus();
    QTest::keyClick(card.txtFld[5], Qt::Key_End);
    QTest::keyClicks(card.txtFld[5], QStringLiteral("x"));
    // Ctrl+F4 closes the card by the path of its close box.
    m_prompts.answerMessage(Answer::Cancel);
    QTest::keyClick(card.txtFld[5], Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.pending(), 0u);
    EXPECT_EQ(frmAddress::instance(), &card);
    EXPECT_EQ(card.txtFld[5]->text(), QStringLiteral("Punex"));
    // So does the main window's close box, and Cancel keeps the program open.
    m_prompts.answerMessage(Answer::Cancel);
    main().close();
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(frmAddress::instance(), &card);

    m_prompts.answerMessage(Answer::Yes);
    child->close();
    QApplication::processEvents();
    EXPECT_EQ(frmAddress::instance(), nullptr);
    EXPECT_EQ(stored(), QStringList{"Ada|Ada Ltd|Punex"});

    // File, Exit with the card open closes only the card.
    frmAddress* again = frmAddress::open();
    QApplication::processEvents();
    again->txtFld[5]->setFocus();
    QTest::keyClick(again->txtFld[5], Qt::Key_End);
    QTest::keyClicks(again->txtFld[5], QStringLiteral("y"));
    m_prompts.answerMessage(Answer::No);
    trigger("mnuExit");
    QApplication::processEvents();
    EXPECT_EQ(frmAddress::instance(), nullptr);
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(stored(), QStringList{"Ada|Ada Ltd|Punex"});
}

TEST_F(Card, ABookThatWentAwayKeepsTheTypedRecordOnTheCard)
{
    frmAddress& card = openCard({"Ada"});
    typeNewContact(card, QStringLiteral("Bo"));
    ASSERT_TRUE(QFile::rename(home(QStringLiteral("TND.dbx")), home(QStringLiteral("away.dbx"))));
    QString report;
    m_prompts.handleModal([&report](QDialog& dialog) {
        report = dialog.findChild<QPlainTextEdit*>(QStringLiteral("lbxErrMessage"))->toPlainText();
        dialog.reject();
    });
    QTest::keyClick(card.txtFld[0], Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(report.contains(QStringLiteral("TND.dbx"))) << report.toStdString();
    EXPECT_TRUE(card.bAdd() && card.bEdit());
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Bo"));
    EXPECT_EQ(card.backColor(), frmAddress::kAddingColor);

    // Back in place, the same record saves.
    ASSERT_TRUE(QFile::rename(home(QStringLiteral("away.dbx")), home(QStringLiteral("TND.dbx"))));
    QTest::keyClick(card.txtFld[0], Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(card.bAdd() || card.bEdit());
    EXPECT_EQ(stored(), (QStringList{"Ada|Ada Ltd|Pune", "Bo||"}));
}

// A book another program holds is told as what it is; the typed record
// stays on the card, a deleted one stays in the book, and both go through
// once the book is free.
TEST_F(Card, ABookInUseIsToldAsSuchAndLosesNothing)
{
    frmAddress& card = openCard({"Ada"});
    typeNewContact(card, QStringLiteral("Bo"));
    const QString inUse = QStringLiteral("The address book '%1' is in use by another program.\r\n")
                              .arg(home(QStringLiteral("TND.dbx")));
    {
        testing_support::BookLock lock(home(QStringLiteral("TND.dbx")));
        m_prompts.answerMessage(Answer::OK);
        QTest::keyClick(card.txtFld[0], Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(m_prompts.messages().back().text,
                  inUse
                      + QStringLiteral("Your changes are kept on the card; save them again in "
                                       "a moment."));
        EXPECT_TRUE(card.bAdd() && card.bEdit());
        EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Bo"));
    }
    QTest::keyClick(card.txtFld[0], Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(card.bAdd() || card.bEdit());
    EXPECT_EQ(stored(), (QStringList{"Ada|Ada Ltd|Pune", "Bo||"}));

    {
        // This time the other program is writing: the book can be read, not written.
        testing_support::BookLock lock(home(QStringLiteral("TND.dbx")),
                                       testing_support::BookLock::Mode::Writing);
        m_prompts.answerMessage(Answer::Yes).answerMessage(Answer::OK);
        trigger("mnuDel");
        EXPECT_EQ(
            m_prompts.messages().back().text.toStdString(),
            QString(inUse + QStringLiteral("The record was not deleted; try again in a moment."))
                .toStdString());
        EXPECT_EQ(counter(), QStringLiteral("2 / 2"));
        EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Bo"));
    }
    m_prompts.answerMessage(Answer::Yes);
    trigger("mnuDel");
    EXPECT_EQ(stored(), QStringList{"Ada|Ada Ltd|Pune"});
}

// A date typed as people write it is taken, stored as a date and shown in
// the program's form; an impossible one is refused with its message.
TEST_F(Card, DatesAreTakenAsPeopleWriteThem)
{
    frmAddress& card = openCard({"Ada"});
    QLineEdit* birth = card.txtDt[0];
    birth->setFocus();
    QTest::keyClicks(birth, QStringLiteral("2001-02-31"));
    m_prompts.answerMessage(Answer::OK);
    trigger("mnuSave");
    EXPECT_EQ(m_prompts.messages().back().text,
              QStringLiteral("You have not entered correct date of birth."));
    birth->selectAll();
    QTest::keyClicks(birth, QStringLiteral("Friday, August 15, 1947"));
    trigger("mnuSave");
    EXPECT_FALSE(card.bEdit());
    EXPECT_EQ(birth->text(), platform::dateText(QDate(1947, 8, 15)));
    auto db =
        data::Connection::open(QStringLiteral("Data Source=") + home(QStringLiteral("TND.dbx")));
    QSqlQuery query(db->database());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT DtBirth FROM Address")) && query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("1947-08-15"));
}

TEST_F(Card, MenuShortcutsComeBeforeTheFieldsOwnKeys)
{
    frmAddress& card = openCard({"Ada", "Bo"});
    card.txtFld[0]->setFocus();
    card.txtFld[0]->selectAll();
    m_prompts.answerMessage(Answer::No);
    QTest::keyClick(card.txtFld[0], Qt::Key_Delete, Qt::ShiftModifier); // Delete, not Cut
    EXPECT_EQ(m_prompts.messages().back().title, QStringLiteral("Delete."));
    EXPECT_EQ(card.txtFld[0]->text(), QStringLiteral("Ada"));
}

} // namespace
