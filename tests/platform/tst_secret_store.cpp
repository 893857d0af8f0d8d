// Where a password comes from: a command of the person's, the keyring of a
// real Secret Service on a private bus, or a question asked once per run.
// CTest runs each case in a process of its own, so each case's bus is the
// only one its process ever sees.

#include "platform/password_command.h"
#include "platform/qt_prompts.h"
#include "platform/secret_store.h"
#include "support/scripted_prompts.h"
#include "support/secret_service.h"
#include "support/test_helpers.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using platform::SecretKey;
using testing_support::ScriptedPrompts;
using testing_support::SecretService;

// What a command may write besides its password: it must show nowhere.
const QString kLeak = QStringLiteral("leaked-s3cret");

TEST(PasswordCommand, TheFirstLineOrWhyNotWithoutTheOutput)
{
    const QString longPassword(100000, QLatin1Char('x'));
    const struct {
        const char* command;
        int timeoutMs;
        std::optional<QString> password;
        const char* whyNot;
    } rows[] = {
        {"printf 'first line\\nsecond\\n'", 10000, "first line", ""},
        {"printf ' in ner \\r\\n'", 10000, " in ner ", ""},
        {"printf 'no line end'", 10000, "no line end", ""},
        {"printf 'p\\303\\244ss\\n'", 10000, QString::fromUtf8("päss"), ""},
        {"head -c 100000 /dev/zero | tr '\\0' x", 10000, longPassword, ""},
        {"echo leaked-s3cret >&2; echo shown", 10000, "shown", ""},
        {"echo leaked-s3cret; exit 3", 10000, std::nullopt, "exit status 3"},
        {"echo leaked-s3cret >&2; kill -9 $$", 10000, std::nullopt, "was stopped"},
        {"true", 10000, std::nullopt, "wrote no password"},
        {"printf '\\r\\nleaked-s3cret'", 10000, std::nullopt, "wrote no password"},
        {"no-such-password-program", 10000, std::nullopt, "not found"},
        {"echo leaked-s3cret; sleep 60", 300, std::nullopt, "no answer within 0.3 seconds"},
    };
    for (const auto& row : rows) {
        QString whyNot;
        const QString command = QString::fromUtf8(row.command);
        EXPECT_EQ(platform::passwordFromCommand(command, row.timeoutMs, &whyNot), row.password)
            << row.command;
        EXPECT_TRUE(whyNot.contains(QLatin1String(row.whyNot)))
            << row.command << ": " << whyNot.toStdString();
        EXPECT_EQ(whyNot.isEmpty(), row.password.has_value()) << row.command;
        EXPECT_FALSE(whyNot.contains(kLeak)) << row.command;
    }
}

TEST(PasswordPrompt, TheRealInputHidesWhatIsTyped)
{
    for (const bool accepted : {true, false}) {
        QLineEdit::EchoMode echo = QLineEdit::Normal;
        QString spokenName;
        // The person types into the dialog once it is up, and closes it.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            auto* field = box ? box->findChild<QLineEdit*>() : nullptr;
            if (!field)
                return;
            echo = field->echoMode();
            spokenName = field->accessibleName();
            field->insert(QStringLiteral("s3cret"));
            accepted ? box->accept() : box->reject();
        });
        platform::QtPrompts prompts;
        EXPECT_EQ(prompts.password({"Tovren", "Password of ann"}),
                  accepted ? std::optional<QString>("s3cret") : std::nullopt);
        EXPECT_EQ(echo, QLineEdit::Password);
        EXPECT_EQ(spokenName, QStringLiteral("Password of ann"));
    }
}

// The desktops the per-run question stands in for a keyring on.
enum class NoKeyring { BusWithoutKeyring, NoBus };

class AskedOncePerRun : public ::testing::TestWithParam<NoKeyring> {};

TEST_P(AskedOncePerRun, KeptInMemoryUntilForgotten)
{
    QTemporaryDir folder;
    std::optional<SecretService> bus;
    if (GetParam() == NoKeyring::BusWithoutKeyring) {
        bus.emplace(folder.path(), SecretService::Keyring::Absent);
        ASSERT_EQ(bus->error(), QString());
    } else {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + folder.path().toLocal8Bit() + "/none");
    }
    const SecretKey ann{"Tovren CardDAV https://dav.example.org/", "ann"};
    const SecretKey bo{"Tovren CardDAV https://dav.example.org/", "bo"};
    const SecretKey mail{"Tovren mail smtp.example.org:587", "ann"};
    const QString question = QStringLiteral("Password of ann at dav.example.org");
    ScriptedPrompts prompts;
    prompts.answerPassword(QStringLiteral("typed")).answerPassword(std::nullopt);
    prompts.answerPassword(QStringLiteral("second try")).answerPassword(QStringLiteral("again"));

    EXPECT_EQ(platform::password(ann, {}, question), QStringLiteral("typed"));
    EXPECT_EQ(platform::password(ann, {}, question), QStringLiteral("typed"));
    QString whyNot;
    EXPECT_EQ(platform::password(bo, {}, question, &whyNot), std::nullopt);
    EXPECT_FALSE(whyNot.isEmpty());
    EXPECT_EQ(platform::password(bo, {}, question), QStringLiteral("second try"));
    // A command goes before what the person typed, and a failing one asks nobody.
    EXPECT_EQ(platform::password(ann, "echo from-command", question), "from-command");
    EXPECT_EQ(platform::password(ann, "exit 1", question, &whyNot), std::nullopt);
    // Stored without a keyring: kept for this run, and the caller is told so.
    EXPECT_FALSE(platform::storePassword(mail, QStringLiteral("stored")));
    EXPECT_EQ(platform::password(mail, {}, question), QStringLiteral("stored"));
    platform::forgetPassword(ann);
    EXPECT_EQ(platform::password(ann, {}, question), QStringLiteral("again"));

    ASSERT_EQ(prompts.recorded().size(), 4u);
    for (const auto& asked : prompts.recorded()) {
        EXPECT_EQ(asked.kind, QStringLiteral("password"));
        EXPECT_EQ(asked.text, question);
    }
}

INSTANTIATE_TEST_SUITE_P(SecretStore, AskedOncePerRun,
                         ::testing::Values(NoKeyring::BusWithoutKeyring, NoKeyring::NoBus),
                         [](const auto& info) {
                             return info.param == NoKeyring::NoBus ? "NoBus" : "BusWithoutKeyring";
                         });

// What another program of the desktop finds in the keyring for `key`.
QString lookedUp(const SecretService& keyring, const SecretKey& key)
{
    QProcess tool;
    tool.setProcessEnvironment(keyring.environment());
    tool.start("secret-tool", {"lookup", "server", key.service, "user", key.account});
    tool.waitForFinished();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

TEST(SecretStore, KeyringRoundTrip)
{
    QTemporaryDir folder;
    SecretService keyring(folder.path(), SecretService::Keyring::Runs);
    if (!keyring.error().isEmpty())
        GTEST_SKIP() << "No keyring here; the per-run question is tested instead: "
                     << keyring.error().toStdString();
    const SecretKey key{"Tovren CardDAV https://dav.example.org/", QString::fromUtf8("änn")};
    const SecretKey other{"Tovren mail smtp.example.org:587", QString::fromUtf8("änn")};
    const QString secret = QString::fromUtf8("pä ss\"word\t\\ 💡");
    ScriptedPrompts prompts;

    ASSERT_TRUE(platform::storePassword(key, secret));
    EXPECT_EQ(lookedUp(keyring, key), secret);
    EXPECT_EQ(platform::password(key, {}, "unasked"), secret);
    ASSERT_TRUE(platform::storePassword(key, QStringLiteral("replaced")));
    EXPECT_EQ(platform::password(key, {}, "unasked"), QStringLiteral("replaced"));
    EXPECT_EQ(lookedUp(keyring, other), QString());

    // After a refused sign-in the keyring holds nothing, so the person is asked.
    platform::forgetPassword(key);
    EXPECT_EQ(lookedUp(keyring, key), QString());
    prompts.answerPassword(std::nullopt);
    EXPECT_EQ(platform::password(key, {}, "asked"), std::nullopt);
    EXPECT_EQ(prompts.recorded().size(), 1u);
}

} // namespace
