#include "commands.h"

#include <string>

namespace tovren {
namespace {

using G = Group;
constexpr unsigned none = 0;
constexpr unsigned edit = bit(G::Edit);

// id, item, caption, shortcut, enabled at start, key, image, tooltip, groups,
// follows, routed. The commands not built yet have no route.
// clang-format off
constexpr std::array<Command, kCmdCount> kCommands = {{
    {Cmd::New, "mnuNew", "&New", "Ctrl+N", false, "New", 1, "Add New Record", edit, {}, true},
    {Cmd::Save, "mnuSave", "&Save", "Ctrl+S", false, "Save", 2, "Save record.",
     edit | bit(G::Save), {}, true},
    {Cmd::Cancel, "mnuCancel", "&Cancel", "", false, "Cancel", 3, "Cancel.", edit | bit(G::Save),
     {}, true},
    {Cmd::Del, "mnuDel", "&Delete", "Shift+Del", false, "Del", 4, "Delete record.", edit, {}, true},
    {Cmd::Print, "mnuPrint", "&Print", "Ctrl+P", false, "Print", 20, "Print", bit(G::Print), {},
     true},
    {Cmd::Exit, "mnuExit", "E&xit", "", true, "Exit", 23, "Exit", bit(G::Exit), {}, true},
    {Cmd::Undo, "mnuUndo", "&Undo", "Ctrl+Z", false, "Undo", 8, "Undo changes.", bit(G::Undo), {},
     true},
    // The clipboard timer keeps these three in step; they belong to no group.
    {Cmd::Cut, "mnuCut", "Cut", "Ctrl+X", false, "Cut", 5, "Cut", none, {}, true},
    {Cmd::Copy, "mnuCopy", "Copy", "Ctrl+C", false, "Copy", 6, "Copy", none, {}, true},
    {Cmd::Paste, "mnuPaste", "Paste", "Ctrl+V", false, "Paste", 7, "Paste", none, {}, true},
    {Cmd::Detail, "mnuDetail", "Deta&il", "Ctrl+I", false, "", 0, "", none, {}, false},
    {Cmd::Grid, "mnuGrid", "&Grid", "Ctrl+G", false, "", 0, "", none, {}, false},
    {Cmd::Refresh, "mnuRefresh", "Refres&h", "F5", false, "Refresh", 9, "Refresh",
     bit(G::Refresh), {}, true},
    {Cmd::Asc, "mnuAsc", "Sort &Asc", "Ctrl+A", false, "Asc", 10, "Sort ascending.",
     bit(G::Order), {}, true},
    {Cmd::Desc, "mnuDesc", "Sort &Desc", "Ctrl+D", false, "Desc", 11, "Sort descending.",
     bit(G::Order), {}, true},
    {Cmd::Zoom, "mnuZoom", "&Zoom", "Shift+F2", false, "Zoom", 12, "Zoom.", bit(G::Zoom), {},
     true},
    {Cmd::Find, "mnuFind", "Fi&nd", "Ctrl+F", false, "Find", 13, "Find record.", bit(G::Find), {},
     true},
    {Cmd::FindPrev, "mnuFindPrev", "Find &Prev", "Shift+F3", false, "", 0, "", bit(G::Find),
     Cmd::Find, true},
    {Cmd::FindNext, "mnuFindNext", "Find N&ext", "F3", false, "", 0, "", bit(G::Find), Cmd::Find,
     true},
    {Cmd::Filter, "mnuFilter", "Fil&ter", "Ctrl+T", false, "Filter", 14, "Filter records.",
     bit(G::Filter), {}, true},
    {Cmd::AppFilter, "mnuAppFilter", "Appl&y Filter", "Ctrl+Y", false, "AppFilter", 15,
     "Apply filter.", bit(G::AppFilter), {}, true},
    {Cmd::First, "mnuFirst", "&First", "Shift+F12", false, "First", 16, "First record.",
     bit(G::Navigation), {}, true},
    {Cmd::Prev, "mnuPrev", "Pre&v", "Shift+F11", false, "Prev", 17, "Previous record.",
     bit(G::Navigation), {}, true},
    {Cmd::Next, "mnuNext", "Ne&xt", "F11", false, "Next", 18, "Next record.", bit(G::Navigation),
     {}, true},
    {Cmd::Last, "mnuLast", "&Last", "F12", false, "Last", 19, "Last record.", bit(G::Navigation),
     {}, true},
    {Cmd::Addresses, "mnuAddress", "&Addresses", "", true, "", 0, "", none, {}, true},
    {Cmd::ContactsList, "mnuContactsList", "Contacts &List", "Ctrl+L", true, "", 0, "", none, {},
     true},
    {Cmd::Email, "mnuEml", "&Email", "", false, "", 0, "", none, {}, true},
    {Cmd::MailAccount, "mnuMailAccount", "&Mail Account...", "", true, "", 0, "", none, {}, true},
    {Cmd::Calculator, "mnuUtilityCalc", "C&alculator", "", true, "", 0, "", none, {}, true},
    // Contacts move between files and the book whether or not the card is open.
    {Cmd::ImportContacts, "mnuImport", "&Import Contacts...", "", true, "", 0, "", none, {}, true},
    {Cmd::ExportContacts, "mnuExport", "E&xport Contacts...", "", true, "", 0, "", none, {}, true},
    {Cmd::FindDuplicates, "mnuDuplicates", "Find &Duplicates...", "", true, "", 0, "", none, {},
     true},
    {Cmd::SyncSettings, "mnuSyncSettings", "S&ynchronize Settings...", "", true, "", 0, "", none,
     {}, true},
    {Cmd::Synchronize, "mnuSynchronize", "Synchroni&ze", "", true, "", 0, "", none, {}, true},
    {Cmd::SyncConflicts, "mnuSyncConflicts", "Sync C&onflicts...", "", true, "", 0, "", none, {},
     true},
    {Cmd::Contents, "mnuContents", "&Contents...", "", true, "", 0, "", none, {}, false},
    {Cmd::Index, "mnuIndex", "&Index...", "", true, "", 0, "", none, {}, false},
    {Cmd::Support, "mnuSupport", "Contact &Support", "", true, "", 0, "", none, {}, true},
    {Cmd::About, "mnuAbout", "&About Belvane Tovren", "", true, "", 0, "", none, {}, true},
    {Cmd::PopupAdd, "mnuEditAdd", "&Add", "", true, "", 0, "", none, {}, true},
    {Cmd::PopupEdit, "mnuEditEdit", "&Edit", "", true, "", 0, "", none, {}, true},
    {Cmd::PopupUndo, "mnuEditUndo", "&Undo", "", true, "", 0, "", none, {}, true},
    {Cmd::PopupCut, "mnuEditCut", "Cut", "", true, "", 0, "", none, {}, true},
    {Cmd::PopupCopy, "mnuEditCopy", "Copy", "", true, "", 0, "", none, {}, true},
    {Cmd::PopupPaste, "mnuEditPaste", "Paste", "", true, "", 0, "", none, {}, true},
    {Cmd::PopupDel, "mnuEditDel", "Delete", "", true, "", 0, "", none, {}, true},
    {Cmd::PopupSelectAll, "mnuEditSel", "Select All", "", true, "", 0, "", none, {}, true},
}};
// clang-format on

constexpr bool inOrder()
{
    for (int i = 0; i < kCmdCount; ++i) {
        if (int(kCommands[size_t(i)].id) != i)
            return false;
    }
    return true;
}
static_assert(inOrder(), "the commands stand in the order of Cmd");

using K = MenuEntry::Kind;
constexpr MenuEntry menu(const char* name, const char* caption, bool onTheBar = true)
{
    return {K::Menu, name, caption, Cmd::New, onTheBar};
}
constexpr MenuEntry item(Cmd command)
{
    return {K::Item, "", "", command};
}
constexpr MenuEntry line(const char* name)
{
    return {K::Separator, name, "", Cmd::New};
}

const MenuEntry kMenuTree[] = {
    menu("mnuFile", "&File"),
    item(Cmd::New),
    item(Cmd::Save),
    item(Cmd::Cancel),
    item(Cmd::Del),
    line("mnuSep1"),
    item(Cmd::Print),
    line("mnuSep2"),
    item(Cmd::Exit),

    menu("mnuEdit", "&Edit"),
    item(Cmd::Undo),
    line("mnuSep3"),
    item(Cmd::Cut),
    item(Cmd::Copy),
    item(Cmd::Paste),

    menu("mnuView", "&View"),
    item(Cmd::Detail),
    item(Cmd::Grid),
    line("mnuSep4"),
    item(Cmd::Refresh),
    line("mnuSep5"),
    item(Cmd::Asc),
    item(Cmd::Desc),
    line("mnuSep6"),
    item(Cmd::Zoom),
    line("mnuSep7"),
    item(Cmd::Find),
    item(Cmd::FindPrev),
    item(Cmd::FindNext),
    line("mnuSep8"),
    item(Cmd::Filter),
    item(Cmd::AppFilter),
    line("mnuSep9"),
    item(Cmd::First),
    item(Cmd::Prev),
    item(Cmd::Next),
    item(Cmd::Last),

    menu("mnuMstr", "&Masters"),
    item(Cmd::Addresses),
    item(Cmd::ContactsList),

    menu("mnuUtility", "&Tools"),
    item(Cmd::Email),
    item(Cmd::MailAccount),
    line("mnuSep10"),
    item(Cmd::Calculator),
    line("mnuSep15"),
    item(Cmd::ImportContacts),
    item(Cmd::ExportContacts),
    item(Cmd::FindDuplicates),
    line("mnuSep16"),
    item(Cmd::Synchronize),
    item(Cmd::SyncSettings),
    item(Cmd::SyncConflicts),

    menu("mnuWin", "&Window"),

    menu("mnuHelp", "&Help"),
    item(Cmd::Contents),
    item(Cmd::Index),
    item(Cmd::Support),
    line("mnuSep11"),
    item(Cmd::About),

    menu("mnuEditMenu", "EditMenu", false),
    item(Cmd::PopupAdd),
    item(Cmd::PopupEdit),
    line("mnuSep12"),
    item(Cmd::PopupUndo),
    line("mnuSep13"),
    item(Cmd::PopupCut),
    item(Cmd::PopupCopy),
    item(Cmd::PopupPaste),
    item(Cmd::PopupDel),
    line("mnuSep14"),
    item(Cmd::PopupSelectAll),
};

using S = ToolbarSlot::Kind;
constexpr ToolbarSlot button(Cmd command)
{
    return {S::Button, command};
}
constexpr ToolbarSlot kSeparator{S::Separator, Cmd::New};
constexpr ToolbarSlot kBlank{S::Blank, Cmd::New};

const ToolbarSlot kToolbar[] = {
    button(Cmd::New),
    button(Cmd::Save),
    button(Cmd::Cancel),
    button(Cmd::Del),
    kSeparator,
    button(Cmd::Cut),
    button(Cmd::Copy),
    button(Cmd::Paste),
    kSeparator,
    button(Cmd::Undo),
    kSeparator,
    button(Cmd::Refresh),
    kSeparator,
    button(Cmd::Asc),
    button(Cmd::Desc),
    kSeparator,
    button(Cmd::Zoom),
    kSeparator,
    button(Cmd::Find),
    button(Cmd::Filter),
    button(Cmd::AppFilter),
    kSeparator,
    button(Cmd::First),
    button(Cmd::Prev),
    kBlank,
    kBlank,
    kBlank,
    kBlank,
    kBlank,
    button(Cmd::Next),
    button(Cmd::Last),
    kSeparator,
    button(Cmd::Print),
    kSeparator,
    button(Cmd::Exit),
};
static_assert(std::size(kToolbar) == 35);

// Columns: Edit Save Undo Refresh Order Zoom Find Filter AppFilter Navigation Print Exit
constexpr ModeRow kModes[] = {
    {Mode::NoRecs, "NoRecs", "0-100100-001"},       {Mode::AddNew, "AddNew", "1-100100-000"},
    {Mode::Filter, "Filter", "0-1001011001"},       {Mode::Normal, "Normal", "101111110111"},
    {Mode::NoEdits, "NoEdits", "0-----------"},     {Mode::NoFilter, "NoFilter", "-------00---"},
    {Mode::NoScroll, "NoScroll", "---------0--"},   {Mode::NoFind, "NoFind", "------0-----"},
    {Mode::NoRefresh, "NoRefresh", "---0--------"}, {Mode::Exit, "Exit", "0-000000-001"},
};

constexpr bool everyModeNamesEveryGroup()
{
    for (int i = 0; i < kModeCount; ++i) {
        if (int(kModes[i].mode) != i
            || std::char_traits<char>::length(kModes[i].groups) != size_t(kGroupCount))
            return false;
    }
    return true;
}
static_assert(everyModeNamesEveryGroup(), "a mode row for each mode, naming every group");

} // namespace

const Command& command(Cmd id)
{
    return kCommands[size_t(id)];
}

std::span<const Command> commands()
{
    return kCommands;
}

std::optional<Cmd> commandOfKey(const QString& key)
{
    for (const Command& c : kCommands) {
        if (*c.key && key == QLatin1String(c.key))
            return c.id;
    }
    return std::nullopt;
}

std::span<const MenuEntry> menuTree()
{
    return kMenuTree;
}

std::span<const ToolbarSlot> toolbar()
{
    return kToolbar;
}

const char* groupName(Group group)
{
    static const char* const names[] = {"Edit",      "Save",       "Undo",  "Refresh",
                                        "Order",     "Zoom",       "Find",  "Filter",
                                        "AppFilter", "Navigation", "Print", "Exit"};
    static_assert(std::size(names) == size_t(kGroupCount));
    return names[size_t(group)];
}

const ModeRow& mode(Mode mode)
{
    return kModes[size_t(mode)];
}

} // namespace tovren
