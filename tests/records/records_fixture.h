#pragma once
// What record-layer tests share: a fresh address book in a temporary folder
// that the connection string names, scripted prompts, the real error handler
// showing its report dialog, and a second connection that plays another user.

#include "core/error_handler.h"
#include "core/program.h"
#include "support/program_ended.h"
#include "support/scripted_prompts.h"
#include "support/test_helpers.h"

#include "records/schema.h"

#include <QDialog>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class RecordsTest : public ::testing::Test {
protected:
    RecordsTest()
    {
        tovren::setComponentFolder(QStringLiteral(TOVREN_BIN_DIR));
        tovren::resetErrHandler();
        tovren::setProgramFolder(m_home.path());
        records::createDatabase(path());
        tovren::setConnectionString(QStringLiteral("Data Source=") + path());
        tovren::errHandler().setDestination(m_home.path());
        tovren::errHandler().setUseInterface(true);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kOther);
        db.setDatabaseName(path());
        EXPECT_TRUE(db.open());
    }
    ~RecordsTest() override
    {
        QSqlDatabase::database(kOther).close();
        QSqlDatabase::removeDatabase(kOther);
        tovren::resetErrHandler();
    }

    QString path() const { return m_home.filePath(QStringLiteral("TND.dbx")); }

    // Runs a statement as the other user.
    void exec(const QString& sql)
    {
        QSqlQuery query(QSqlDatabase::database(kOther));
        EXPECT_TRUE(query.exec(sql))
            << sql.toStdString() << ": " << query.lastError().text().toStdString();
    }
    // The first column of every row a query gives; Null reads as "<null>".
    QStringList column(const QString& sql)
    {
        QSqlQuery query(QSqlDatabase::database(kOther));
        EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
        QStringList values;
        while (query.next())
            values << (query.isNull(0) ? QStringLiteral("<null>") : query.value(0).toString());
        return values;
    }
    // The entries of a pick list, in the order they were added.
    QStringList stored(const char* table)
    {
        return column(QStringLiteral("SELECT %1 FROM %1 ORDER BY %1Id").arg(QLatin1String(table)));
    }

    // Five contacts, in this order: Ada Pune, Bo Agra, Cy Pune, Di Goa, Ed Agra.
    // Bo has no e-mail address at all (Null), Di an empty one.
    void addContacts()
    {
        exec("INSERT INTO Address (SalutationId, Name, City, PinCode, EmlAddr) VALUES"
             " (1, 'Ada', 'Pune', '411001', 'ada@example.in'), (2, 'Bo', 'Agra', NULL, NULL),"
             " (3, 'Cy', 'Pune', '411002', 'cy@example.in'), (1, 'Di', 'Goa', '', ''),"
             " (2, 'Ed', 'Agra', '282001', 'ed@example.in')");
    }

    // The report dialog of one handled error comes; the handler keeps the
    // error's number and report.
    void expectErrorReport()
    {
        m_prompts.handleModal([](QDialog& report) { report.reject(); });
    }
    // Checks the latest message box.
    void expectShown(const QString& title, const QString& text, platform::Buttons buttons,
                     platform::Icon icon)
    {
        ASSERT_FALSE(m_prompts.messages().empty());
        const testing_support::RecordedPrompt shown = m_prompts.messages().back();
        EXPECT_EQ(shown.title, title);
        EXPECT_EQ(shown.text, text);
        EXPECT_EQ(shown.buttons, buttons);
        EXPECT_EQ(shown.icon, icon);
    }

    static constexpr const char* kOther = "other-user";
    QTemporaryDir m_home;
    testing_support::ScriptedPrompts m_prompts;
    testing_support::EndCatcher m_end;
};
