#pragma once
// Every Vostrel test starts from a fresh handler made by the real plugin, its
// logs in a temporary folder, prompts and the desktop scripted.

#include "errhandler/Vostrel.h"

#include "support/recording_desktop.h"
#include "support/scripted_prompts.h"
#include "support/test_helpers.h"

#include <QDialog>
#include <QPluginLoader>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVector>

#include <gtest/gtest.h>

namespace vostrel_test {

using namespace Qt::StringLiterals;
using testing_support::raised;
using testing_support::readBytes;

class HandlerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        handler = newHandler();
        ASSERT_TRUE(handler);
        handler->setDestination(m_dir.path());
    }

    static std::unique_ptr<Vostrel::clsErrHandler> newHandler()
    {
        static QPluginLoader loader(QStringLiteral(TOVREN_BIN_DIR "/libvostrel.so"));
        auto* component = qobject_cast<Vostrel::Component*>(loader.instance());
        if (!component)
            ADD_FAILURE() << loader.errorString().toStdString();
        return component ? component->createErrHandler() : nullptr;
    }
    // Tovren 1.0.5 by Belvane, installed in `path`.
    static QVariant tovren(const QString& path = u"/opt/tovren"_s,
                           const QString& product = u"Tovren"_s)
    {
        return QVariant::fromValue(
            Vostrel::AppDescriptor{u"Tovren"_s, u"Belvane"_s, 1, 0, 5, path, product});
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // The text with LF line ends, as a text box or sendmail has it.
    static QString withLf(QString text) { return text.replace(u"\r\n"_s, u"\n"_s); }
    QStringList callStack() const { return handler->CallStack().toStringList(); }

    template <typename Widget = QPushButton>
    static Widget* child(QDialog& dialog, const char* name)
    {
        return dialog.findChild<Widget*>(QLatin1String(name));
    }
    // The next report window clicks `buttons` in turn, then is closed.
    void clickInReport(const QList<const char*>& buttons)
    {
        prompts.handleModal([buttons](QDialog& dialog) {
            for (const char* name : buttons)
                child(dialog, name)->click();
        });
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Vostrel::clsErrHandler> handler;
    testing_support::ScriptedPrompts prompts;
    testing_support::RecordingDesktop desktop;
};

// A database connection whose driver errors a test sets by hand.
struct FakeConnection final : Vostrel::DbConnection, Vostrel::DbErrors {
    QString connectionString = u"Data Source=TND.dbx"_s;
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
