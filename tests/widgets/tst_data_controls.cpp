// The data controls over a real address book: the hidden data control that
// reads a pick list, and the combo and list bound to what it read. Rows are
// written behind the controls' backs to see when they read them again.

#include "data/recordset_fixture.h"

#include "platform/error_numbers.h"
#include "widgets/ado_data_control.h"
#include "widgets/data_combo.h"
#include "widgets/data_list.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

using widgets::AdoDataControl;
using widgets::DataCombo;
using widgets::DataList;

// What a combo or a list shows, in order.
QStringList texts(const QAbstractItemModel& model)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.index(row, 0).data().toString();
    return out;
}

using DataControlTest = RecordsetTest;

TEST_F(DataControlTest, RefreshReadsTheSourceAfreshAndKeepsItOnFailure)
{
    AdoDataControl control;
    QSignalSpy refreshed(&control, &AdoDataControl::refreshed);
    control.setConnectionString(connectionString());
    control.setRecordSource(u"Salutation"_s);
    control.Refresh();
    const auto rows = control.recordset();
    ASSERT_NE(rows, nullptr);
    EXPECT_TRUE(rows->isConnected());
    control.disconnectRecordset();
    EXPECT_FALSE(rows->isConnected());
    exec(u"INSERT INTO Salutation (Salutation) VALUES ('Sri')"_s);
    EXPECT_EQ(rows->RecordCount(), 8);

    control.setRecordSource(u"NoSuchTable"_s);
    EXPECT_RUNTIME_ERROR(control.Refresh(), data::kNoSuchTable);
    control.setRecordSource(u"Salutation"_s);
    control.setConnectionString(u"Data Source="_s + m_dir.filePath("none.dbx"));
    EXPECT_RUNTIME_ERROR(control.Refresh(), platform::err::Unspecified);
    EXPECT_EQ(control.recordset(), rows);
    EXPECT_FALSE(rows->isConnected());
    EXPECT_EQ(refreshed.count(), 1);

    control.setConnectionString(connectionString());
    control.Refresh();
    EXPECT_EQ(control.recordset()->RecordCount(), 9);
}

// The combo of salutations: its text and bound id, locking, and which part a
// click reports.
class DataComboTest : public DataControlTest {
protected:
    DataComboTest()
    {
        // Refreshed and then disconnected, as a card leaves its data controls.
        m_salutations.setConnectionString(connectionString());
        m_salutations.setTag(u"Salutation"_s);
        m_salutations.setRecordSource(m_salutations.Tag());
        m_salutations.Refresh();
        m_salutations.disconnectRecordset();
        m_combo.setListField(u"Salutation"_s);
        m_combo.setBoundColumn(u"SalutationId"_s);
        m_combo.setRowSource(&m_salutations);
    }

    QStringList entries() const { return texts(*m_combo.model()); }
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

    AdoDataControl m_salutations;
    DataCombo m_combo;
};

// Unusual entries show unchanged and answer to their ids, whatever the
// letter case of the text.
TEST_F(DataComboTest, TextAndBoundTextAnswerEachOther)
{
    EXPECT_EQ(entries(), kSalutations);
    exec(u"INSERT INTO Salutation (Salutation) VALUES "
         "('O''Dr'), ('\"Sr\"'), ('Д-р'), ('Señor'), ('Dr.')"_s);
    m_salutations.Refresh();
    m_combo.Refresh();
    const QStringList added{"O'Dr", "\"Sr\"", u"Д-р"_s, u"Señor"_s, "Dr."};
    EXPECT_EQ(entries(), kSalutations + added);
    EXPECT_EQ(m_combo.Text(), QString()); // filling the list chooses nothing
    QSignalSpy changes(&m_combo, &DataCombo::Change);
    m_combo.setBoundText(u"3"_s);
    EXPECT_EQ(m_combo.Text(), u"Ms."_s);
    m_combo.setText(u"dR."_s);
    EXPECT_EQ(m_combo.BoundText(), u"5"_s);
    m_combo.setText(u"д-Р"_s);
    EXPECT_EQ(m_combo.BoundText(), u"11"_s);
    m_combo.setText(u"SEÑOR"_s);
    EXPECT_EQ(m_combo.BoundText(), u"12"_s);
    m_combo.setBoundText(u"13"_s); // the second of two entries "Dr."
    EXPECT_EQ(m_combo.Text() + m_combo.BoundText(), u"Dr.13"_s);
    m_combo.setBoundText(u"3"_s); // while the text stands elsewhere
    EXPECT_EQ(m_combo.Text(), u"Ms."_s);
    m_combo.setBoundText(u"99"_s); // an id no entry has
    EXPECT_EQ(m_combo.Text() + m_combo.BoundText(), QString());
    EXPECT_EQ(changes.count(), 7);

    show();
    QTest::keyClicks(&m_combo, u"mrs."_s);
    EXPECT_EQ(m_combo.BoundText(), u"2"_s);
    m_combo.setText(QString());
    QTest::keyClicks(&m_combo, u"Mr"_s); // nothing completes it to "Mr."
    EXPECT_EQ(m_combo.Text(), u"Mr"_s);
    EXPECT_EQ(m_combo.BoundText(), QString());
}

TEST_F(DataComboTest, LockedComboRefusesTypingKeysWheelAndItsList)
{
    show();
    m_combo.setBoundText(u"1"_s);
    m_combo.setLocked(true);
    QWheelEvent wheel({10, 10}, {10, 10}, {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QTest::keyClicks(&m_combo, u"x"_s);
    QTest::keyClick(&m_combo, Qt::Key_Down);
    QApplication::sendEvent(&m_combo, &wheel);
    clickArrow();
    EXPECT_EQ(m_combo.Text(), u"Mr."_s);
    EXPECT_FALSE(m_combo.view()->isVisible());

    m_combo.setLocked(false);
    QApplication::sendEvent(&m_combo, &wheel);
    EXPECT_EQ(m_combo.Text(), u"Mrs."_s);
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
    EXPECT_EQ(m_combo.Text(), u"Mrs."_s);

    QList<int> areas;
    for (const QVariantList& click : clicks)
        areas << click.at(0).toInt();
    EXPECT_EQ(areas, (QList<int>{DataCombo::TextPart, DataCombo::ButtonPart, DataCombo::ListPart}));
}

TEST_F(DataComboTest, BindingAgainShowsNewRowsAndKeepsTheChosenEntry)
{
    m_combo.setBoundText(u"5"_s);
    QSignalSpy changes(&m_combo, &DataCombo::Change);
    exec(u"INSERT INTO Salutation (Salutation) VALUES ('Sri')"_s);
    exec(u"UPDATE Salutation SET Salutation = 'Dr' WHERE SalutationId = 5"_s);
    m_salutations.Refresh();
    m_salutations.disconnectRecordset();
    m_combo.setRowSource(nullptr);
    EXPECT_EQ(m_combo.count(), 0);
    m_combo.setRowSource(&m_salutations);
    EXPECT_EQ(entries().last(), u"Sri"_s);
    EXPECT_EQ(m_combo.Text(), u"Dr"_s);
    EXPECT_EQ(m_combo.BoundText(), u"5"_s);
    EXPECT_EQ(changes.count(), 1); // only the renamed entry's text

    m_combo.setRowSource(nullptr);
    m_combo.setText(u"Miss"_s); // a text chosen while unbound wins
    m_combo.setRowSource(&m_salutations);
    EXPECT_EQ(m_combo.BoundText(), u"4"_s);

    m_combo.setListField(u"Religion"_s);
    EXPECT_RUNTIME_ERROR(m_combo.Refresh(), data::kItemNotFound);
    EXPECT_EQ(entries().size(), 9);
}

// The list of religions: it follows the recordset's current row and hands
// back the bookmark of the entry picked.
class DataListTest : public DataControlTest {
protected:
    DataListTest() { m_list.setRowSource(m_rows, u"Religion"_s); }

    QStringList entries() const { return texts(*m_list.model()); }
    QString selected() const
    {
        const QList<QListWidgetItem*> items = m_list.selectedItems();
        return items.isEmpty() ? QString() : items.first()->text();
    }
    QString standingOn() const { return m_rows->value(u"Religion").toString(); }

    std::shared_ptr<data::Recordset> m_rows = open(u"Religion"_s);
    DataList m_list;
};

TEST_F(DataListTest, ListsTheRowsAndFollowsTheCurrentRow)
{
    EXPECT_EQ(entries(), kReligions);
    EXPECT_EQ(selected(), u"Hindu"_s);
    m_rows->setSort(u"Religion DESC"_s);
    m_rows->Find(u"Religion = 'Jain'"_s, 0, data::adSearchForward, data::adBookmarkFirst);
    m_list.ReFill();
    EXPECT_EQ(entries().first(), u"Sikh"_s);
    EXPECT_EQ(selected(), u"Jain"_s);
    EXPECT_EQ(standingOn(), u"Jain"_s);

    for (const bool atEnd : {true, false}) { // past either end the list names no row
        atEnd ? (m_rows->MoveLast(), m_rows->MoveNext())
              : (m_rows->MoveFirst(), m_rows->MovePrevious());
        m_list.ReFill();
        EXPECT_EQ(m_list.SelectedBookmark(), QVariant());
        EXPECT_TRUE(atEnd ? m_rows->isEOF() : m_rows->isBOF());
    }
}

TEST_F(DataListTest, PickingAnEntryGivesItsBookmarkUnlessLocked)
{
    m_list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_list));
    QSignalSpy clicks(&m_list, &DataList::Click);
    const auto clickOn = [this](int row) {
        QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {},
                          m_list.visualItemRect(m_list.item(row)).center());
    };
    clickOn(3);
    m_rows->setBookmark(m_list.SelectedBookmark());
    EXPECT_EQ(standingOn(), u"Sikh"_s);
    QTest::keyClick(&m_list, Qt::Key_Down);
    m_rows->setBookmark(m_list.SelectedBookmark());
    EXPECT_EQ(standingOn(), u"Buddhist"_s);
    EXPECT_EQ(clicks.count(), 2);

    m_list.setLocked(true);
    clickOn(0);
    QTest::keyClick(&m_list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(selected(), u"Buddhist"_s);
}

TEST_F(DataListTest, ReFillShowsAddedAndDeletedRows)
{
    m_rows->AddNew();
    m_rows->setValue(u"Religion", u"Bahá'í \"new\""_s);
    m_list.ReFill();
    EXPECT_EQ(selected(), u"Bahá'í \"new\""_s);
    m_rows->CancelUpdate(); // the add dialog's Cancel still drops the new row
    m_list.ReFill();
    EXPECT_EQ(entries(), kReligions);

    m_rows->MoveNext();
    m_rows->Delete();
    m_list.ReFill();
    EXPECT_FALSE(entries().contains(u"Muslim"_s));
    EXPECT_EQ(standingOn(), u"Christian"_s); // where MoveNext would go
    EXPECT_EQ(selected(), u"Christian"_s);
}

TEST_F(DataListTest, AnUnknownColumnRaisesBeforeTheRecordsetMoves)
{
    m_rows->MoveLast();
    EXPECT_RUNTIME_ERROR(m_list.setRowSource(m_rows, u"Salutation"_s), data::kItemNotFound);
    EXPECT_EQ(standingOn(), u"Other"_s);
    EXPECT_EQ(entries(), kReligions);
}

} // namespace
