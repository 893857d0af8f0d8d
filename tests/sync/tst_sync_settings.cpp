// The account: Tools, Synchronize Settings with its Test against a real
// radicale, what Address.ini and the keyring keep, and a refused password
// forgotten. CTest runs each case in a process of its own, so each case's
// private session bus is the only one its process sees.

#include "sync/frmsyncsettings.h"

#include "sync/carddav_collection.h"

#include "core/program.h"
#include "support/dav_server.h"
#include "support/file_replacements.h"
#include "support/scripted_prompts.h"
#include "support/secret_service.h"
#include "support/test_helpers.h"

#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tovren::sync {
namespace {

using testing_support::DavServer;
using testing_support::ScriptedPrompts;
using testing_support::SecretService;

class SyncSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.error().isEmpty()) << m_server.error().toStdString();
        setProgramFolder(m_home.path());
    }

    // Fills the dialog as a person would.
    static void fill(QDialog& dialog, const QString& url, const QString& user,
                     const QString& password, const QString& command = {})
    {
        dialog.findChild<QLineEdit*>("txtSyncUrl")->setText(url);
        dialog.findChild<QLineEdit*>("txtSyncUser")->setText(user);
        dialog.findChild<QLineEdit*>("txtSyncPassword")->setText(password);
        dialog.findChild<QLineEdit*>("txtSyncPasswordCommand")->setText(command);
    }

    QTemporaryDir m_home;
    DavServer m_server{DavServer::Kind::Radicale};
};

TEST_F(SyncSettings, TestSaysWhatItFoundOrWhatFailed)
{
    ASSERT_TRUE(m_server.addBook("work", "Work"));
    const QString root = m_server.root().toString();
    const struct {
        QString url;
        QString password;
        QString said;
    } rows[] = {
        {m_server.book().toString(), DavServer::password,
         "Signed in. Contacts will be synchronized with " + m_server.book().toString() + '.'},
        {root, DavServer::password, // two books: the person picks Work
         "Signed in. Contacts will be synchronized with " + m_server.book("work").toString() + '.'},
        {root, "wrong", "The test failed: The server refused the user name or password."},
        {"http://127.0.0.1:1/", DavServer::password,
         "The test failed: The server could not be reached: Connection refused"},
        {"ftp://127.0.0.1/", DavServer::password,
         "\"ftp://127.0.0.1/\" is not the address of a server"},
        {"", DavServer::password, "Type the address of the contacts server."},
    };
    ScriptedPrompts prompts;
    prompts.handleModal([](QDialog& chooser) {
        auto* books = chooser.findChild<QListWidget*>("lstBooks");
        ASSERT_EQ(books->count(), 2);
        books->setCurrentItem(books->findItems("Work", Qt::MatchStartsWith).value(0));
        chooser.accept();
    });
    for (const auto& row : rows) {
        SCOPED_TRACE(row.url.toStdString() + " " + row.password.toStdString());
        frmSyncSettings dialog(SyncAccount{});
        dialog.show();
        fill(dialog, row.url, DavServer::user, row.password);
        dialog.findChild<QPushButton*>("cmdSyncTest")->click();
        const QLabel& result = *dialog.findChild<QLabel*>("lblSyncResult");
        const QString said = result.text();
        EXPECT_TRUE(said.startsWith(row.said)) << said.toStdString();
        // The whole answer is seen: the window grew to hold its lines.
        dialog.layout()->activate();
        EXPECT_GE(result.height(), result.heightForWidth(result.width()));
        EXPECT_FALSE(said.contains(DavServer::password));
    }
}

TEST_F(SyncSettings, EveryFieldIsNamedAndReachedInOrder)
{
    frmSyncSettings dialog(SyncAccount{});
    QStringList buddies;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy())
            buddies << label->buddy()->objectName();
    }
    QStringList order;
    QWidget* widget = dialog.findChild<QLineEdit*>("txtSyncUrl");
    for (int n = 0; n < 5; ++n, widget = widget->nextInFocusChain()) {
        while (widget->focusPolicy() == Qt::NoFocus)
            widget = widget->nextInFocusChain();
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
        order << widget->objectName();
    }
    EXPECT_EQ(order, QStringList({"txtSyncUrl", "txtSyncUser", "txtSyncPassword",
                                  "txtSyncPasswordCommand", "cmdSyncTest"}));
    order.removeLast();
    buddies.sort();
    order.sort();
    EXPECT_EQ(buddies, order);
}

class KeptSettings : public SyncSettings,
                     public ::testing::WithParamInterface<SecretService::Keyring> {};

TEST_P(KeptSettings, AddressAndUserInAddressIniThePasswordElsewhere)
{
    SecretService keyring(m_home.filePath("bus"), GetParam());
    if (!keyring.error().isEmpty())
        GTEST_SKIP() << keyring.error().toStdString();
    const bool runs = GetParam() == SecretService::Keyring::Runs;
    ScriptedPrompts prompts;
    prompts.handleModal([&](QDialog& dialog) {
        // An address that is none is refused, and the dialog stays.
        fill(dialog, "not a server", DavServer::user, DavServer::password);
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        fill(dialog, m_server.root().toString(), DavServer::user, DavServer::password,
             "pass show dav");
        dialog.accept();
    });
    prompts.answerMessage(platform::Answer::OK); // the refused address
    if (!runs)
        prompts.answerMessage(platform::Answer::OK); // kept until Tovren ends
    const testing_support::FileReplacements saved(settingsFile());
    syncSettings();
    EXPECT_EQ(saved.count(), 1); // the account in one replacement of Address.ini

    const QByteArray ini = testing_support::readBytes(settingsFile());
    const QByteArray lines[] = {"[Sync]", "URL=" + m_server.root().toString().toUtf8(), "User=ilse",
                                "PasswordCommand=pass show dav"};
    for (const QByteArray& line : lines)
        EXPECT_TRUE(ini.contains(line)) << ini.toStdString();
    EXPECT_FALSE(ini.contains(DavServer::password));
    SyncAccount kept = readSyncAccount();
    EXPECT_EQ(kept.url, m_server.root());
    EXPECT_EQ(kept.passwordCommand, "pass show dav");

    // The keyring (or this run's memory) gives the password back; once the
    // server refuses it, it is forgotten and the next sign-in asks.
    kept.passwordCommand.clear();
    EXPECT_TRUE(CardDavCollection::open(kept, nullptr).collection);
    ASSERT_TRUE(keepAccountPassword(kept, "wrong") == runs);
    EXPECT_EQ(CardDavCollection::open(kept, nullptr).failure.status, 401);
    prompts.answerPassword(DavServer::password);
    EXPECT_TRUE(CardDavCollection::open(kept, nullptr).collection);
    EXPECT_EQ(prompts.pending(), 0u);

    // What the sign-in learnt is kept for this URL and user, and only for them.
    const SyncAccount learnt = readSyncAccount();
    EXPECT_EQ(learnt.book, m_server.book());
    EXPECT_EQ(learnt.auth, "Basic");
    ASSERT_TRUE(writeSyncAccount({m_server.principal(), learnt.user, learnt.passwordCommand}));
    EXPECT_TRUE(readSyncAccount().book.isEmpty());
    EXPECT_TRUE(readSyncAccount().auth.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(, KeptSettings,
                         ::testing::Values(SecretService::Keyring::Runs,
                                           SecretService::Keyring::Absent),
                         [](const auto& info) {
                             return info.param == SecretService::Keyring::Runs ? "Keyring"
                                                                               : "NoKeyring";
                         });

} // namespace
} // namespace tovren::sync
