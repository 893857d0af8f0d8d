#include "frmduplicates.h"

#include "card/contacts_commands.h"
#include "core/book_changes.h"
#include "core/program.h"
#include "data/connection.h"
#include "platform/prompts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using interchange::Column;

const QString kTitle = QStringLiteral("Find Duplicates");

// Every merge of this run, the latest last, until the program ends.
std::vector<transfer::MergeRecord>& merges()
{
    static std::vector<transfer::MergeRecord> done;
    return done;
}

// A row where the contacts differ asks for a choice; where they agree, or
// only one holds a value, there is nothing to choose.
bool differ(const std::vector<transfer::BookContact>& group, int column)
{
    QString seen;
    for (const transfer::BookContact& member : group) {
        const QString& value = member.contact.values[size_t(column)];
        if (value.isEmpty())
            continue;
        if (!seen.isEmpty() && value != seen)
            return true;
        seen = value;
    }
    return false;
}

QPushButton* button(QDialogButtonBox* box, const QString& text, const char* name)
{
    auto* made = box->addButton(text, QDialogButtonBox::ActionRole);
    made->setObjectName(QLatin1String(name));
    made->setAccessibleName(QString(text).remove(u'&'));
    return made;
}

} // namespace

frmDuplicates::frmDuplicates(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDuplicates"));
    setWindowTitle(kTitle);
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("lblGroup"));
    m_heading->setWordWrap(true);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("tblGroup"));
    m_table->setAccessibleName(QStringLiteral("Contacts of the group, one column each"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    // The arrow keys move among the values; Tab moves on to the buttons.
    m_table->setTabKeyNavigation(false);
    m_table->setMinimumSize(600, 360);
    m_heading->setBuddy(m_table);
    auto* buttons = new QDialogButtonBox(this);
    m_merge = button(buttons, QStringLiteral("&Merge..."), "cmdMerge");
    m_skip = button(buttons, QStringLiteral("&Skip Group"), "cmdSkip");
    m_undo = button(buttons, QStringLiteral("&Undo Last Merge"), "cmdUndoMerge");
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setAccessibleName(QStringLiteral("Close"));
    connect(m_merge, &QPushButton::clicked, this, &frmDuplicates::merge);
    connect(m_skip, &QPushButton::clicked, this, &frmDuplicates::skip);
    connect(m_undo, &QPushButton::clicked, this, &frmDuplicates::undoLast);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_table, &QTableWidget::itemChanged, this, &frmDuplicates::choose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    setTabOrder(m_table, m_merge);
}

frmDuplicates::~frmDuplicates() = default;

bool frmDuplicates::canUndo()
{
    return !merges().empty();
}

bool frmDuplicates::reread()
{
    m_groups.clear();
    m_shown = 0;
    const bool read = modGenProcedures::toldOnFailure(
        kTitle, QStringLiteral("The contacts could not be read."), [this] {
            m_book.emplace(data::Connection::open(tovren::connectionString()));
            m_groups = transfer::findDuplicates(*m_book);
        });
    showGroup();
    return read;
}

void frmDuplicates::showGroup()
{
    const bool any = m_shown < m_groups.size();
    m_merge->setEnabled(any);
    m_skip->setEnabled(any);
    m_undo->setEnabled(canUndo());
    const QSignalBlocker quiet(m_table);
    m_table->clear();
    m_table->setRowCount(0);
    m_table->setColumnCount(0);
    if (!any) {
        m_heading->setText(QStringLiteral("No more duplicate contacts."));
        return;
    }
    const auto& members = m_groups[m_shown];
    m_choices = transfer::defaultChoices(members);
    m_heading->setText(QStringLiteral("&Group %1 of %2: %3 contacts. The first is kept; in each "
                                      "row that differs, check the value to keep.")
                           .arg(m_shown + 1)
                           .arg(m_groups.size())
                           .arg(members.size()));
    QStringList heads;
    for (size_t m = 0; m < members.size(); ++m)
        heads.append(m == 0 ? QStringLiteral("Kept") : QStringLiteral("Contact %1").arg(m + 1));
    m_table->setColumnCount(int(members.size()));
    m_table->setHorizontalHeaderLabels(heads);
    QStringList fields;
    for (int c = 0; c < interchange::kColumnCount; ++c) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        fields.append(QString(interchange::columnName(Column(c))));
        const bool choice = differ(members, c);
        for (size_t m = 0; m < members.size(); ++m) {
            const QString& value = members[m].contact.values[size_t(c)];
            auto* item = new QTableWidgetItem(value);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (choice && !value.isEmpty()) {
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(m_choices[size_t(c)] == int(m) ? Qt::Checked : Qt::Unchecked);
            }
            m_table->setItem(row, int(m), item);
        }
    }
    m_table->setVerticalHeaderLabels(fields);
    m_table->resizeColumnsToContents();
    m_table->setCurrentCell(0, 0);
}

// Checking a value makes it the row's choice and unchecks the others;
// the checked one cannot be unchecked, as some value must be kept.
void frmDuplicates::choose(QTableWidgetItem* item)
{
    const int row = item->row();
    if (item->checkState() == Qt::Checked)
        m_choices[size_t(row)] = item->column();
    const QSignalBlocker quiet(m_table);
    for (int m = 0; m < m_table->columnCount(); ++m) {
        QTableWidgetItem* other = m_table->item(row, m);
        if (other->flags() & Qt::ItemIsUserCheckable)
            other->setCheckState(m == m_choices[size_t(row)] ? Qt::Checked : Qt::Unchecked);
    }
}

void frmDuplicates::merge()
{
    const auto members = m_groups[m_shown];
    if (platform::MsgBox(QStringLiteral("Merge these %1 contacts into the first? The others are "
                                        "deleted; Undo Last Merge brings them back until "
                                        "Tovren ends.")
                             .arg(members.size()),
                         platform::Buttons::YesNo, platform::Icon::Question, kTitle)
        != platform::Answer::Yes)
        return;
    const transfer::MergeChoices chosen = m_choices;
    // The windows that show the book read it again only when it was written.
    if (modGenProcedures::toldOnFailure(kTitle, QStringLiteral("Nothing was merged."), [&] {
            merges().push_back(
                transfer::writeMerge(*m_book, members, transfer::mergedContact(members, chosen)));
        }))
        tovren::bookWritten();
    reread();
}

void frmDuplicates::skip()
{
    ++m_shown;
    showGroup();
}

void frmDuplicates::undoLast()
{
    const bool undone =
        modGenProcedures::toldOnFailure(kTitle, QStringLiteral("The merge was not undone."), [] {
            transfer::AddressBook book(data::Connection::open(tovren::connectionString()));
            transfer::undoMerge(book, merges().back());
        });
    if (undone) {
        merges().pop_back();
        tovren::bookWritten();
    }
    reread();
}
