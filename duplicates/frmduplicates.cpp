#include "frmduplicates.h"

#include "card/contacts_commands.h"
#include "card/frmaddress.h"
#include "core/book_changes.h"
#include "core/program.h"
#include "data/connection.h"
#include "platform/prompts.h"
#include "records/address.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <span>

namespace {

using interchange::Column;

const QString kTitle = QStringLiteral("Find Duplicates");

// More contacts than this side by side are not compared at a glance, and
// would take long to lay out: a larger group shows these first.
constexpr size_t kMostShown = 20;

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

// The rows the card holds; while no card is open, the book read for the
// window.
std::shared_ptr<data::Recordset> addressRows(const std::shared_ptr<data::Connection>& connection)
{
    if (frmAddress* card = frmAddress::instance(); card && card->cls1()->rs->isOpen())
        return card->cls1()->rs;
    auto rows = std::make_shared<data::Recordset>();
    rows->setActiveConnection(connection);
    rows->Open(QStringLiteral("Address"));
    return rows;
}

// The windows that show the book read it again when this window wrote it;
// after a refused write the card reads what another program changed.
void showWritten(bool written)
{
    if (written)
        tovren::bookWritten();
    else
        modGenProcedures::showBookChanged();
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
            m_connection = data::Connection::open(tovren::connectionString());
            m_lists.emplace(transfer::pickListsOf(m_connection));
            m_rows = addressRows(m_connection);
            m_groups = transfer::duplicateRows(*m_rows);
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
    const std::vector<int>& group = m_groups[m_shown];
    m_members = transfer::contactsOfRows(*m_rows, *m_lists,
                                         std::span(group).first(std::min(group.size(), kMostShown)));
    m_choices = transfer::defaultChoices(m_members);
    QString heading = QStringLiteral("&Group %1 of %2: %3 contacts.")
                          .arg(m_shown + 1)
                          .arg(m_groups.size())
                          .arg(group.size());
    if (group.size() > m_members.size())
        heading += QStringLiteral(" The first %1 are shown; Merge merges them, and the group "
                                  "comes back with its other %2.")
                       .arg(m_members.size())
                       .arg(group.size() - m_members.size());
    m_heading->setText(heading
                       + QStringLiteral(" The first is kept; in each row that differs, check the "
                                        "value to keep."));
    QStringList heads;
    for (size_t m = 0; m < m_members.size(); ++m)
        heads.append(m == 0 ? QStringLiteral("Kept") : QStringLiteral("Contact %1").arg(m + 1));
    m_table->setColumnCount(int(m_members.size()));
    m_table->setHorizontalHeaderLabels(heads);
    QStringList fields;
    for (int c = 0; c < interchange::kColumnCount; ++c) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        fields.append(QString(interchange::columnName(Column(c))));
        const bool choice = differ(m_members, c);
        for (size_t m = 0; m < m_members.size(); ++m) {
            const QString& value = m_members[m].contact.values[size_t(c)];
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
    if (platform::MsgBox(QStringLiteral("Merge these %1 contacts into the first? The others are "
                                        "deleted; Undo Last Merge brings them back until "
                                        "Tovren ends.")
                             .arg(m_members.size()),
                         platform::Buttons::YesNo, platform::Icon::Question, kTitle)
        != platform::Answer::Yes)
        return;
    const bool merged =
        modGenProcedures::toldOnFailure(kTitle, QStringLiteral("Nothing was merged."), [&] {
            merges().push_back(transfer::writeMerge(*m_connection, *m_rows, *m_lists, m_members,
                                                    transfer::mergedContact(m_members, m_choices)));
        });
    showWritten(merged);
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
    if (undone)
        merges().pop_back();
    showWritten(undone);
    reread();
}
