#include "toolbar_state.h"

#include "frame.h"
#include "toolbar_button.h"
#include "traced.h"

#include <QAction>

namespace modGenProcedures {
namespace {

using tovren::Cmd;
using tovren::Group;
using tovren::Mode;

void enableButton(Cmd command, bool on)
{
    if (tovren::TbrButton* button = tovren::requireFrame().button(command))
        button->setEnabled(on);
}

void enableItem(Cmd command, bool on)
{
    if (QAction* item = tovren::requireFrame().menuItem(command))
        item->setEnabled(on);
}

void applyMode(Mode mode)
{
    tovren::Frame& frame = tovren::requireFrame();
    const tovren::ModeRow& row = tovren::mode(mode);
    for (int g = 0; g < tovren::kGroupCount; ++g) {
        if (row.groups[g] != '-')
            TbrMnuBtns(Group(g), row.groups[g] == '1');
    }
    // What a mode does beyond its groups.
    switch (mode) {
    case Mode::NoRecs:
        enableButton(Cmd::New, true);
        enableItem(Cmd::New, true);
        frame.setRecordCounter(QStringLiteral("No Records"));
        break;
    case Mode::AddNew:
        enableItem(Cmd::Del, false);
        enableButton(Cmd::Del, false);
        break;
    case Mode::Filter:
        frame.button(Cmd::Filter)->setMixedState(true);
        break;
    case Mode::Normal: {
        frame.button(Cmd::Filter)->setMixedState(false);
        enableItem(Cmd::AppFilter, false);
        tovren::TbrButton* apply = frame.button(Cmd::AppFilter);
        apply->setMixedState(false);
        apply->setEnabled(false);
        break;
    }
    case Mode::Exit:
        frame.setRecordCounter(QStringLiteral(" / "));
        break;
    default:
        break;
    }
}

} // namespace

void TbrMnuBtns(Group sBtnsGrps, bool bSwitch)
{
    tovren::traced("modGenProcedures.TbrMnuBtns",
                   {{"sBtnsGrps", "String", QString::fromLatin1(tovren::groupName(sBtnsGrps))},
                    {"bSwitch", "Boolean", bSwitch}},
                   [&] {
                       for (const tovren::Command& command : tovren::commands()) {
                           if (!(command.groups & tovren::bit(sBtnsGrps)))
                               continue;
                           enableButton(command.id, bSwitch);
                           enableItem(command.id, bSwitch);
                       }
                   });
}

void DisNoRecBtns(Mode sMode)
{
    tovren::traced("modGenProcedures.DisNoRecBtns",
                   {{"sMode", "String", QString::fromLatin1(tovren::mode(sMode).name)}},
                   [&] { applyMode(sMode); });
}

void LetTbrBtns(TbrState& arr)
{
    tovren::traced("modGenProcedures.LetTbrBtns", [&] {
        const tovren::Frame& frame = tovren::requireFrame();
        const int count = int(tovren::toolbar().size());
        arr.resize(count + 1);
        for (int i = 1; i <= count; ++i) {
            const tovren::TbrButton* button = frame.button(i);
            arr[i] = !button->isEnabled() ? 0 : button->mixedState() ? 2 : button->value() ? 4 : 1;
        }
    });
}

void GetTbrBtns(TbrState& arr)
{
    tovren::traced("modGenProcedures.GetTbrBtns", [&] {
        const tovren::Frame& frame = tovren::requireFrame();
        const auto slots = tovren::toolbar();
        for (int i = 1; i <= int(slots.size()); ++i) {
            tovren::TbrButton* button = frame.button(i);
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
            // The menu items of a grouped button, and those that follow it,
            // take the button's state; the clipboard's have their timer.
            const tovren::ToolbarSlot& slot = slots[size_t(i - 1)];
            if (slot.kind != tovren::ToolbarSlot::Kind::Button
                || !tovren::command(slot.command).groups)
                continue;
            for (const tovren::Command& command : tovren::commands()) {
                if (command.id == slot.command || command.follows == slot.command)
                    enableItem(command.id, button->isEnabled());
            }
        }
    });
}

} // namespace modGenProcedures
