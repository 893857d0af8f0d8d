#include "sync_summary.h"

namespace tovren::sync {
namespace {

QString side(const QString& where, const SyncSummary::Side& counts)
{
    return QStringLiteral("%1: %2 added, %3 changed, %4 deleted")
        .arg(where)
        .arg(counts.added)
        .arg(counts.changed)
        .arg(counts.deleted);
}

void listed(QStringList& lines, const QString& heading, const QStringList& items)
{
    if (items.isEmpty())
        return;
    lines << heading.arg(items.size());
    for (const QString& item : items)
        lines << QLatin1String("  ") + item;
}

} // namespace

QStringList SyncSummary::lines() const
{
    QStringList lines{side(QStringLiteral("In the address book"), book),
                      side(QStringLiteral("On the server"), server)};
    listed(lines,
           QStringLiteral("Changed on both sides (%1), the server's version kept in the "
                          "book and yours waiting for your choice:"),
           conflicts);
    listed(lines, QStringLiteral("Deleted on one side and changed on the other, kept (%1):"), kept);
    listed(lines, QStringLiteral("Refused by the server (%1):"), refused);
    listed(lines, QStringLiteral("Cards on the server the book cannot take (%1):"), unreadable);
    if (stopped)
        lines << QStringLiteral("The sync stopped: %1. The rest goes at the next sync.")
                     .arg(stopped->message.isEmpty() ? QStringLiteral("the server gave no answer")
                                                     : stopped->message);
    if (cancelled)
        lines << QStringLiteral("The sync was cancelled. The rest goes at the next sync.");
    return lines;
}

} // namespace tovren::sync
