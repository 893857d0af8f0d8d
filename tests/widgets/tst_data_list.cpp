// The data-bound list over the religions of a real address book: it lists
// one column in the recordset's order, follows the recordset's current row
// and hands back the bookmark of the entry the user picks.

#include "data_controls_fixture.h"

#include "widgets/data_list.h"
#include "platform/runtime_error.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using widgets::DataList;

const QStringList kReligions{"Hindu", "Muslim", "Christian", "Sikh", "Buddhist",
                             "Jain",  "Parsi",  "Jewish",    "Other"};

class DataListTest : public DataControlTest {
protected:
    DataListTest() { m_list.setRowSource(m_rows, QStringLiteral("Religion")); }

    QStringList entries() const
    {
        QStringList texts;
        for (int row = 0; row < m_list.count(); ++row)
            texts << m_list.item(row)->text();
        return texts;
    }
    QString selected() const
    {
        const QList<QListWidgetItem*> items = m_list.selectedItems();
        return items.isEmpty() ? QString() : items.first()->text();
    }
    QString standingOn() const { return m_rows->value(u"Religion").toString(); }

    std::shared_ptr<data::Recordset> m_rows = open(QStringLiteral("Religion"));
    DataList m_list;
};

TEST_F(DataListTest, ListsTheRowsAndFollowsTheCurrentRow)
{
    EXPECT_EQ(entries(), kReligions);
    EXPECT_EQ(selected(), QStringLiteral("Hindu"));
    m_rows->setSort(QStringLiteral("Religion DESC"));
    m_rows->Find(QStringLiteral("Religion = 'Jain'"), 0, data::adSearchForward,
                 data::adBookmarkFirst);
    m_list.ReFill();
    EXPECT_EQ(entries().first(), QStringLiteral("Sikh"));
    EXPECT_EQ(selected(), QStringLiteral("Jain"));
    EXPECT_EQ(standingOn(), QStringLiteral("Jain"));

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
    EXPECT_EQ(standingOn(), QStringLiteral("Sikh"));
    QTest::keyClick(&m_list, Qt::Key_Down);
    m_rows->setBookmark(m_list.SelectedBookmark());
    EXPECT_EQ(standingOn(), QStringLiteral("Buddhist"));
    EXPECT_EQ(clicks.count(), 2);

    m_list.setLocked(true);
    clickOn(0);
    QTest::keyClick(&m_list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(selected(), QStringLiteral("Buddhist"));
}

TEST_F(DataListTest, ReFillShowsAddedAndDeletedRows)
{
    m_rows->AddNew();
    m_rows->setValue(u"Religion", QStringLiteral("Bahá'í \"new\""));
    m_list.ReFill();
    EXPECT_EQ(selected(), QStringLiteral("Bahá'í \"new\""));
    m_rows->CancelUpdate(); // the add dialog's Cancel still drops the new row
    m_list.ReFill();
    EXPECT_EQ(entries(), kReligions);

    m_rows->MoveNext();
    m_rows->Delete();
    m_list.ReFill();
    EXPECT_FALSE(entries().contains(QStringLiteral("Muslim")));
    EXPECT_EQ(standingOn(), QStringLiteral("Christian")); // where MoveNext would go
    EXPECT_EQ(selected(), QStringLiteral("Christian"));
}

TEST_F(DataListTest, AnUnknownColumnRaisesBeforeTheRecordsetMoves)
{
    m_rows->MoveLast();
    EXPECT_RUNTIME_ERROR(m_list.setRowSource(m_rows, QStringLiteral("Salutation")),
                         data::kItemNotFound);
    EXPECT_EQ(standingOn(), QStringLiteral("Other"));
    EXPECT_EQ(entries(), kReligions);
}

} // namespace
