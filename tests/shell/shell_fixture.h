#pragma once
// What shell tests share: a fresh program folder, scripted prompts, the real
// error handler, and a main window built the way the program builds it.

#include "app/routes.h"
#include "core/error_handler.h"
#include "core/program.h"
#include "core/toolbar_button.h"
#include "records/schema.h"
#include "shell/mdimain.h"
#include "support/program_ended.h"
#include "support/scripted_prompts.h"
#include "support/test_helpers.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QPlainTextEdit>
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
        ASSERT_TRUE(testing_support::writeBytes(home(name), bytes));
    }
    QByteArray readFile(const QString& name) const
    {
        return QFile::exists(home(name)) ? testing_support::readBytes(home(name)) : "<missing>";
    }

    // The main window, started as the program starts it or (a frame) given
    // only its error handler.
    mdiMain& start() { return build(true); }
    mdiMain& frame() { return build(false); }
    mdiMain& build(bool startUp)
    {
        m_main = std::make_unique<mdiMain>();
        tovren::installRoutes(*m_main);
        m_main->MDIForm_Initialize();
        if (startUp) {
            m_main->MDIForm_Load();
        } else {
            tovren::errHandler().setDestination(home());
            tovren::errHandler().setUseInterface(true);
        }
        return *m_main;
    }

    // Those of the named commands that are enabled: "mnu..." names a menu
    // item, any other name a toolbar button's key.
    QString enabledOf(const QString& names) const
    {
        QStringList on;
        for (const QString& name : names.split(QLatin1Char(' '))) {
            if (name.startsWith(QLatin1String("mnu")) ? m_main->menuItem(name)->isEnabled()
                                                      : m_main->buttonByKey(name)->isEnabled())
                on << name;
        }
        return on.join(QLatin1Char(' '));
    }
    QString lastMessage() const { return m_prompts.messages().back().text; }
    // The next modal is the error report: its text goes to m_report.
    void expectReport()
    {
        m_prompts.handleModal([this](QDialog& report) {
            m_report =
                report.findChild<QPlainTextEdit*>(QStringLiteral("lbxErrMessage"))->toPlainText();
            report.reject();
        });
    }

    QTemporaryDir m_home;
    testing_support::ScriptedPrompts m_prompts;
    testing_support::EndCatcher m_end;
    std::unique_ptr<mdiMain> m_main;
    QString m_report;
};
