#pragma once
// What the label tests share: an address book of their own, a home folder
// of their own for the documents, scripted prompts and a recording desktop.

#include "home_folder.h"
#include "odt_sheet.h"

#include "core/program.h"
#include "data/connection.h"
#include "output/print_rpt.h"
#include "records/schema.h"
#include "support/recording_desktop.h"
#include "support/scripted_prompts.h"

#include <QDir>
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

    // Adds one contact a row of `values`, bound to `columns` in order; an
    // invalid QVariant stores Null.
    void add(const QString& columns, const std::vector<QVariantList>& rows)
    {
        const auto connection = data::Connection::open("Data Source=" + book());
        QSqlQuery query(connection->database());
        for (const QVariantList& values : rows) {
            query.prepare("INSERT INTO Address (" + columns + ") VALUES (?"
                          + QString(",?").repeated(values.size() - 1) + ")");
            for (const QVariant& value : values)
                query.addBindValue(value);
            ASSERT_TRUE(query.exec()) << columns.toStdString();
        }
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
