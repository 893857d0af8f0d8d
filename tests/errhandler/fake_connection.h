#pragma once
// A database connection whose driver errors a test sets by hand.

#include "errhandler/Vostrel.h"

#include <QVector>

namespace vostrel_test {

class FakeConnection final : public Vostrel::DbConnection, public Vostrel::DbErrors {
public:
    QString connectionString = QStringLiteral("Data Source=TND.dbx");
    QVector<Vostrel::DbError> errors;
    int clears = 0;
    int refreshes = 0;

    QString ConnectionString() const override { return connectionString; }
    Vostrel::DbErrors& Errors() override { return *this; }
    int Count() const override { return int(errors.size()); }
    Vostrel::DbError Item(int index) const override { return errors.at(index); }
    void Clear() override
    {
        errors.clear();
        ++clears;
    }
    void Refresh() override { ++refreshes; }
};

} // namespace vostrel_test
