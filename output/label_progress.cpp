#include "label_progress.h"

#include <QApplication>

#include <algorithm>

namespace output {

LabelProgress::LabelProgress(int labels)
    : m_dialog(QStringLiteral("Writing the address labels..."), QString(), 0, labels,
               QApplication::activeWindow()),
      // A step of about a percent: the dialog handles events at every step.
      m_step(std::max(1, labels / 100))
{
    m_dialog.setWindowTitle(QStringLiteral("Print"));
    m_dialog.setWindowModality(Qt::ApplicationModal);
    m_dialog.setMinimumDuration(500);
    m_dialog.setValue(0);
}

Progress LabelProgress::callback()
{
    return [this](int written) {
        if (written % m_step == 0 || written == m_dialog.maximum())
            m_dialog.setValue(written);
    };
}

} // namespace output
