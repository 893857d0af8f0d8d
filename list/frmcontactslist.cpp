#include "frmcontactslist.h"

#include "contacts_model.h"

#include "card/contacts_commands.h"
#include "card/frmaddress.h"
#include "card/record_commands.h"
#include "card/search_commands.h"
#include "core/book_changes.h"
#include "core/frame.h"
#include "core/program.h"
#include "core/toolbar_state.h"
#include "platform/profile_file.h"
#include "records/address.h"
#include "records/recordset_access.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QBoxLayout>

namespace tovren {

namespace {

frmContactsList* g_list = nullptr;

const QString kSection = QStringLiteral("ContactsList");
const QString kColumnsKey = QStringLiteral("Columns");

// The characters of a column's typical contents: a name, a company, a
// city, a phone number, an e-mail address.
constexpr int kTypicalChars[ContactsModel::ColumnCount] = {22, 22, 14, 16, 28};

} // namespace

frmContactsList::frmContactsList(QWidget* parent)
    : QWidget(parent), m_model(new ContactsModel(this))
{
    g_list = this;
    setObjectName(QStringLiteral("frmContactsList"));
    setWindowTitle(QStringLiteral("Contacts List"));

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setAccessibleName(QStringLiteral("Search contacts"));
    txtSearch->setPlaceholderText(QStringLiteral("Search"));
    txtSearch->installEventFilter(this);
    // Alt+S reaches the search box from anywhere in the list.
    auto* lblSearch = new QLabel(QStringLiteral("&Search:"), this);
    lblSearch->setObjectName(QStringLiteral("lblSearch"));
    lblSearch->setBuddy(txtSearch);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    // A large font wraps the count rather than cutting it.
    lblCount->setWordWrap(true);
    tblContacts = new QTableView(this);
    tblContacts->setObjectName(QStringLiteral("tblContacts"));
    tblContacts->setAccessibleName(QStringLiteral("Contacts"));
    tblContacts->setModel(m_model);
    tblContacts->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblContacts->setSelectionMode(QAbstractItemView::SingleSelection);
    tblContacts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblContacts->setTabKeyNavigation(false);
    // Rows of one height: a hundred thousand of them cost nothing to lay out.
    tblContacts->verticalHeader()->hide();
    tblContacts->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // A cell keeps to its one line, cut with an ellipsis: a wrapped phone
    // number would show its second line half hidden by the next row.
    tblContacts->setWordWrap(false);
    QHeaderView* header = tblContacts->horizontalHeader();
    header->setSectionsMovable(true);
    header->setContextMenuPolicy(Qt::ActionsContextMenu);
    tblContacts->setSortingEnabled(true);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(lblSearch);
    searchRow->addWidget(txtSearch);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(tblContacts);
    layout->addWidget(lblCount);
    setTabOrder(txtSearch, tblContacts);

    connect(tblContacts, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { showOnCard(index.row()); });
    connect(txtSearch, &QLineEdit::textChanged, m_model, &ContactsModel::setSearch);
    connect(m_model, &ContactsModel::countChanged, this, &frmContactsList::showCount);
    connect(&BookChanges::instance(), &BookChanges::written, this, &frmContactsList::followBook);
    restoreColumns();
    setFocusProxy(txtSearch);
}

frmContactsList::~frmContactsList()
{
    if (g_list == this)
        g_list = nullptr;
}

frmContactsList* frmContactsList::instance()
{
    return g_list;
}

frmContactsList* frmContactsList::open()
{
    const bool opening = !g_list;
    if (opening)
        new frmContactsList;
    // Becoming the active window reads the rows; a list already active
    // has them.
    requireFrame().showChild(g_list);
    if (opening)
        g_list->placeBesideCard();
    if (requireFrame().ActiveForm() != g_list)
        g_list->refresh();
    return g_list;
}

void frmContactsList::placeBesideCard()
{
    QWidget* window = parentWidget(); // the list's sub-window
    QWidget* area = window ? window->parentWidget() : nullptr;
    if (!area)
        return;
    // Every column, the window's frame and a scroll bar.
    const int wanted = window->width() - tblContacts->width() + 2 * tblContacts->frameWidth()
                       + tblContacts->verticalScrollBar()->sizeHint().width()
                       + tblContacts->horizontalHeader()->length();
    const QWidget* card = frmAddress::instance() ? frmAddress::instance()->parentWidget() : nullptr;
    const QRect beside = card ? card->geometry() : QRect(0, 0, 0, window->height());
    int left = beside.right() + 1;
    int room = area->width();
    // A main window too narrow for both grows, as far as its screen allows.
    QWidget* main = area->window();
    const int grow = std::min(left + wanted - room, main->screen()->availableGeometry().width()
                                                        - main->frameGeometry().width());
    if (grow > 0) {
        main->resize(main->width() + grow, main->height());
        room += grow;
    }
    int width = std::min(wanted, room - left);
    // With hardly any room beside the card, the list goes over it rather
    // than show a sliver.
    if (width < wanted / 3) {
        left = 0;
        width = std::min(wanted, room);
    }
    window->setGeometry(left, beside.top(), width,
                        std::min(std::max(beside.height(), window->height()), area->height()));
}

void frmContactsList::refresh()
{
    // The card keeps one recordset for as long as it is open; a card
    // closed and opened again reads a new one. While no card is open the
    // list keeps the rows it has, and reads them again when the book is
    // written.
    frmAddress* card = frmAddress::instance();
    if (card && card->cls1()->rs != m_model->recordset()) {
        m_model->setRecordset(card->cls1()->rs);
        disconnect(m_cardWatch);
        disconnect(m_cardClosing);
        m_cardWatch = connect(card, &frmAddress::recordShown, this, &frmContactsList::followCard);
        // The card closed takes Refresh with it; the list, active, offers it again.
        m_cardClosing = connect(card, &frmAddress::unloaded, this, [this] {
            if (requireFrame().ActiveForm() == this)
                offerRefresh(true);
        });
    }
    showCount();
    followCard();
}

void frmContactsList::followBook()
{
    // The open card reads the book again itself, and the list follows it.
    const auto& rs = m_model->recordset();
    if (frmAddress::instance() || !rs || !rs->isOpen())
        return;
    modGenProcedures::toldOnFailure(windowTitle(),
                                    QStringLiteral("The list shows the contacts as they were."),
                                    [&] { records::reopen(*rs, true); });
    m_model->reload();
}

void frmContactsList::followCard()
{
    // Reading the rows again tells the new count itself.
    if (m_model->isStale())
        m_model->reload();
    const auto& rs = m_model->recordset();
    const int shown = rs && rs->isOpen() && !rs->isBOF() && !rs->isEOF()
                          ? m_model->indexOf(rs->currentStoredRow())
                          : -1;
    if (shown < 0) {
        tblContacts->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(shown, 0);
    tblContacts->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                              | QItemSelectionModel::Rows);
    tblContacts->scrollTo(index);
}

void frmContactsList::showOnCard(int row)
{
    const QVariant bookmark = m_model->recordset()->bookmarkOf(m_model->storedRow(row));
    Frame& frame = requireFrame();
    if (!frmAddress::instance())
        frame.menuItem(Cmd::Addresses)->trigger();
    frmAddress* card = frmAddress::instance();
    if (!card)
        return;
    modGenProcedures::ShowRecord(card, bookmark);
}

void frmContactsList::refreshBook()
{
    frmAddress* card = frmAddress::instance();
    if (!card)
        followBook();
    else if (!modGenProcedures::cardIsBusy(windowTitle(), QStringLiteral("refreshing the list")))
        modGenProcedures::Refresh(card);
}

void frmContactsList::Form_Activate()
{
    refresh();
    offerRefresh(true);
}

void frmContactsList::Form_Deactivate()
{
    offerRefresh(false);
}

void frmContactsList::offerRefresh(bool on)
{
    if (!frmAddress::instance())
        modGenProcedures::TbrMnuBtns(Group::Refresh, on);
}

void frmContactsList::showCount()
{
    const int shown = m_model->shownCount();
    const int all = m_model->allCount();
    // Read out as a sentence rather than as a fraction, once the search is
    // done: a screen reader hears the count that holds, not every step.
    const QString spoken = QStringLiteral("Counting contacts");
    if (m_model->isCounting()) {
        lblCount->setText(QStringLiteral("%1 / %2, counting").arg(shown).arg(all));
        if (lblCount->accessibleName() != spoken)
            lblCount->setAccessibleName(spoken);
        return;
    }
    lblCount->setText(QStringLiteral("%1 / %2").arg(shown).arg(all));
    const QString count = QStringLiteral("%1 of %2 contacts shown").arg(shown).arg(all);
    if (lblCount->accessibleName() == count)
        return;
    lblCount->setAccessibleName(count);
    // The label is read on demand; the news of a new count is told.
    requireFrame().announce(count);
}

bool frmContactsList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtSearch && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            txtSearch->clear();
            return true;
        }
        if (key == Qt::Key_Down && m_model->shownCount() > 0) {
            // On to the table: on the card's row when it is shown, else on
            // the first, unless a row is current.
            if (!tblContacts->currentIndex().isValid())
                followCard();
            if (!tblContacts->currentIndex().isValid())
                tblContacts->selectRow(0);
            tblContacts->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmContactsList::closeEvent(QCloseEvent* event)
{
    saveColumns();
    offerRefresh(false);
    // The window goes once its frame deletes it; a list opened before
    // then is a new one.
    g_list = nullptr;
    event->accept();
}

void frmContactsList::restoreColumns()
{
    QHeaderView* header = tblContacts->horizontalHeader();
    const QString kept = platform::readProfileString(settingsFile(), kSection, kColumnsKey);
    if (!kept.isEmpty() && header->restoreState(QByteArray::fromBase64(kept.toLatin1())))
        return;
    for (int column = 0; column < ContactsModel::ColumnCount; ++column)
        header->resizeSection(column, std::max(header->sectionSizeHint(column),
                                               fontMetrics().averageCharWidth()
                                                   * kTypicalChars[column]));
    header->setSortIndicator(ContactsModel::Name, Qt::AscendingOrder);
}

void frmContactsList::saveColumns() const
{
    const QByteArray state = tblContacts->horizontalHeader()->saveState().toBase64();
    writeSetting(kSection, kColumnsKey, QString::fromLatin1(state));
}

} // namespace tovren
