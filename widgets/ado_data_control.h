#pragma once
// The hidden data control of a form: it opens one table or query of the
// address book and holds its rows for the data-bound controls that list
// them. Its recordset is connected from Refresh until disconnectRecordset;
// the rows stay in memory after that.

#include <QObject>
#include <QString>

#include <memory>

namespace data {
class Recordset;
}

namespace widgets {

class AdoDataControl : public QObject {
    Q_OBJECT
public:
    explicit AdoDataControl(QObject* parent = nullptr);

    QString ConnectionString() const { return m_connectionString; }
    void setConnectionString(const QString& connectionString);
    QString RecordSource() const { return m_recordSource; }
    void setRecordSource(const QString& recordSource);
    // The table the form's designer meant the control for.
    QString Tag() const { return m_tag; }
    void setTag(const QString& tag);

    // Opens RecordSource afresh through ConnectionString and reads all of
    // its rows into a new recordset, which stays connected until
    // disconnectRecordset(). Raises RunTimeError when the database or the
    // source cannot be opened; the recordset read before then stays.
    void Refresh();
    void disconnectRecordset();
    // Null before the first successful Refresh.
    std::shared_ptr<data::Recordset> recordset() const { return m_recordset; }

Q_SIGNALS:
    void refreshed();

private:
    QString m_connectionString;
    QString m_recordSource;
    QString m_tag;
    std::shared_ptr<data::Recordset> m_recordset;
};

} // namespace widgets
