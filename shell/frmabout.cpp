#include "frmabout.h"

#include "app_info.h"

#include "core/program.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace {

// Where the person's files are, so that they can find, copy or keep them.
QString foldersText()
{
    const tovren::ProgramFolders& in = tovren::programFolders();
    if (in.settings == in.book && in.book == in.logs)
        return QStringLiteral("Address.ini, TND.dbx and the logs are in %1").arg(in.book);
    return QStringLiteral(
               "Address.ini is in %1\nTND.dbx is in %2\nError.log and Trace.log are in %3")
        .arg(in.settings, in.book, in.logs);
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Belvane Tovren"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tovren.svg")).pixmap(64, 64));
    auto* title = new QLabel(QStringLiteral("<h2>Belvane Tovren</h2>"), this);
    const Vostrel::AppDescriptor app = tovren::appDescriptor();
    auto* version = new QLabel(
        QStringLiteral("Version %1.%2.%3").arg(app.Major).arg(app.Minor).arg(app.Revision), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* about = new QLabel(QStringLiteral("A desktop address book: contact cards, pick lists, "
                                            "address labels and mail to your contacts."),
                             this);
    about->setWordWrap(true);
    auto* links = new QLabel(QStringLiteral("Support: <a href=\"mailto:%1\">%1</a><br>"
                                            "Web: <a href=\"%2\">%2</a>")
                                 .arg(tovren::kSupportAddress, tovren::kWebSite),
                             this);
    links->setOpenExternalLinks(true);
    links->setTextInteractionFlags(Qt::TextBrowserInteraction);
    auto* folders = new QLabel(foldersText(), this);
    folders->setObjectName(QStringLiteral("lblFolders"));
    folders->setTextFormat(Qt::PlainText);
    folders->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(about, 2, 1);
    layout->addWidget(links, 3, 1);
    layout->addWidget(folders, 4, 1);
    layout->addWidget(buttons, 5, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
