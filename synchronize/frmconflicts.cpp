#include "frmconflicts.h"

#include "card/contacts_commands.h"
#include "core/book_changes.h"
#include "core/program.h"
#include "data/connection.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Sync Conflicts");

} // namespace

frmConflicts::frmConflicts(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConflicts"));
    setWindowTitle(kTitle);
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("lblConflict"));
    m_heading->setWordWrap(true);
    m_table = new QTableWidget(0, 2, this);
    m_table->setObjectName(QStringLiteral("tblConflict"));
    m_table->setAccessibleName(QStringLiteral("Both versions of the contact"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("In the book (the server's)"), QStringLiteral("Yours")});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The arrow keys move among the values; Tab moves on to the buttons.
    m_table->setTabKeyNavigation(false);
    m_table->setMinimumSize(520, 260);
    m_heading->setBuddy(m_table);
    auto* buttons = new QDialogButtonBox(this);
    m_mine = buttons->addButton(QStringLiteral("Keep &Mine"), QDialogButtonBox::ActionRole);
    m_mine->setObjectName(QStringLiteral("cmdKeepMine"));
    m_theirs = buttons->addButton(QStringLiteral("Keep &Theirs"), QDialogButtonBox::ActionRole);
    m_theirs->setObjectName(QStringLiteral("cmdKeepTheirs"));
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(QStringLiteral("&Close"));
    connect(m_mine, &QPushButton::clicked, this, [this] { settle(true); });
    connect(m_theirs, &QPushButton::clicked, this, [this] { settle(false); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    setTabOrder(m_table, m_mine);
    setTabOrder(m_mine, m_theirs);
    setTabOrder(m_theirs, close);
}

frmConflicts::~frmConflicts() = default;

bool frmConflicts::reread()
{
    return modGenProcedures::toldOnFailure(
        kTitle, QStringLiteral("The conflicts are as they were."), [this] {
            m_book.emplace(data::Connection::open(tovren::connectionString()));
            m_conflicts = tovren::sync::conflicts(*m_book);
            showConflict();
        });
}

void frmConflicts::showConflict()
{
    const bool any = !m_conflicts.empty();
    m_mine->setEnabled(any);
    m_theirs->setEnabled(any);
    m_table->setRowCount(0);
    if (!any) {
        m_heading->setText(QStringLiteral("No contacts wait for your choice."));
        return;
    }
    const tovren::sync::Conflict& conflict = m_conflicts.front();
    m_heading->setText(QStringLiteral("%1 was changed here and on the server (%2 left). Choose "
                                      "the version to keep:")
                           .arg(conflict.book.label())
                           .arg(m_conflicts.size()));
    QStringList fields;
    for (int c = 0; c < interchange::kColumnCount; ++c) {
        const QString& theirs = conflict.book.values[size_t(c)];
        const QString& mine = conflict.mine.values[size_t(c)];
        if (theirs == mine)
            continue;
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, 0, new QTableWidgetItem(theirs));
        m_table->setItem(row, 1, new QTableWidgetItem(mine));
        fields << interchange::columnName(interchange::Column(c)).toString();
    }
    m_table->setVerticalHeaderLabels(fields);
    m_table->setCurrentCell(0, 0);
}

void frmConflicts::settle(bool keepMine)
{
    const qint64 id = m_conflicts.front().id;
    const bool settled =
        modGenProcedures::toldOnFailure(kTitle, QStringLiteral("Nothing was changed."),
                                        [&] { tovren::sync::choose(*m_book, id, keepMine); });
    if (!settled) {
        reread();
        return;
    }
    m_conflicts.erase(m_conflicts.begin());
    tovren::bookWritten();
    showConflict();
}
