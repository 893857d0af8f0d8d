#pragma once
// What shell tests share: a fresh program folder, scripted prompts, the real
// error-handling component, and a main window built the way the program
// builds it.

#include "app/routes.h"
#include "core/error_handler.h"
#include "shell/mdimain.h"
#include "core/program.h"
#include "support/program_ended.h"
#include "support/scripted_prompts.h"

#include "records/schema.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class ShellTest : public ::testing::Test {
protected:
    ShellTest()
    {
        tovren::setComponentFolder(QStringLiteral(TOVREN_BIN_DIR));
        tovren::resetErrHandler();
        tovren::setProgramFolder(m_home.path());
        tovren::setConnectionString(QString());
        modGenProcedures::nOpenCards = 0;
    }
    ~ShellTest() override
    {
        m_main.reset();
        tovren::resetErrHandler();
        modGenProcedures::nOpenCards = 0;
    }

    QString home(const QString& name = QString()) const
    {
        return name.isEmpty() ? m_home.path() : m_home.filePath(name);
    }
    QString addDatabase(const QString& name = QStringLiteral("TND.dbx"))
    {
        records::createDatabase(home(name));
        return home(name);
    }
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(home(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString& name) const
    {
        QFile file(home(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Builds the main window and runs start-up as the program does.
    mdiMain& start()
    {
        m_main = std::make_unique<mdiMain>();
        tovren::installRoutes(*m_main);
        m_main->MDIForm_Initialize();
        m_main->MDIForm_Load();
        return *m_main;
    }
    // A main window whose error handler is set up but that has no database.
    mdiMain& frame()
    {
        m_main = std::make_unique<mdiMain>();
        tovren::installRoutes(*m_main);
        m_main->MDIForm_Initialize();
        Vostrel::clsErrHandler& handler = tovren::errHandler();
        handler.setDestination(home());
        handler.setUseInterface(true);
        return *m_main;
    }

    QTemporaryDir m_home;
    testing_support::ScriptedPrompts m_prompts;
    testing_support::EndCatcher m_end;
    std::unique_ptr<mdiMain> m_main;
};
