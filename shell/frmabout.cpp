#include "frmabout.h"

#include "app_info.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

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

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(about, 2, 1);
    layout->addWidget(links, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
