#pragma once
// Another program holding an address book: a connection of its own with an
// exclusive transaction, so that nobody else may read or write the file
// until it is released.

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace testing_support {

class BookLock {
public:
    explicit BookLock(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        EXPECT_TRUE(QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }
    ~BookLock()
    {
        release();
        QSqlDatabase::removeDatabase(kName);
    }
    BookLock(const BookLock&) = delete;
    BookLock& operator=(const BookLock&) = delete;

    void release()
    {
        QSqlDatabase db = QSqlDatabase::database(kName, false);
        if (db.isOpen()) {
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
    }

private:
    static constexpr const char* kName = "another-program";
};

} // namespace testing_support
