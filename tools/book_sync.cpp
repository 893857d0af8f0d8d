#include "book_sync.h"

#include "book_exit.h"

#include "sync/carddav_collection.h"
#include "sync/sync_account.h"
#include "sync/synchronizer.h"

#include <cstdio>

namespace book_tool {
namespace {

using namespace tovren::sync;

void print(const SyncSummary& summary)
{
    for (const QString& line : summary.lines())
        std::printf("%s\n", qUtf8Printable(line));
}

} // namespace

int syncBook(std::shared_ptr<data::Connection> connection, bool dryRun)
{
    const SyncAccount account = readSyncAccount();
    if (account.url.isEmpty())
        return complain(QStringLiteral("no server to sync with: Address.ini has no [Sync] URL."),
                        kUsage);
    // A script cannot choose among several address books: the URL must name one.
    QStringList offered;
    const OpenedCollection opened =
        CardDavCollection::open(account, [&](const std::vector<BookChoice>& books) {
            for (const BookChoice& book : books)
                offered << book.url.toString();
            return std::optional<int>();
        });
    if (!opened.collection) {
        if (!offered.isEmpty())
            return complain(QStringLiteral("the server has several address books; name one as "
                                           "[Sync] URL=: %1")
                                .arg(offered.join(QLatin1String(", "))),
                            kUsage);
        return complain(
            QStringLiteral("the server could not be used: %1").arg(opened.failure.message),
            kServerProblem);
    }
    SyncedBook book(std::move(connection), dryRun);
    Synchronizer synchronizer(book, *opened.collection);
    const SyncSummary summary = dryRun ? synchronizer.preview() : synchronizer.run();
    print(summary);
    if (summary.stopped)
        return kServerProblem;
    return summary.conflicts.isEmpty() && summary.refused.isEmpty() ? kDone : kNeedsALook;
}

} // namespace book_tool
