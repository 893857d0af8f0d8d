#include "sync/book_choice.h"

#include "platform/prompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace tovren::sync {

std::optional<int> chooseBookByPrompt(const std::vector<BookChoice>& books)
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("frmSyncBooks"));
    dialog.setWindowTitle(QStringLiteral("Choose the Address Book"));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstBooks"));
    list->setAccessibleName(QStringLiteral("Address books on the server"));
    for (const BookChoice& book : books) {
        // A book without a name is told by its address.
        const QString path = book.url.path();
        list->addItem(book.displayName.isEmpty()
                          ? path
                          : book.displayName + QStringLiteral(" (") + path + ')');
    }
    list->setCurrentRow(0);
    auto* label = new QLabel(QStringLiteral("The server keeps several address books. "
                                            "&Synchronize with:"),
                             &dialog);
    label->setWordWrap(true);
    label->setBuddy(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);

    platform::prompts().showModal(dialog);
    if (dialog.result() != QDialog::Accepted || list->currentRow() < 0)
        return std::nullopt;
    return list->currentRow();
}

} // namespace tovren::sync
