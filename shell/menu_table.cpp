#include "menu_table.h"

namespace tovren {

const MenuRow kMenuRows[] = {
    {0, "mnuFile", "&File", "", true, true},
    {1, "mnuNew", "&New", "Ctrl+N", false, true},
    {1, "mnuSave", "&Save", "Ctrl+S", false, true},
    {1, "mnuCancel", "&Cancel", "", false, true},
    {1, "mnuDel", "&Delete", "Shift+Del", false, true},
    {1, "mnuSep1", "-", "", true, true},
    {1, "mnuPrint", "&Print", "Ctrl+P", false, true},
    {1, "mnuSep2", "-", "", true, true},
    {1, "mnuExit", "E&xit", "", true, true},

    {0, "mnuEdit", "&Edit", "", true, true},
    {1, "mnuUndo", "&Undo", "Ctrl+Z", false, true},
    {1, "mnuSep3", "-", "", true, true},
    {1, "mnuCut", "Cut", "Ctrl+X", false, true},
    {1, "mnuCopy", "Copy", "Ctrl+C", false, true},
    {1, "mnuPaste", "Paste", "Ctrl+V", false, true},

    {0, "mnuView", "&View", "", true, true},
    {1, "mnuDetail", "Deta&il", "Ctrl+I", false, true},
    {1, "mnuGrid", "&Grid", "Ctrl+G", false, true},
    {1, "mnuSep4", "-", "", true, true},
    {1, "mnuRefresh", "Refres&h", "F5", false, true},
    {1, "mnuSep5", "-", "", true, true},
    {1, "mnuAsc", "Sort &Asc", "Ctrl+A", false, true},
    {1, "mnuDesc", "Sort &Desc", "Ctrl+D", false, true},
    {1, "mnuSep6", "-", "", true, true},
    {1, "mnuZoom", "&Zoom", "Shift+F2", false, true},
    {1, "mnuSep7", "-", "", true, true},
    {1, "mnuFind", "Fi&nd", "Ctrl+F", false, true},
    {1, "mnuFindPrev", "Find &Prev", "Shift+F3", false, true},
    {1, "mnuFindNext", "Find N&ext", "F3", false, true},
    {1, "mnuSep8", "-", "", true, true},
    {1, "mnuFilter", "Fil&ter", "Ctrl+T", false, true},
    {1, "mnuAppFilter", "Appl&y Filter", "Ctrl+Y", false, true},
    {1, "mnuSep9", "-", "", true, true},
    {1, "mnuFirst", "&First", "Shift+F12", false, true},
    {1, "mnuPrev", "Pre&v", "Shift+F11", false, true},
    {1, "mnuNext", "Ne&xt", "F11", false, true},
    {1, "mnuLast", "&Last", "F12", false, true},

    {0, "mnuMstr", "&Masters", "", true, true},
    {1, "mnuAddress", "&Addresses", "", true, true},

    {0, "mnuUtility", "&Tools", "", true, true},
    {1, "mnuEml", "&Email", "", false, true},
    {1, "mnuSep10", "-", "", true, true},
    {1, "mnuUtilityCalc", "C&alculator", "", true, true},

    {0, "mnuWin", "&Window", "", true, true},

    {0, "mnuHelp", "&Help", "", true, true},
    {1, "mnuContents", "&Contents...", "", true, true},
    {1, "mnuIndex", "&Index...", "", true, true},
    {1, "mnuSupport", "Contact &Support", "", true, true},
    {1, "mnuSep11", "-", "", true, true},
    {1, "mnuAbout", "&About Belvane Tovren", "", true, true},

    {0, "mnuEditMenu", "EditMenu", "", true, false},
    {1, "mnuEditAdd", "&Add", "", true, true},
    {1, "mnuEditEdit", "&Edit", "", true, true},
    {1, "mnuSep12", "-", "", true, true},
    {1, "mnuEditUndo", "&Undo", "", true, true},
    {1, "mnuSep13", "-", "", true, true},
    {1, "mnuEditCut", "Cut", "", true, true},
    {1, "mnuEditCopy", "Copy", "", true, true},
    {1, "mnuEditPaste", "Paste", "", true, true},
    {1, "mnuEditDel", "Delete", "", true, true},
    {1, "mnuSep14", "-", "", true, true},
    {1, "mnuEditSel", "Select All", "", true, true},
};

const int kMenuRowCount = int(sizeof(kMenuRows) / sizeof(kMenuRows[0]));

} // namespace tovren
