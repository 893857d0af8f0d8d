#pragma once
// Every Vostrel test starts from a fresh handler made by the real plugin,
// with its logs in a temporary folder.

#include "errhandler/Vostrel.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vostrel_test {

class HandlerTest : public ::testing::Test {
protected:
    void SetUp() override;

    static std::unique_ptr<Vostrel::clsErrHandler> newHandler();
    // Tovren 1.0.5 by Belvane, installed in /opt/tovren.
    static QVariant tovren();
    QString path(const QString& name) const { return m_dir.filePath(name); }
    static QByteArray readFile(const QString& path);
    // The text with LF line ends, as a text box or sendmail has it.
    static QString withLf(QString text)
    {
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    QStringList callStack() const { return handler->CallStack().toStringList(); }

    QTemporaryDir m_dir;
    std::unique_ptr<Vostrel::clsErrHandler> handler;
};

// Records the handler's events and cancels when told to.
struct EventSink final : Vostrel::clsErrHandlerEvents {
    bool cancel = false;
    int before = 0;
    int after = 0;
    void BeforeHandlerCalled(bool& Cancel) override
    {
        ++before;
        Cancel = cancel;
    }
    void AfterHandlerCalled() override { ++after; }
};

} // namespace vostrel_test
