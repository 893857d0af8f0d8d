#include "window_table.h"

#include "core/error_handler.h"
#include "output/label_progress.h"
#include "output/mail_account.h"
#include "platform/help.h"
#include "platform/qt_prompts.h"
#include "records/frmlookup.h"
#include "synchronize/both_changed.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>

frmAddress& WindowTest::card()
{
    return openCard({"Ada Rao", "Ada Rao", "Bo Sen"});
}

WindowTest& WindowTest::nextModal(const Check& check)
{
    m_prompts.handleModal([check](QDialog& dialog) {
        dialog.show();
        check(dialog);
        dialog.reject();
    });
    return *this;
}

void WindowTest::modal(const char* menuItem, const Check& check)
{
    nextModal(check);
    trigger(menuItem);
}

std::string windowName(const ::testing::TestParamInfo<WindowRow>& row)
{
    return row.param.name;
}

namespace {

using Check = WindowTest::Check;

// An error that reaches the handler, which shows its report.
void raiseError()
{
    Vostrel::clsErrHandler& handler = tovren::errHandler();
    handler.Push(QStringLiteral("frmAddress.cmdSave_Click"));
    handler.HandleError(QStringLiteral("Disk full"), 61, 12, QString());
}

// A progress window shows only once its work lasts: shown at once here.
void showProgress(WindowTest& t, const Check& check)
{
    auto* progress = t.main().findChild<QProgressDialog*>();
    ASSERT_NE(progress, nullptr);
    progress->show();
    check(*progress);
}

} // namespace

const std::vector<WindowRow> kWindows = {
    {"MainWindow", [](WindowTest& t, const Check& check) { t.card(), check(t.main()); }},
    {"ContactsList",
     [](WindowTest& t, const Check& check) {
         t.card();
         t.choose("mnuContactsList");
         check(*t.main().ActiveForm());
     }},
    {"Zoom",
     [](WindowTest& t, const Check& check) {
         t.card().txtFld[0]->setFocus();
         t.modal("mnuZoom", check);
     }},
    {"FindBox",
     [](WindowTest& t, const Check& check) {
         t.card().txtFld[0]->setFocus();
         t.modal("mnuFind", check);
     }},
    {"PickList",
     [](WindowTest& t, const Check& check) {
         t.card().dbcFld[1]->setFocus();
         modGenProcedures::nLookUpIdx = 1;
         t.modal("mnuEditEdit", check);
     }},
    {"PickListEntry",
     [](WindowTest& t, const Check& check) {
         t.card();
         modGenProcedures::nLookUpIdx = 0;
         t.nextModal(check).nextModal([](QWidget&) {});
         t.choose("mnuEditAdd");
     }},
    {"GenerateEmails",
     [](WindowTest& t, const Check& check) {
         t.card();
         // An account whose long address names it among the ways to send.
         tovren::writeMailAccount({{QStringLiteral("mail.example.org")},
                                   QStringLiteral("Ada"),
                                   QString(60, u'a') + QStringLiteral("@") + QString(60, u'b')
                                       + QStringLiteral(".example.org")});
         t.modal("mnuEml", check);
     }},
    {"ImportSummary",
     [](WindowTest& t, const Check& check) {
         t.card();
         // A long file name, which no line break can shorten.
         const QString file = t.path(QString(150, u'n') + QStringLiteral(".vcf"));
         testing_support::writeBytes(file,
                                     "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cy Das\r\nEND:VCARD\r\n");
         t.prompts().answerOpenFile(file);
         t.modal("mnuImport", check);
     }},
    {"MailAccount",
     [](WindowTest& t, const Check& check) { t.card(), t.modal("mnuMailAccount", check); }},
    {"SyncSettings",
     [](WindowTest& t, const Check& check) { t.card(), t.modal("mnuSyncSettings", check); }},
    {"Duplicates",
     [](WindowTest& t, const Check& check) { t.card(), t.modal("mnuDuplicates", check); }},
    {"SyncConflicts",
     [](WindowTest& t, const Check& check) {
         t.card();
         testing_support::changeBothSides(
             data::Connection::open("Data Source=" + t.path("TND.dbx")), "Goa");
         t.modal("mnuSyncConflicts", check);
     }},
    {"LabelProgress",
     [](WindowTest& t, const Check& check) {
         t.card();
         output::LabelProgress labels(200);
         labels.callback()(100);
         showProgress(t, check);
     }},
    {"ContactsProgress",
     [](WindowTest& t, const Check& check) {
         t.card();
         const auto window = platform::QtPrompts().progress(
             {QStringLiteral("Import Contacts"), QStringLiteral("Reading the contacts...")});
         window->step(1, 2);
         showProgress(t, check);
     }},
    {"Help",
     [](WindowTest& t, const Check& check) {
         t.card();
         platform::setHelpFile(QStringLiteral(TOVREN_BIN_DIR "/TN.html"));
         QTest::keyClick(&t.main(), Qt::Key_F1);
         ASSERT_NE(platform::helpWindow(), nullptr);
         check(*platform::helpWindow());
         platform::helpWindow()->close();
     }},
    {"About", [](WindowTest& t, const Check& check) { t.card(), t.modal("mnuAbout", check); }},
    {"ErrorReport",
     [](WindowTest& t, const Check& check) {
         t.card();
         t.nextModal(check);
         raiseError();
     }},
    {"MailSettings",
     [](WindowTest& t, const Check& check) {
         t.card();
         t.prompts().handleModal([](QDialog& report) {
             report.findChild<QPushButton*>(QStringLiteral("cmdEmlSet"))->click();
         });
         // Mailing through a server: its fields take typing.
         t.nextModal([check](QWidget& settings) {
             settings.findChild<QRadioButton*>(QStringLiteral("optSmtp"))->click();
             check(settings);
         });
         raiseError();
     }},
    {"MessageBoxes",
     [](WindowTest& t, const Check& check) {
         t.card();
         for (const auto buttons : {platform::Buttons::OK, platform::Buttons::OKCancel,
                                    platform::Buttons::YesNo, platform::Buttons::YesNoCancel}) {
             const auto box =
                 platform::messageBox({QStringLiteral("Save"), QStringLiteral("Saved."), buttons,
                                       platform::Icon::Question},
                                      &t.main());
             box->show();
             check(*box);
         }
     }},
};
