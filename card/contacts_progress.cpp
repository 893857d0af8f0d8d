#include "contacts_progress.h"

namespace modGenProcedures {

ContactsProgress::ContactsProgress(bool large, const QString& title, const QString& text)
{
    if (large)
        m_window = platform::prompts().progress({title, text});
}

interchange::Progress ContactsProgress::callback() const
{
    if (!m_window)
        return {};
    return
        [window = m_window.get()](qint64 done, qint64 total) { return window->step(done, total); };
}

} // namespace modGenProcedures
