#pragma once
// Every command of the main window, declared once: its menu item (name,
// caption, shortcut, whether it starts enabled), its toolbar button (key,
// image, tooltip), the button groups it belongs to, and whether it does
// something. The menu tree and the toolbar say where the commands stand,
// the modes which groups they switch. Code names a command by its Cmd, so a
// misspelt name does not build; the names and keys of the table are the
// controls' own names.

#include <QString>

#include <array>
#include <optional>
#include <span>

namespace tovren {

// clang-format off
enum class Cmd {
    New, Save, Cancel, Del, Print, Exit,                              // File
    Undo, Cut, Copy, Paste,                                           // Edit
    Detail, Grid, Refresh, Asc, Desc, Zoom, Find, FindPrev, FindNext, // View
    Filter, AppFilter, First, Prev, Next, Last,
    Addresses, ContactsList,                                          // Masters
    Email, MailAccount, Calculator, ImportContacts, ExportContacts,   // Tools
    FindDuplicates, SyncSettings, Synchronize, SyncConflicts,
    Contents, Index, Support, About,                                  // Help
    PopupAdd, PopupEdit, PopupUndo, PopupCut, PopupCopy, PopupPaste,  // the combos' pop-up
    PopupDel, PopupSelectAll,
};
// clang-format on
inline constexpr int kCmdCount = int(Cmd::PopupSelectAll) + 1;

// The button groups that TbrMnuBtns switches, in the order the modes list
// them.
enum class Group {
    Edit,
    Save,
    Undo,
    Refresh,
    Order,
    Zoom,
    Find,
    Filter,
    AppFilter,
    Navigation,
    Print,
    Exit
};
inline constexpr int kGroupCount = int(Group::Exit) + 1;

// The modes that DisNoRecBtns sets.
enum class Mode {
    NoRecs,
    AddNew,
    Filter,
    Normal,
    NoEdits,
    NoFilter,
    NoScroll,
    NoFind,
    NoRefresh,
    Exit
};
inline constexpr int kModeCount = int(Mode::Exit) + 1;

struct Command {
    Cmd id;
    const char* item;     // the menu item's name, "" for a button alone
    const char* caption;  // the menu item's caption
    const char* shortcut; // in QKeySequence's portable text form
    bool enabledAtStart;  // the menu item's state before any card opens
    const char* key;      // the toolbar button's key, "" for a menu item alone
    int image;            // the button's image, from 1
    const char* tooltip;
    unsigned groups;            // bits of Group: the groups the item and button belong to
    std::optional<Cmd> follows; // an item without a button that follows another's button
    bool routed;                // false: it does nothing, on purpose
};

const Command& command(Cmd id);
std::span<const Command> commands();
std::optional<Cmd> commandOfKey(const QString& key);
constexpr unsigned bit(Group group)
{
    return 1u << unsigned(group);
}

// The menu tree, in order: the menus of the bar (and the pop-up, which is
// not on the bar), each followed by its items and separators.
struct MenuEntry {
    enum class Kind { Menu, Item, Separator } kind;
    const char* name;    // menus and separators; items take the command's
    const char* caption; // menus only
    Cmd command;         // items only
    bool onTheBar = true;
};
std::span<const MenuEntry> menuTree();

// The toolbar, by index from 1: a command's button, a separator, or one of
// the blank buttons without key, image or tooltip.
struct ToolbarSlot {
    enum class Kind { Button, Separator, Blank } kind;
    Cmd command;
};
std::span<const ToolbarSlot> toolbar();

const char* groupName(Group group);
// For each group in order: '1' on, '0' off, '-' left alone.
struct ModeRow {
    Mode mode;
    const char* name;
    const char* groups;
};
const ModeRow& mode(Mode mode);

} // namespace tovren
