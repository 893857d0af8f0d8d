// The data-bound combo over the salutations of a real address book: what it
// lists, how its text and bound id answer each other, locking, and which
// part of it a click reports.

#include "data_controls_fixture.h"

#include "widgets/data_combo.h"
#include "platform/runtime_error.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QWheelEvent>

namespace {

using widgets::DataCombo;

const QStringList kSalutations{"Mr.", "Mrs.", "Ms.", "Miss", "Dr.", "Prof.", "Shri", "Smt."};

class DataComboTest : public DataControlTest {
protected:
    DataComboTest()
    {
        m_combo.setListField(QStringLiteral("Salutation"));
        m_combo.setBoundColumn(QStringLiteral("SalutationId"));
        m_combo.setRowSource(m_salutations.get());
    }

    QStringList entries() const
    {
        QStringList texts;
        for (int row = 0; row < m_combo.count(); ++row)
            texts << m_combo.itemText(row);
        return texts;
    }
    // Shown with the focus, where the line edit's own helpers come alive.
    void show()
    {
        m_combo.show();
        m_combo.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_combo));
        m_combo.setFocus();
    }
    void clickArrow()
    {
        QStyleOptionComboBox option;
        option.initFrom(&m_combo);
        option.editable = true;
        const QRect arrow = m_combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                            QStyle::SC_ComboBoxArrow, &m_combo);
        QTest::mouseClick(&m_combo, Qt::LeftButton, {}, arrow.center());
    }

    std::unique_ptr<widgets::AdoDataControl> m_salutations = dataControl("Salutation");
    DataCombo m_combo;
};

// Unusual entries show unchanged and answer to their ids, whatever the
// letter case of the text.
TEST_F(DataComboTest, TextAndBoundTextAnswerEachOther)
{
    EXPECT_EQ(entries(), kSalutations);
    execute(QStringLiteral("INSERT INTO Salutation (Salutation) VALUES "
                           "('O''Dr'), ('\"Sr\"'), ('Д-р'), ('Señor'), ('Dr.')"));
    m_salutations->Refresh();
    m_combo.Refresh();
    const QStringList added{"O'Dr", "\"Sr\"", QStringLiteral("Д-р"), QStringLiteral("Señor"),
                            "Dr."};
    EXPECT_EQ(entries(), kSalutations + added);
    EXPECT_EQ(m_combo.Text(), QString()); // filling the list chooses nothing
    QSignalSpy changes(&m_combo, &DataCombo::Change);
    m_combo.setBoundText(QStringLiteral("3"));
    EXPECT_EQ(m_combo.Text(), QStringLiteral("Ms."));
    m_combo.setText(QStringLiteral("dR."));
    EXPECT_EQ(m_combo.BoundText(), QStringLiteral("5"));
    m_combo.setText(QStringLiteral("д-Р"));
    EXPECT_EQ(m_combo.BoundText(), QStringLiteral("11"));
    m_combo.setText(QStringLiteral("SEÑOR"));
    EXPECT_EQ(m_combo.BoundText(), QStringLiteral("12"));
    m_combo.setBoundText(QStringLiteral("13")); // the second of two entries "Dr."
    EXPECT_EQ(m_combo.Text() + m_combo.BoundText(), QStringLiteral("Dr.13"));
    m_combo.setBoundText(QStringLiteral("3")); // while the text stands elsewhere
    EXPECT_EQ(m_combo.Text(), QStringLiteral("Ms."));
    m_combo.setBoundText(QStringLiteral("99")); // an id no entry has
    EXPECT_EQ(m_combo.Text() + m_combo.BoundText(), QString());
    EXPECT_EQ(changes.count(), 7);

    show();
    QTest::keyClicks(&m_combo, QStringLiteral("mrs."));
    EXPECT_EQ(m_combo.BoundText(), QStringLiteral("2"));
    m_combo.setText(QString());
    QTest::keyClicks(&m_combo, QStringLiteral("Mr")); // nothing completes it to "Mr."
    EXPECT_EQ(m_combo.Text(), QStringLiteral("Mr"));
    EXPECT_EQ(m_combo.BoundText(), QString());
}

TEST_F(DataComboTest, LockedComboRefusesTypingKeysWheelAndItsList)
{
    show();
    m_combo.setBoundText(QStringLiteral("1"));
    m_combo.setLocked(true);
    QWheelEvent wheel({10, 10}, {10, 10}, {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QTest::keyClicks(&m_combo, QStringLiteral("x"));
    QTest::keyClick(&m_combo, Qt::Key_Down);
    QApplication::sendEvent(&m_combo, &wheel);
    clickArrow();
    EXPECT_EQ(m_combo.Text(), QStringLiteral("Mr."));
    EXPECT_FALSE(m_combo.view()->isVisible());

    m_combo.setLocked(false);
    QApplication::sendEvent(&m_combo, &wheel);
    EXPECT_EQ(m_combo.Text(), QStringLiteral("Mrs."));
}

TEST_F(DataComboTest, ClicksReportTheButtonTheTextOrTheList)
{
    show();
    QSignalSpy clicks(&m_combo, &DataCombo::Click);
    QSignalSpy doubleClicks(&m_combo, &DataCombo::DblClick);
    QTest::mouseClick(m_combo.lineEdit(), Qt::LeftButton);
    QTest::mouseDClick(m_combo.lineEdit(), Qt::LeftButton);
    EXPECT_EQ(doubleClicks.value(0), QVariantList{DataCombo::TextPart});
    clickArrow();
    ASSERT_TRUE(m_combo.view()->isVisible());
    QTest::keyClick(m_combo.view(), Qt::Key_Down);
    QTest::keyClick(m_combo.view(), Qt::Key_Return);
    EXPECT_FALSE(m_combo.view()->isVisible());
    EXPECT_EQ(m_combo.Text(), QStringLiteral("Mrs."));

    QList<int> areas;
    for (const QVariantList& click : clicks)
        areas << click.at(0).toInt();
    EXPECT_EQ(areas, (QList<int>{DataCombo::TextPart, DataCombo::ButtonPart, DataCombo::ListPart}));
}

TEST_F(DataComboTest, BindingAgainShowsNewRowsAndKeepsTheChosenEntry)
{
    m_combo.setBoundText(QStringLiteral("5"));
    QSignalSpy changes(&m_combo, &DataCombo::Change);
    execute(QStringLiteral("INSERT INTO Salutation (Salutation) VALUES ('Sri')"));
    execute(QStringLiteral("UPDATE Salutation SET Salutation = 'Dr' WHERE SalutationId = 5"));
    m_salutations->Refresh();
    m_salutations->disconnectRecordset();
    m_combo.setRowSource(nullptr);
    EXPECT_EQ(m_combo.count(), 0);
    m_combo.setRowSource(m_salutations.get());
    EXPECT_EQ(entries().last(), QStringLiteral("Sri"));
    EXPECT_EQ(m_combo.Text(), QStringLiteral("Dr"));
    EXPECT_EQ(m_combo.BoundText(), QStringLiteral("5"));
    EXPECT_EQ(changes.count(), 1); // only the renamed entry's text

    m_combo.setRowSource(nullptr);
    m_combo.setText(QStringLiteral("Miss")); // a text chosen while unbound wins
    m_combo.setRowSource(m_salutations.get());
    EXPECT_EQ(m_combo.BoundText(), QStringLiteral("4"));

    m_combo.setListField(QStringLiteral("Religion"));
    EXPECT_RUNTIME_ERROR(m_combo.Refresh(), data::kItemNotFound);
    EXPECT_EQ(entries().size(), 9);
}

} // namespace
