#include "routes.h"

#include "card/edit_commands.h"
#include "card/filter_commands.h"
#include "card/frmaddress.h"
#include "card/record_commands.h"
#include "card/active_card.h"
#include "card/contacts_commands.h"
#include "card/search_commands.h"
#include "card/zoom.h"
#include "core/program.h"
#include "duplicates/duplicates_commands.h"
#include "synchronize/synchronize_commands.h"
#include "list/frmcontactslist.h"
#include "output/frmeml.h"
#include "output/frmmailaccount.h"
#include "output/print_rpt.h"
#include "platform/prompts.h"
#include "shell/exit_app.h"
#include "shell/frmabout.h"
#include "shell/mdimain.h"
#include "sync/frmsyncsettings.h"

#include <QAction>

namespace tovren {

void installRoutes(mdiMain& main)
{
    using namespace modGenProcedures;
    mdiMain* frame = &main;
    const auto active = [frame] { return frame->ActiveForm(); };

    main.route(Cmd::Exit, [active] { ExitApp(active()); });
    main.route(Cmd::Calculator, [frame] { frame->mnuUtilityCalc_Click(); });
    main.route(Cmd::Support, [frame] { frame->mnuSupport_Click(); });
    main.route(Cmd::About, [frame] {
        frmAbout about(frame);
        platform::prompts().showModal(about);
    });
    main.route(Cmd::Addresses, [frame] {
        frmAddress::open();
        frame->menuItem(Cmd::Addresses)->setEnabled(false);
    });
    // The list reads the card's rows, so the card opens first.
    main.route(Cmd::ContactsList, [frame] {
        if (!frmAddress::instance())
            frame->menuItem(Cmd::Addresses)->trigger();
        if (frmAddress::instance())
            frmContactsList::open();
    });
    main.route(Cmd::Email, [frame] {
        frmEml eml(frame);
        platform::prompts().showModal(eml);
    });
    main.route(Cmd::MailAccount, [frame] {
        frmMailAccount account(frame);
        platform::prompts().showModal(account);
    });
    main.route(Cmd::ImportContacts, ImportContacts);
    main.route(Cmd::ExportContacts, ExportContacts);
    main.route(Cmd::FindDuplicates, FindDuplicates);
    main.route(Cmd::SyncSettings, sync::syncSettings);
    main.route(Cmd::Synchronize, Synchronize);
    main.route(Cmd::SyncConflicts, SyncConflicts);

    // The record commands, from the File and View menus and the toolbar.
    main.route(Cmd::New, [active] { Add(active()); });
    main.route(Cmd::Save, [active] { Save(active()); });
    main.route(Cmd::Cancel, [active] { Cancel(active()); });
    main.route(Cmd::Del, Delete);
    main.route(Cmd::First, FirstRec);
    main.route(Cmd::Prev, PrevRec);
    main.route(Cmd::Next, NextRec);
    main.route(Cmd::Last, LastRec);

    // Sort and refresh: the View menu sorts with "ASC", the toolbar with
    // "Asc"; both mean ascending.
    main.routeItem(Cmd::Asc, [] { sort(QStringLiteral("ASC")); });
    main.routeButton(Cmd::Asc, [] { sort(QStringLiteral("Asc")); });
    main.route(Cmd::Desc, [] { sort(QStringLiteral("Desc")); });
    main.route(Cmd::Refresh, [active] {
        if (auto* list = qobject_cast<frmContactsList*>(active()))
            list->refreshBook();
        else
            Refresh(active());
    });
    main.route(Cmd::Find, [active] { Find(active(), QStringLiteral("First")); });
    main.route(Cmd::FindNext, [active] { Find(active(), QStringLiteral("Next")); });
    main.route(Cmd::FindPrev, [active] { Find(active(), QStringLiteral("Prev")); });
    main.route(Cmd::Filter, [active] { Filter(active()); });
    main.route(Cmd::AppFilter, [active] { AppFilter(active()); });
    main.route(Cmd::Print, [] { PrintRpt(sPrintFilter); });
    main.route(Cmd::Zoom, [] {
        frmAddress& card = tovren::activeCard();
        Zoom(tovren::focusedField(card), &card);
    });

    // The Edit menu, the clipboard buttons and the combos' pop-up menu. The
    // pop-up's Cut and Copy do what the Edit menu's do.
    main.route(Cmd::Undo, Undo);
    main.route(Cmd::Cut, Cut);
    main.route(Cmd::Copy, Copy);
    main.route(Cmd::Paste, Paste);
    main.route(Cmd::PopupUndo, Undo);
    main.route(Cmd::PopupCut, Cut);
    main.route(Cmd::PopupCopy, Copy);
    main.route(Cmd::PopupPaste, Paste);
    main.route(Cmd::PopupDel, EditDel);
    main.route(Cmd::PopupSelectAll, EditSelAll);
    main.route(Cmd::PopupAdd, [active] { EditAdd(active()); });
    main.route(Cmd::PopupEdit, [active] { EditEdit(active()); });
}

} // namespace tovren
