// The pick-list dialogs as a person uses them: adding, modifying and
// deleting entries, which reach the database only through OK in the list;
// refused texts; the add command's way in; closing by the close box or
// Escape; context help.

#include "records_fixture.h"

#include "records/frmeditlookup.h"
#include "records/frmlookup.h"
#include "records/lookup.h"

#include "widgets/ado_data_control.h"
#include "widgets/data_combo.h"
#include "widgets/data_list.h"
#include "platform/help.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace {

using platform::Answer;

const QStringList kSalutations{"Mr.", "Mrs.", "Ms.", "Miss", "Dr.", "Prof.", "Shri", "Smt."};
const QStringList kReligions{"Hindu", "Muslim", "Christian", "Sikh", "Buddhist",
                             "Jain",  "Parsi",  "Jewish",    "Other"};

// Lists compare as one readable text.
std::string joined(const QStringList& texts)
{
    return texts.join(QStringLiteral(", ")).toStdString();
}

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

class LookUpDialogs : public RecordsTest {
protected:
    LookUpDialogs() { m_main.setGeometry(120, 80, 1000, 700); }

    frmLookUp& create(const char* table, bool add = false)
    {
        m_list = std::make_unique<frmLookUp>(&m_main);
        m_list->cls1()->setRecSrc(QLatin1String(table));
        m_list->bAdd = add;
        return *m_list;
    }
    // The list as the edit command opens it, shown over the main window.
    frmLookUp& open(const char* table)
    {
        create(table).Form_Load();
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
    void add(const QString& text)
    {
        editWith([text](frmEditLookUp& edit) { enter(edit, text); });
        press(m_list->cmdAdd);
    }
    void modify(const QString& entry, const QString& text)
    {
        click(entry);
        editWith([text](frmEditLookUp& edit) { enter(edit, text); });
        press(m_list->cmdModify);
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
    std::string listed() const
    {
        QStringList texts;
        for (int i = 0; i < m_list->dltLookUp->count(); ++i)
            texts << m_list->dltLookUp->item(i)->text();
        return joined(texts);
    }
    std::string stored(const char* table)
    {
        return joined(
            column(QStringLiteral("SELECT %1 FROM %1 ORDER BY %1Id").arg(QLatin1String(table))));
    }
    void expectCentred(const QWidget& dialog) const
    {
        const QPoint off = dialog.frameGeometry().center() - m_main.frameGeometry().center();
        EXPECT_LE(off.manhattanLength(), 4) << off.x() << "," << off.y(); // the window frame
    }

    QWidget m_main; // stands for the main window
    std::unique_ptr<frmLookUp> m_list;
};

TEST_F(LookUpDialogs, ShowTheirPickListOverTheMainWindow)
{
    frmLookUp& list = open("Religion");
    EXPECT_EQ(list.windowTitle(), QStringLiteral("Look Up"));
    EXPECT_EQ(list.lblLookUps->text(), QStringLiteral("LookUp for Religion"));
    EXPECT_EQ(listed(), joined(kReligions));
    expectCentred(list);
    list.move(0, 0); // the edit dialog still goes over the main window

    click(QStringLiteral("Sikh"));
    editWith([this](frmEditLookUp& edit) {
        expectCentred(edit);
        EXPECT_EQ(edit.windowTitle(), QStringLiteral("Edit LookUp"));
        EXPECT_EQ(edit.lblLookUps->text(), QStringLiteral("LookUp"));
        EXPECT_EQ(edit.lblTxt[0]->text(), QStringLiteral("Religion"));
        EXPECT_EQ(edit.palette().color(QPalette::Window), QColor(224, 199, 112));
        EXPECT_TRUE(edit.txtFld[0]->hasFocus());
        EXPECT_EQ(edit.txtFld[0]->selectedText(), QStringLiteral("Sikh"));
        edit.cmdCancel->setFocus();
        showActive(*m_list); // away and back: the text box has the focus again
        showActive(edit);
        EXPECT_TRUE(edit.txtFld[0]->hasFocus());
        press(edit.cmdCancel);
    });
    press(list.cmdModify);

    editWith([](frmEditLookUp& edit) {
        EXPECT_EQ(edit.windowTitle(), QStringLiteral("Add new Religion."));
        EXPECT_EQ(edit.lblLookUps->text(), QStringLiteral("Religion"));
        EXPECT_EQ(edit.palette().color(QPalette::Window), QColor(192, 255, 255));
        EXPECT_EQ(edit.txtFld[0]->text(), QString());
        EXPECT_TRUE(edit.txtFld[0]->hasFocus());
        press(edit.cmdCancel);
    });
    press(list.cmdAdd);
    EXPECT_EQ(listed(), joined(kReligions));
    EXPECT_FALSE(list.bAdd);
    EXPECT_FALSE(list.cls1()->bAdd);
    EXPECT_EQ(m_prompts.messages().size(), 0u);
}

// Additions, changes (of a new entry too) and deletions, some abandoned,
// of entries with quotes and in other scripts.
TEST_F(LookUpDialogs, ChangesReachTheDatabaseOnlyThroughOk)
{
    exec(QStringLiteral("INSERT INTO Salutation (Salutation) VALUES ('O''Neil'), ('श्री')"));
    const QStringList before = kSalutations + QStringList{"O'Neil", QStringLiteral("श्री")};
    const QStringList after = kSalutations + QStringList{QStringLiteral("Śrī"), "Sire"};
    const auto course = [this] {
        add(QStringLiteral("Sir"));
        modify(QStringLiteral("Sir"), QStringLiteral("Sire"));
        modify(QStringLiteral("श्री"), QStringLiteral("Śrī"));
        del(QStringLiteral("O'Neil"), Answer::Yes);
        EXPECT_EQ(m_list->dltLookUp->currentItem()->text(), QStringLiteral("Smt."));
        del(QStringLiteral("Ms."), Answer::No);
        click(QStringLiteral("Dr."));
        editWith([](frmEditLookUp& edit) {
            QTest::keyClicks(edit.txtFld[0], QStringLiteral("Doc"));
            press(edit.cmdCancel);
        });
        press(m_list->cmdModify);
    };

    frmLookUp& first = open("Salutation");
    course();
    EXPECT_EQ(listed(), joined(after));
    EXPECT_FALSE(first.bAdd);
    EXPECT_EQ(stored("Salutation"), joined(before));
    press(first.cmdCancel);
    EXPECT_EQ(first.result(), QDialog::Rejected);
    EXPECT_EQ(listed(), joined(before));
    EXPECT_EQ(stored("Salutation"), joined(before));

    frmLookUp& second = open("Salutation");
    course();
    press(second.cmdOk);
    EXPECT_EQ(second.result(), QDialog::Accepted);
    EXPECT_EQ(stored("Salutation"), joined(after));
}

TEST_F(LookUpDialogs, ModifyAndDeleteWithoutASelectionOnlySaySo)
{
    // Fresh from the card, and after a Ctrl+click took the choice away.
    for (const bool fresh : {true, false}) {
        frmLookUp& list = open("Salutation");
        if (!fresh) {
            click(QStringLiteral("Mr."));
            click(QStringLiteral("Mr."), Qt::ControlModifier);
        }
        EXPECT_TRUE(list.dltLookUp->selectedItems().isEmpty());
        m_prompts.answerMessage(Answer::OK).answerMessage(Answer::OK);
        press(list.cmdModify);
        expectShown(QStringLiteral("Modify"), QStringLiteral("Select the item you want to modify."),
                    platform::Buttons::OK, platform::Icon::None);
        press(list.cmdDel);
        expectShown(QStringLiteral("Delete"), QStringLiteral("Select the item you want to delete."),
                    platform::Buttons::OK, platform::Icon::None);
    }
    EXPECT_EQ(m_prompts.recorded().size(), 4u); // no edit dialog, no delete question
    // The first key down chooses the first entry.
    frmLookUp& list = *m_list;
    QTest::keyClick(list.dltLookUp, Qt::Key_Down);
    ASSERT_EQ(list.dltLookUp->selectedItems().size(), 1);
    EXPECT_EQ(list.dltLookUp->selectedItems().first()->text(), kSalutations.first());
    EXPECT_EQ(listed(), joined(kSalutations));
    press(list.cmdOk);
    EXPECT_EQ(stored("Salutation"), joined(kSalutations));
}

TEST_F(LookUpDialogs, ARefusedTextKeepsTheEditDialogOpen)
{
    const auto refusedThenShortened = [this](const QString& tooLong, const QString& message,
                                             const QString& fits) {
        editWith([=, this](frmEditLookUp& edit) {
            m_prompts.answerMessage(Answer::OK);
            enter(edit, tooLong);
            expectShown(QStringLiteral("Save"), message, platform::Buttons::OK,
                        platform::Icon::Critical);
            EXPECT_TRUE(edit.isVisible());
            EXPECT_TRUE(edit.txtFld[0]->hasFocus());
            EXPECT_EQ(edit.txtFld[0]->selectedText(), tooLong);
            enter(edit, fits);
            EXPECT_FALSE(edit.isVisible());
            EXPECT_EQ(edit.result(), QDialog::Accepted);
        });
    };
    frmLookUp& salutations = open("Salutation");
    refusedThenShortened(QStringLiteral("Doctor."),
                         QStringLiteral("You cannot have salutation for more than 6 characters."),
                         QStringLiteral("Doctor"));
    press(salutations.cmdAdd);
    press(salutations.cmdOk);
    EXPECT_EQ(stored("Salutation"), joined(kSalutations + QStringList{"Doctor"}));

    frmLookUp& religions = open("Religion");
    click(QStringLiteral("Christian"));
    refusedThenShortened(QStringLiteral("Church of Christ"),
                         QStringLiteral("You cannot have Religion for more than 15 characters."),
                         QStringLiteral("Christ's Church"));
    press(religions.cmdModify);
    press(religions.cmdOk);
    QStringList changed = kReligions;
    changed[2] = QStringLiteral("Christ's Church");
    EXPECT_EQ(stored("Religion"), joined(changed));
}

TEST_F(LookUpDialogs, TheAddCommandOpensTheAddDialogAtOnce)
{
    const auto run = [this](const QString& text) {
        frmLookUp& list = create("Religion", true);
        editWith([text](frmEditLookUp& edit) {
            EXPECT_EQ(edit.windowTitle(), QStringLiteral("Add new Religion."));
            EXPECT_EQ(edit.palette().color(QPalette::Window), QColor(192, 255, 255));
            text.isEmpty() ? press(edit.cmdCancel) : enter(edit, text);
        });
        m_prompts.handleModal([this, text](QDialog&) {
            EXPECT_FALSE(m_list->bAdd);
            if (text.isEmpty()) {
                EXPECT_EQ(listed(), joined(kReligions));
            }
            (text.isEmpty() ? m_list->cmdCancel : m_list->cmdOk)->click();
        });
        list.Form_Load();
        platform::prompts().showModal(list);
    };
    run(QString());
    EXPECT_EQ(stored("Religion"), joined(kReligions));
    run(QStringLiteral("Bahá'í"));
    EXPECT_EQ(stored("Religion"), joined(kReligions + QStringList{QStringLiteral("Bahá'í")}));
}

TEST_F(LookUpDialogs, ClosingEitherDialogActsAsCancel)
{
    frmLookUp& list = open("Salutation");
    editWith([](frmEditLookUp& edit) {
        QTest::keyClicks(edit.txtFld[0], QStringLiteral("Sir"));
        edit.close();
        EXPECT_FALSE(edit.isVisible());
    });
    press(list.cmdAdd);
    EXPECT_FALSE(list.cls1()->bAdd);
    click(QStringLiteral("Mr."));
    editWith([](frmEditLookUp& edit) {
        QTest::keyClicks(edit.txtFld[0], QStringLiteral("Sire"));
        QTest::keyClick(edit.txtFld[0], Qt::Key_Escape);
        EXPECT_FALSE(edit.isVisible());
    });
    press(list.cmdModify);
    EXPECT_EQ(listed(), joined(kSalutations));

    del(QStringLiteral("Ms."), Answer::Yes);
    list.close();
    EXPECT_EQ(list.result(), QDialog::Rejected);
    EXPECT_EQ(list.cls1()->RecCount(), 8);
    EXPECT_EQ(stored("Salutation"), joined(kSalutations));
}

// Contacts keep the id of a deleted religion; their card's combo then names
// no entry.
TEST_F(LookUpDialogs, DeletingAnEntryInUseLeavesItsContactsWithTheirId)
{
    exec(QStringLiteral("INSERT INTO Address (Name, ReligionId) VALUES ('Ada', 4)"));
    frmLookUp& list = open("Religion");
    del(QStringLiteral("Sikh"), Answer::Yes);
    press(list.cmdOk);
    EXPECT_EQ(column(QStringLiteral("SELECT ReligionId FROM Address")), QStringList{"4"});

    widgets::AdoDataControl religions;
    religions.setConnectionString(tovren::connectionString());
    religions.setRecordSource(QStringLiteral("Religion"));
    religions.Refresh();
    widgets::DataCombo combo;
    combo.setListField(QStringLiteral("Religion"));
    combo.setBoundColumn(QStringLiteral("ReligionId"));
    combo.setRowSource(&religions);
    combo.setBoundText(QStringLiteral("4"));
    EXPECT_EQ(combo.Text(), QString());
    EXPECT_EQ(combo.BoundText(), QString());
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
    const std::pair<QWidget*, const char*> expected[] = {
        {list.dltLookUp, "topic32"}, {list.cmdAdd, "topic2"}, {list.cmdModify, "topic23"},
        {list.cmdDel, "topic23"},    {list.cmdOk, "topic32"}, {list.cmdCancel, "topic32"}};
    for (const auto& [control, topic] : expected)
        EXPECT_EQ(topicOf(control), QLatin1String(topic)) << control->objectName().toStdString();
    editWith([&](frmEditLookUp& edit) {
        EXPECT_EQ(topicOf(edit.txtFld[0]), QStringLiteral("topic23"));
        EXPECT_EQ(topicOf(edit.cmdOk), QStringLiteral("topic23"));
        press(edit.cmdCancel);
    });
    click(QStringLiteral("Mr."));
    press(list.cmdModify);
    editWith([&](frmEditLookUp& edit) {
        EXPECT_EQ(topicOf(edit.txtFld[0]), QStringLiteral("topic2"));
        EXPECT_EQ(topicOf(edit.cmdCancel), QStringLiteral("topic2"));
        press(edit.cmdCancel);
    });
    press(list.cmdAdd);

    platform::helpWindow()->close();
    platform::setHelpFile(QString());
}

} // namespace
