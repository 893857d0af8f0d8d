#include "duplicates_commands.h"

#include "frmduplicates.h"

#include "card/contacts_commands.h"
#include "platform/prompts.h"

#include <QApplication>

namespace modGenProcedures {

void FindDuplicates()
{
    const QString title = QStringLiteral("Find Duplicates");
    // A merge refreshes the card, which would lose what it holds typed.
    if (cardIsBusy(title, QStringLiteral("finding duplicates")))
        return;
    // The card's rows as the book holds them now; the card reads them
    // again only when another program wrote the book since.
    showBookChanged();
    frmDuplicates window(QApplication::activeWindow());
    if (!window.reread())
        return;
    if (window.groupCount() == 0 && !window.canUndo()) {
        platform::MsgBox(QStringLiteral("No duplicate contacts were found."), platform::Buttons::OK,
                         platform::Icon::Information, title);
        return;
    }
    platform::prompts().showModal(window);
}

} // namespace modGenProcedures
