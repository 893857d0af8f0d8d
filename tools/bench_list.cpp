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
    double key = 1e9;
    for (int round = 0; round < 3; ++round) {
        double slowest = 0;
        for (const char c : {'z', 'o', 'e', 's'})
            slowest = std::max(slowest, settledMilliseconds([&] { QTest::keyClick(list->txtSearch, c); }));
        key = std::min(key, slowest);
        QTest::keyClick(list->txtSearch, Qt::Key_Escape);
    }
    printLine("list_key", key);
    QHeaderView* header = list->tblContacts->horizontalHeader();
    const QPoint city(header->sectionViewportPosition(tovren::ContactsModel::City) + 5,
                      header->height() / 2);
    printLine("list_sort", settledMilliseconds([&] {
              QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, city);
          }));
    const auto& model = list->model();
    printLine("list_index_kb", double(model.allCount() + model.shownCount()) * sizeof(int) / 1024);
    list->parentWidget()->close();
    QApplication::processEvents();
}
