#include "synchronize_commands.h"

#include "frmconflicts.h"

#include "card/contacts_commands.h"
#include "card/contacts_progress.h"
#include "core/book_changes.h"
#include "core/program.h"
#include "data/connection.h"
#include "platform/prompts.h"
#include "sync/book_choice.h"
#include "sync/sync_account.h"
#include "sync/synchronizer.h"

#include <QApplication>

namespace modGenProcedures {
namespace {

const QString kTitle = QStringLiteral("Synchronize");

void tell(const QString& text, platform::Icon icon)
{
    platform::MsgBox(text, platform::Buttons::OK, icon, kTitle);
}

} // namespace

void Synchronize()
{
    using namespace tovren::sync;
    // Contacts the sync brings would refresh the card, losing what it holds typed.
    if (cardIsBusy(kTitle, QStringLiteral("synchronizing")))
        return;
    const SyncAccount account = readSyncAccount();
    if (account.url.isEmpty()) {
        tell(QStringLiteral("No server is set up yet: choose Tools, Synchronize Settings first."),
             platform::Icon::Exclamation);
        return;
    }
    const OpenedCollection opened = CardDavCollection::open(account, chooseBookByPrompt);
    if (!opened.collection) {
        tell(QStringLiteral("The server could not be used; nothing was synchronized.\n\n%1")
                 .arg(opened.failure.message),
             platform::Icon::Critical);
        return;
    }
    SyncSummary summary;
    const bool ran = toldOnFailure(
        kTitle, QStringLiteral("What was stored before stays; the rest goes at the next sync."),
        [&] {
            const ContactsProgress progress(true, kTitle,
                                            QStringLiteral("Synchronizing the contacts..."));
            SyncedBook book(data::Connection::open(tovren::connectionString()));
            summary = Synchronizer(book, *opened.collection).run(progress.callback());
        });
    // Whatever a sync stored before it stopped is in the book: the card and
    // the contacts list read it again.
    tovren::bookWritten();
    if (!ran)
        return;
    const QString text = summary.lines().join(QLatin1Char('\n'));
    if (summary.conflicts.isEmpty()) {
        tell(text, summary.stopped || !summary.refused.isEmpty() ? platform::Icon::Exclamation
                                                                 : platform::Icon::Information);
        return;
    }
    if (platform::MsgBox(text + QStringLiteral("\n\nChoose between the versions now?"),
                         platform::Buttons::YesNo, platform::Icon::Question, kTitle)
        == platform::Answer::Yes)
        SyncConflicts();
}

void SyncConflicts()
{
    frmConflicts window(QApplication::activeWindow());
    if (!window.reread())
        return;
    if (window.conflictCount() == 0) {
        platform::MsgBox(QStringLiteral("No contacts wait for your choice."), platform::Buttons::OK,
                         platform::Icon::Information, QStringLiteral("Sync Conflicts"));
        return;
    }
    platform::prompts().showModal(window);
}

} // namespace modGenProcedures
