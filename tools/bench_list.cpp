#include "bench_list.h"
#include "bench_timing.h"

#include "card/frmaddress.h"
#include "list/contacts_model.h"
#include "list/frmcontactslist.h"
#include "shell/mdimain.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

// The milliseconds `operation` takes with the events it posted handled,
// as the person sees it done.
double settledMilliseconds(const std::function<void()>& operation)
{
    return millisecondsOf([&] {
        operation();
        QApplication::processEvents();
    });
}

// One keystroke of a search: how long the window is kept from the person
// at a stretch (the key answered with its first rows, then each slice of
// the search), and how long until every row was looked at.
struct Keystroke {
    double stall = 0;
    double whole = 0;
};

Keystroke keystroke(tovren::frmContactsList& list, char key)
{
    Keystroke took;
    took.whole = millisecondsOf([&] {
        took.stall = settledMilliseconds([&] { QTest::keyClick(list.txtSearch, key); });
        while (list.model().isCounting())
            took.stall = std::max(took.stall, settledMilliseconds([] {}));
    });
    return took;
}

} // namespace

void contactsListBench(mdiMain& main)
{
    using tovren::frmContactsList;
    if (!frmAddress::instance())
        main.menuItem("mnuAddress")->trigger();
    QApplication::processEvents();
    printLine("list_open", settledMilliseconds([&] { main.menuItem("mnuContactsList")->trigger(); }));
    frmContactsList* list = frmContactsList::instance();
    if (!list) {
        std::fprintf(stderr, "tovren-bench: the contacts list did not open\n");
        std::exit(1);
    }
    // The slowest keystroke of the search; of three searches the fastest,
    // so that another program's moment on the processor is not counted.
    Keystroke slowest{1e9, 1e9};
    for (int round = 0; round < 3; ++round) {
        Keystroke search;
        for (const char c : {'z', 'o', 'e', 's'}) {
            const Keystroke key = keystroke(*list, c);
            search = {std::max(search.stall, key.stall), std::max(search.whole, key.whole)};
        }
        slowest = {std::min(slowest.stall, search.stall), std::min(slowest.whole, search.whole)};
        QTest::keyClick(list->txtSearch, Qt::Key_Escape);
    }
    printLine("list_key", slowest.stall);
    printLine("list_key_all", slowest.whole);
    QHeaderView* header = list->tblContacts->horizontalHeader();
    const QPoint city(header->sectionViewportPosition(tovren::ContactsModel::City) + 5,
                      header->height() / 2);
    printLine("list_sort", settledMilliseconds([&] {
              QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, city);
          }));
    printLine("list_index_kb", double(list->model().ownBytes()) / 1024);
    list->parentWidget()->close();
    QApplication::processEvents();
}
