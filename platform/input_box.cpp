#include "input_box.h"

#include "prompts.h"

#include <QInputDialog>

namespace platform {

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog box;
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    // Wide enough for its title and a long value.
    box.setMinimumWidth(380);
    prompts().showModal(box);
    return box.result() == QDialog::Accepted ? box.textValue() : QString();
}

} // namespace platform
