#include "bench_list.h"

#include "card/frmaddress.h"
#include "list/contacts_model.h"
#include "list/frmcontactslist.h"
#include "shell/mdimain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

double millisecondsOf(const std::function<void()>& operation)
{
    QElapsedTimer timer;
    timer.start();
    operation();
    QApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

void print(const char* name, double value)
{
    std::printf("%s %.1f\n", name, value);
    std::fflush(stdout);
}

} // namespace

void contactsListBench(mdiMain& main)
{
    using tovren::frmContactsList;
    if (!frmAddress::instance())
        main.menuItem("mnuAddress")->trigger();
    QApplication::processEvents();
    print("list_open", millisecondsOf([&] { main.menuItem("mnuContactsList")->trigger(); }));
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
            slowest = std::max(slowest, millisecondsOf([&] { QTest::keyClick(list->txtSearch, c); }));
        key = std::min(key, slowest);
        QTest::keyClick(list->txtSearch, Qt::Key_Escape);
    }
    print("list_key", key);
    QHeaderView* header = list->tblContacts->horizontalHeader();
    const QPoint city(header->sectionViewportPosition(tovren::ContactsModel::City) + 5,
                      header->height() / 2);
    print("list_sort", millisecondsOf([&] {
              QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, city);
          }));
    const auto& model = list->model();
    print("list_index_kb", double(model.allCount() + model.shownCount()) * sizeof(int) / 1024);
    list->parentWidget()->close();
    QApplication::processEvents();
}
