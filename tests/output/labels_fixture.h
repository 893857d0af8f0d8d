#pragma once
// What the label tests share: an address book of their own, a home folder
// of their own for the documents, scripted prompts and a recording desktop.

#include "home_folder.h"
#include "odt_sheet.h"

#include "core/program.h"
#include "output/print_rpt.h"
#include "records/schema.h"
#include "support/recording_desktop.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

class LabelsTest : public ::testing::Test {
protected:
    LabelsTest()
    {
        QDir(m_folder.path()).mkdir("home");
        records::createDatabase(book());
        tovren::setConnectionString("Data Source=" + book());
    }

    QString book() const { return m_folder.filePath("TND.dbx"); }
    QString home(const QString& name) const { return m_folder.filePath("home/" + name); }

    // Adds contacts: each row's values in the order of `columns`, "NULL"
    // for a missing value.
    void addContacts(const QString& columns, const std::vector<QStringList>& rows)
    {
        const QString connection = "labels-test";
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
            db.setDatabaseName(book());
            ASSERT_TRUE(db.open());
            QSqlQuery query(db);
            const int count = int(columns.split(',').size());
            ASSERT_TRUE(query.prepare("INSERT INTO Address (" + columns + ") VALUES (?"
                                      + QString(",?").repeated(count - 1) + ")"));
            for (const QStringList& row : rows) {
                for (const QString& value : row)
                    query.addBindValue(value == "NULL" ? QVariant() : QVariant(value));
                ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
            }
        }
        QSqlDatabase::removeDatabase(connection);
    }

    OdtSheet print(QString filter = QString())
    {
        modGenProcedures::PrintRpt(filter);
        return readOdtSheet(home("TNLabels.odt"));
    }

    QTemporaryDir m_folder;
    HomeFolder m_home{m_folder.filePath("home")};
    testing_support::ScriptedPrompts m_prompts;
    testing_support::RecordingDesktop m_desktop;
};
