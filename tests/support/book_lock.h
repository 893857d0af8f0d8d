#pragma once
// Another program holding an address book: a connection of its own with a
// transaction open, so that nobody else may write the file (Writing) or
// even read it (Exclusive) until it is released.

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace testing_support {

class BookLock {
public:
    enum class Mode { Writing, Exclusive };
    explicit BookLock(const QString& path, Mode mode = Mode::Exclusive)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        EXPECT_TRUE(QSqlQuery(db).exec(mode == Mode::Exclusive
                                           ? QStringLiteral("BEGIN EXCLUSIVE")
                                           : QStringLiteral("BEGIN IMMEDIATE")));
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
