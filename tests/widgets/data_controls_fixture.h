#pragma once
// The data controls over a real address book: a data control opened on a
// pick list the way a card opens its own, and pick-list rows written behind
// its back.

#include "data/recordset_fixture.h"

#include "widgets/ado_data_control.h"

class DataControlTest : public RecordsetTest {
protected:
    // Refreshed and then disconnected, as a card leaves its data controls.
    std::unique_ptr<widgets::AdoDataControl> dataControl(const QString& table)
    {
        auto control = std::make_unique<widgets::AdoDataControl>();
        control->setConnectionString(connectionString());
        control->setTag(table);
        control->setRecordSource(control->Tag());
        control->Refresh();
        control->disconnectRecordset();
        return control;
    }

    void execute(const QString& sql)
    {
        QSqlQuery query(m_connection->database());
        EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
    }
};
