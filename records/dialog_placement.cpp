#include "dialog_placement.h"

#include <QScreen>
#include <QWidget>

namespace records {

void centreOverMainWindow(QWidget& dialog)
{
    const QWidget* mainWindow = dialog.parentWidget();
    while (mainWindow && mainWindow->parentWidget())
        mainWindow = mainWindow->parentWidget();
    const QRect host =
        mainWindow ? mainWindow->frameGeometry() : dialog.screen()->availableGeometry();
    dialog.move(host.x() + (host.width() - dialog.width()) / 2,
                host.y() + (host.height() - dialog.height()) / 2);
}

} // namespace records
