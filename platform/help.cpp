#include "help.h"

#include "prompts.h"
#include "screen_room.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace platform {
namespace {

QString& fileSetting()
{
    static QString file;
    return file;
}

QPointer<QTextBrowser>& window()
{
    static QPointer<QTextBrowser> browser;
    return browser;
}

} // namespace

void setHelpFile(const QString& path)
{
    fileSetting() = path;
}

QString helpFile()
{
    return fileSetting();
}

bool showHelp(int topic)
{
    if (fileSetting().isEmpty() || !QFileInfo(fileSetting()).isFile()) {
        MsgBox(QStringLiteral("The help file '%1' could not be found.").arg(fileSetting()),
               Buttons::OK, Icon::Exclamation, QStringLiteral("Help"));
        return false;
    }
    if (!window()) {
        window() = new QTextBrowser;
        window()->setAttribute(Qt::WA_DeleteOnClose);
        window()->setObjectName(QStringLiteral("helpWindow"));
        window()->setOpenExternalLinks(true);
        window()->resize(withinScreen(*window(), QSize(720, 640)));
    }
    window()->setAttribute(Qt::WA_QuitOnClose, false);
    QUrl url = QUrl::fromLocalFile(fileSetting());
    if (topic > 0)
        url.setFragment(QStringLiteral("topic%1").arg(topic));
    window()->setSource(url);
    window()->setWindowTitle(window()->documentTitle());
    window()->show();
    window()->raise();
    window()->activateWindow();
    return true;
}

QWidget* helpWindow()
{
    return window();
}

} // namespace platform
