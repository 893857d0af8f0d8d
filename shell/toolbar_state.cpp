#include "toolbar_state.h"

#include "mdimain.h"
#include "toolbar_button.h"

#include "core/traced.h"
#include "platform/error_numbers.h"

#include <QAction>
#include <QLabel>

#include <initializer_list>
#include <string>

namespace modGenProcedures {
namespace {

struct Group {
    const char* name;
    std::initializer_list<const char*> buttons;
    std::initializer_list<const char*> items;
};

const Group kGroups[] = {
    {"Edit", {"New", "Save", "Cancel", "Del"}, {"mnuNew", "mnuSave", "mnuCancel", "mnuDel"}},
    {"Save", {"Save", "Cancel"}, {"mnuSave", "mnuCancel"}},
    {"Undo", {"Undo"}, {"mnuUndo"}},
    {"Refresh", {"Refresh"}, {"mnuRefresh"}},
    {"Order", {"Asc", "Desc"}, {"mnuAsc", "mnuDesc"}},
    {"Zoom", {"Zoom"}, {"mnuZoom"}},
    {"Find", {"Find"}, {"mnuFind", "mnuFindPrev", "mnuFindNext"}},
    {"Filter", {"Filter"}, {"mnuFilter"}},
    {"AppFilter", {"AppFilter"}, {"mnuAppFilter"}},
    {"Navigation",
     {"First", "Prev", "Next", "Last"},
     {"mnuFirst", "mnuPrev", "mnuNext", "mnuLast"}},
    {"Print", {"Print"}, {"mnuPrint"}},
    {"Exit", {"Exit"}, {"mnuExit"}},
};

// The menu items that follow each button when a saved state is restored.
struct ButtonItems {
    const char* key;
    std::initializer_list<const char*> items;
};

const ButtonItems kButtonItems[] = {
    {"New", {"mnuNew"}},       {"Save", {"mnuSave"}},
    {"Cancel", {"mnuCancel"}}, {"Del", {"mnuDel"}},
    {"Undo", {"mnuUndo"}},     {"Refresh", {"mnuRefresh"}},
    {"Asc", {"mnuAsc"}},       {"Desc", {"mnuDesc"}},
    {"Zoom", {"mnuZoom"}},     {"Find", {"mnuFind", "mnuFindPrev", "mnuFindNext"}},
    {"Filter", {"mnuFilter"}}, {"AppFilter", {"mnuAppFilter"}},
    {"First", {"mnuFirst"}},   {"Prev", {"mnuPrev"}},
    {"Next", {"mnuNext"}},     {"Last", {"mnuLast"}},
    {"Print", {"mnuPrint"}},   {"Exit", {"mnuExit"}},
};

// A mode: for each group in table order, on, off or left alone ('-').
struct Mode {
    const char* name;
    const char* groups; // 12 characters: '1' on, '0' off, '-' untouched
};

// Columns: Edit Save Undo Refresh Order Zoom Find Filter AppFilter Navigation Print Exit
constexpr Mode kModes[] = {
    {"NoRecs", "0-100100-001"},   {"AddNew", "1-100100-000"},  {"Filter", "0-1001011001"},
    {"Normal", "101111110111"},   {"NoEdits", "0-----------"}, {"NoFilter", "-------00---"},
    {"NoScroll", "---------0--"}, {"NoFind", "------0-----"},  {"NoRefresh", "---0--------"},
    {"Exit", "0-000000-001"},
};

constexpr bool everyModeNamesEveryGroup()
{
    for (const Mode& mode : kModes) {
        if (std::char_traits<char>::length(mode.groups) != std::size(kGroups))
            return false;
    }
    return true;
}
static_assert(everyModeNamesEveryGroup());

mdiMain& frame()
{
    mdiMain* main = mdiMain::instance();
    if (!main)
        platform::raise(platform::err::ObjectNotSet,
                        QStringLiteral("The main window is not open."));
    return *main;
}

void enable(const char* buttonKey, bool on)
{
    tovren::TbrButton* button = frame().buttonByKey(QString::fromLatin1(buttonKey));
    if (!button)
        platform::raise(
            platform::err::ObjectNotSet,
            QStringLiteral("The toolbar has no button '%1'.").arg(QLatin1String(buttonKey)));
    button->setEnabled(on);
}

void enableItem(const char* itemName, bool on)
{
    QAction* item = frame().menuItem(QString::fromLatin1(itemName));
    if (!item)
        platform::raise(platform::err::ObjectNotSet,
                        QStringLiteral("The menu has no item '%1'.").arg(QLatin1String(itemName)));
    item->setEnabled(on);
}

void applyMode(const Mode& mode)
{
    const QString name = QString::fromLatin1(mode.name);
    for (size_t g = 0; g < std::size(kGroups); ++g) {
        const char setting = mode.groups[g];
        if (setting != '-')
            TbrMnuBtns(QString::fromLatin1(kGroups[g].name), setting == '1');

        const QString group = QString::fromLatin1(kGroups[g].name);
        if (group == QLatin1String("Edit") && name == QLatin1String("NoRecs")) {
            enable("New", true);
            enableItem("mnuNew", true);
        } else if (group == QLatin1String("Edit") && name == QLatin1String("AddNew")) {
            enableItem("mnuDel", false);
            enable("Del", false);
        } else if (group == QLatin1String("Filter") && name == QLatin1String("Filter")) {
            frame().buttonByKey(QStringLiteral("Filter"))->setMixedState(true);
        } else if (group == QLatin1String("Filter") && name == QLatin1String("Normal")) {
            frame().buttonByKey(QStringLiteral("Filter"))->setMixedState(false);
        } else if (group == QLatin1String("AppFilter") && name == QLatin1String("Normal")) {
            enableItem("mnuAppFilter", false);
            tovren::TbrButton* apply = frame().buttonByKey(QStringLiteral("AppFilter"));
            apply->setMixedState(false);
            apply->setEnabled(false);
        }
    }
    if (name == QLatin1String("NoRecs"))
        frame().lblRecCount()->setText(QStringLiteral("No Records"));
    else if (name == QLatin1String("Exit"))
        frame().lblRecCount()->setText(QStringLiteral(" / "));
}

} // namespace

void TbrMnuBtns(const QString& sBtnsGrps, bool bSwitch)
{
    tovren::traced("modGenProcedures.TbrMnuBtns",
                   {{"sBtnsGrps", "String", sBtnsGrps}, {"bSwitch", "Boolean", bSwitch}}, [&] {
                       for (const Group& group : kGroups) {
                           if (sBtnsGrps != QLatin1String(group.name))
                               continue;
                           for (const char* key : group.buttons)
                               enable(key, bSwitch);
                           for (const char* item : group.items)
                               enableItem(item, bSwitch);
                           return;
                       }
                   });
}

void DisNoRecBtns(const QString& sMode)
{
    tovren::traced("modGenProcedures.DisNoRecBtns", {{"sMode", "String", sMode}}, [&] {
        for (const Mode& mode : kModes) {
            if (sMode == QLatin1String(mode.name)) {
                applyMode(mode);
                return;
            }
        }
    });
}

void LetTbrBtns(TbrState& arr)
{
    tovren::traced("modGenProcedures.LetTbrBtns", [&] {
        const int count = frame().buttonCount();
        arr.resize(count + 1);
        for (int i = 1; i <= count; ++i) {
            const tovren::TbrButton* button = frame().button(i);
            arr[i] = !button->isEnabled() ? 0 : button->mixedState() ? 2 : button->value() ? 4 : 1;
        }
    });
}

void GetTbrBtns(TbrState& arr)
{
    tovren::traced("modGenProcedures.GetTbrBtns", [&] {
        const int count = frame().buttonCount();
        for (int i = 1; i <= count; ++i) {
            tovren::TbrButton* button = frame().button(i);
            switch (i < arr.size() ? arr[i] : -1) {
            case 0:
                button->setEnabled(false);
                break;
            case 1:
                button->setEnabled(true);
                button->setMixedState(false);
                break;
            case 2:
                button->setEnabled(true);
                button->setMixedState(true);
                break;
            case 4:
                button->setEnabled(true);
                button->setValue(true);
                break;
            default:
                break;
            }
            for (const auto& [key, items] : kButtonItems) {
                if (button->key() != QLatin1String(key))
                    continue;
                for (const char* item : items)
                    enableItem(item, button->isEnabled());
            }
        }
    });
}

} // namespace modGenProcedures
