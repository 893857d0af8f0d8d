#include "ado_data_control.h"

#include "data/recordset.h"

namespace widgets {

AdoDataControl::AdoDataControl(QObject* parent) : QObject(parent) {}

void AdoDataControl::setConnectionString(const QString& connectionString)
{
    m_connectionString = connectionString;
}

void AdoDataControl::setRecordSource(const QString& recordSource)
{
    m_recordSource = recordSource;
}

void AdoDataControl::setTag(const QString& tag)
{
    m_tag = tag;
}

void AdoDataControl::Refresh()
{
    // A new recordset rather than a re-read of the old one: whoever still
    // holds the old rows keeps them whole, and a failed open changes nothing.
    auto rows = std::make_shared<data::Recordset>();
    rows->setActiveConnection(m_connectionString);
    rows->Open(m_recordSource);
    m_recordset = std::move(rows);
    Q_EMIT refreshed();
}

void AdoDataControl::disconnectRecordset()
{
    if (m_recordset)
        m_recordset->disconnect();
}

} // namespace widgets
