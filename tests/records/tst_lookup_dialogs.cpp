// The pick-list dialogs as a person uses them: entries added, modified and
// deleted reach the database only through OK in the list, up to the last
// entry; refused texts; closing as Cancel; context help. The card's pop-up
// Add opens them too.

#include "records_fixture.h"

#include "records/frmeditlookup.h"
#include "records/frmlookup.h"
#include "records/lookup.h"

#include "widgets/data_list.h"
#include "platform/help.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace {

using platform::Answer;

void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    // A dialog counts as active while its parent is; wait for its own turn.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
}

void press(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

const QString kSalutationTooLong = "You cannot have salutation for more than 6 characters.";

class LookUpDialogs : public RecordsTest {
protected:
    LookUpDialogs() { m_main.setGeometry(120, 80, 1000, 700); }

    // The list as the edit command opens it, shown over the main window.
    frmLookUp& open(const char* table)
    {
        m_list = std::make_unique<frmLookUp>(&m_main);
        m_list->cls1()->setRecSrc(QLatin1String(table));
        m_list->Form_Load();
        showActive(*m_list);
        return *m_list;
    }

    // The next edit dialog is answered by `person`, who sees it shown.
    void editWith(std::function<void(frmEditLookUp&)> person)
    {
        m_prompts.handleModal([person](QDialog& dialog) {
            auto& edit = static_cast<frmEditLookUp&>(dialog);
            showActive(edit);
            person(edit);
        });
    }
    // Puts the text in place of the selected one, as typing does, and presses OK.
    static void enter(frmEditLookUp& edit, const QString& text)
    {
        edit.txtFld[0]->insert(text);
        press(edit.cmdOk);
    }
    // The list's Add or Modify opens the edit dialog, which takes `text`. A
    // `tooLong` text entered first is refused with the `refusal` message and
    // stays selected, to be typed over.
    void edit(QPushButton* command, const QString& text, const QString& tooLong = {},
              const QString& refusal = kSalutationTooLong)
    {
        editWith([=, this](frmEditLookUp& edit) {
            if (!tooLong.isEmpty()) {
                m_prompts.answerMessage(Answer::OK);
                enter(edit, tooLong);
                EXPECT_EQ(m_prompts.pending(), 0u);
                expectShown("Save", refusal, platform::Buttons::OK, platform::Icon::Critical);
                EXPECT_TRUE(edit.isVisible() && edit.txtFld[0]->hasFocus());
                EXPECT_EQ(edit.txtFld[0]->selectedText(), tooLong);
            }
            enter(edit, text);
            EXPECT_FALSE(edit.isVisible());
            EXPECT_EQ(edit.result(), QDialog::Accepted);
        });
        press(command);
    }
    void del(const QString& entry, Answer answer)
    {
        click(entry);
        m_prompts.answerMessage(answer);
        press(m_list->cmdDel);
    }

    void click(const QString& entry, Qt::KeyboardModifiers keys = {})
    {
        widgets::DataList* list = m_list->dltLookUp;
        const QList<QListWidgetItem*> found = list->findItems(entry, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << entry.toStdString();
        const QPoint at = list->visualItemRect(found.first()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, at);
    }
    QStringList listed() const
    {
        QStringList texts;
        for (int i = 0; i < m_list->dltLookUp->count(); ++i)
            texts << m_list->dltLookUp->item(i)->text();
        return texts;
    }
    void expectCentred(const QWidget& dialog) const
    {
        const QPoint off = dialog.frameGeometry().center() - m_main.frameGeometry().center();
        EXPECT_LE(off.manhattanLength(), 4) << off.x() << "," << off.y(); // the window frame
    }

    QWidget m_main; // stands for the main window
    std::unique_ptr<frmLookUp> m_list;
};

// Modify shows the chosen entry ready to be typed over, Add an empty box;
// closing either dialog, by Escape or by its close box, acts as Cancel, and
// so does the list's for what was added.
TEST_F(LookUpDialogs, ShowOverTheMainWindowAndCloseAsCancel)
{
    frmLookUp& list = open("Religion");
    EXPECT_EQ(listed(), kReligions);
    expectCentred(list);
    list.move(0, 0); // the edit dialog still goes over the main window

    click("Sikh");
    editWith([this](frmEditLookUp& edit) {
        expectCentred(edit);
        EXPECT_TRUE(edit.txtFld[0]->hasFocus());
        EXPECT_EQ(edit.txtFld[0]->selectedText(), QStringLiteral("Sikh"));
        edit.cmdCancel->setFocus();
        showActive(*m_list); // away and back: the text box has the focus again
        showActive(edit);
        EXPECT_TRUE(edit.txtFld[0]->hasFocus());
        QTest::keyClicks(edit.txtFld[0], "Sufi");
        QTest::keyClick(edit.txtFld[0], Qt::Key_Escape);
        EXPECT_FALSE(edit.isVisible());
    });
    press(list.cmdModify);

    editWith([](frmEditLookUp& edit) {
        EXPECT_EQ(edit.txtFld[0]->text(), QString());
        EXPECT_TRUE(edit.txtFld[0]->hasFocus());
        QTest::keyClicks(edit.txtFld[0], "Sufi");
        edit.close();
        EXPECT_FALSE(edit.isVisible());
    });
    press(list.cmdAdd);
    EXPECT_EQ(listed(), kReligions);
    EXPECT_FALSE(list.bAdd || list.cls1()->bAdd);
    EXPECT_TRUE(m_prompts.messages().empty());
    edit(list.cmdAdd, QString(15, u'r'), QString(16, u'r'),
         "You cannot have Religion for more than 15 characters.");

    del("Sikh", Answer::Yes);
    list.close();
    EXPECT_EQ(list.result(), QDialog::Rejected);
    EXPECT_EQ(list.cls1()->RecCount(), 9);
    EXPECT_EQ(stored("Religion"), kReligions);
}

// Additions, changes (of a new entry too) and deletions, some abandoned or
// refused at first, of entries with quotes and in other scripts: Cancel in
// the list drops them all, OK stores them.
TEST_F(LookUpDialogs, ChangesReachTheDatabaseOnlyThroughOk)
{
    // Ada's salutation is deleted; she keeps its id.
    exec("INSERT INTO Salutation (Salutation) VALUES ('O''Neil'), ('श्री')");
    exec("INSERT INTO Address (Name, SalutationId) VALUES ('Ada', 9)");
    const QStringList before = kSalutations + QStringList{"O'Neil", "श्री"};
    const QStringList after = kSalutations + QStringList{"Śrī", "Sire"};
    for (QPushButton* frmLookUp::*close : {&frmLookUp::cmdCancel, &frmLookUp::cmdOk}) {
        frmLookUp& list = open("Salutation");
        edit(list.cmdAdd, "Sirrah", "Sirrah!"); // six letters at most
        click("Sirrah");
        edit(list.cmdModify, "Sire");
        click("श्री");
        edit(list.cmdModify, "Śrī", "Śrīmānjī");
        del("O'Neil", Answer::Yes);
        EXPECT_EQ(list.dltLookUp->currentItem()->text(), QStringLiteral("Smt."));
        del("Ms.", Answer::No);
        click("Dr.");
        editWith([](frmEditLookUp& edit) {
            QTest::keyClicks(edit.txtFld[0], "Doc");
            press(edit.cmdCancel);
        });
        press(list.cmdModify);
        EXPECT_EQ(listed(), after);
        EXPECT_FALSE(list.bAdd);
        EXPECT_EQ(stored("Salutation"), before);

        press(list.*close);
        const bool ok = close == &frmLookUp::cmdOk;
        EXPECT_EQ(list.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(listed(), ok ? after : before);
        EXPECT_EQ(stored("Salutation"), ok ? after : before);
    }
    EXPECT_EQ(column("SELECT SalutationId FROM Address"), QStringList{"9"});
}

TEST_F(LookUpDialogs, ModifyAndDeleteWithoutASelectionOnlySaySo)
{
    // Fresh from the card, and after a Ctrl+click took the choice away.
    for (const bool fresh : {true, false}) {
        frmLookUp& list = open("Salutation");
        if (!fresh) {
            click("Mr.");
            click("Mr.", Qt::ControlModifier);
        }
        EXPECT_TRUE(list.dltLookUp->selectedItems().isEmpty());
        m_prompts.answerMessage(Answer::OK).answerMessage(Answer::OK);
        press(list.cmdModify);
        expectShown("Modify", "Select the item you want to modify.", platform::Buttons::OK,
                    platform::Icon::None);
        press(list.cmdDel);
        expectShown("Delete", "Select the item you want to delete.", platform::Buttons::OK,
                    platform::Icon::None);
    }
    EXPECT_EQ(m_prompts.recorded().size(), 4u); // no edit dialog, no delete question
    // The first key down chooses the first entry.
    QTest::keyClick(m_list->dltLookUp, Qt::Key_Down);
    ASSERT_EQ(m_list->dltLookUp->selectedItems().size(), 1);
    EXPECT_EQ(m_list->dltLookUp->selectedItems().first()->text(), kSalutations.first());
    press(m_list->cmdOk);
    EXPECT_EQ(stored("Salutation"), kSalutations);
}

// The last entry can be deleted too; the list then opens empty, and its
// Cancel has no entry to return to.
TEST_F(LookUpDialogs, EveryEntryCanBeDeleted)
{
    exec("DELETE FROM Salutation WHERE SalutationId > 2");
    frmLookUp& list = open("Salutation");
    del("Mr.", Answer::Yes);
    EXPECT_EQ(list.dltLookUp->currentItem()->text(), QStringLiteral("Mrs."));
    del("Mrs.", Answer::Yes);
    press(list.cmdOk);
    EXPECT_EQ(stored("Salutation"), QStringList());
    press(open("Salutation").cmdCancel);
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(LookUpDialogs, HelpKeyShowsTheTopicOfTheFocusedControl)
{
    QFile page(m_home.filePath(QStringLiteral("help.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><a name=\"topic2\"></a><a name=\"topic23\"></a>"
               "<a name=\"topic32\"></a></body></html>");
    page.close();
    platform::setHelpFile(page.fileName());
    const auto topicOf = [](QWidget* control) {
        delete platform::helpWindow();
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F1);
        auto* help = qobject_cast<QTextBrowser*>(platform::helpWindow());
        return help ? help->source().fragment() : QString();
    };

    frmLookUp& list = open("Salutation");
    // A control's own topic, or else its dialog's.
    const std::pair<QWidget*, const char*> expected[] = {
        {list.cmdAdd, "topic2"}, {list.cmdDel, "topic23"}, {list.dltLookUp, "topic32"}};
    for (const auto& [control, topic] : expected)
        EXPECT_EQ(topicOf(control), QLatin1String(topic)) << control->objectName().toStdString();
    // The edit dialog's topic is that of the command that opened it.
    click("Mr.");
    for (const auto& [command, topic] :
         {std::pair{list.cmdModify, "topic23"}, std::pair{list.cmdAdd, "topic2"}}) {
        editWith([&, topic](frmEditLookUp& edit) {
            EXPECT_EQ(topicOf(edit.txtFld[0]), QLatin1String(topic));
            press(edit.cmdCancel);
        });
        press(command);
    }
    platform::helpWindow()->close();
    platform::setHelpFile(QString());
}

} // namespace
