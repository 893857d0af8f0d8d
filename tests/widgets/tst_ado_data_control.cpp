// The hidden data control: it reads its source afresh on every Refresh and
// keeps what it read when an open fails.

#include "data_controls_fixture.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QSignalSpy>

namespace {

using widgets::AdoDataControl;

TEST_F(DataControlTest, RefreshReadsTheSourceAfreshAndKeepsItOnFailure)
{
    AdoDataControl control;
    QSignalSpy refreshed(&control, &AdoDataControl::refreshed);
    control.setConnectionString(connectionString());
    control.setRecordSource(QStringLiteral("Salutation"));
    control.Refresh();
    const auto rows = control.recordset();
    ASSERT_NE(rows, nullptr);
    EXPECT_TRUE(rows->isConnected());
    control.disconnectRecordset();
    EXPECT_FALSE(rows->isConnected());
    execute(QStringLiteral("INSERT INTO Salutation (Salutation) VALUES ('Sri')"));
    EXPECT_EQ(rows->RecordCount(), 8);

    control.setRecordSource(QStringLiteral("NoSuchTable"));
    EXPECT_RUNTIME_ERROR(control.Refresh(), data::kNoSuchTable);
    control.setRecordSource(QStringLiteral("Salutation"));
    control.setConnectionString(QStringLiteral("Data Source=") + m_dir.filePath("none.dbx"));
    EXPECT_RUNTIME_ERROR(control.Refresh(), platform::err::Unspecified);
    EXPECT_EQ(control.recordset(), rows);
    EXPECT_FALSE(rows->isConnected());
    EXPECT_EQ(refreshed.count(), 1);

    control.setConnectionString(connectionString());
    control.Refresh();
    EXPECT_EQ(control.recordset()->RecordCount(), 9);
}

} // namespace
