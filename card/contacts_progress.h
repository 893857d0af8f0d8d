#pragma once
// The progress window of a large import or export from the Tools menu:
// work that is small ends before a window would show, so it gets none.

#include "interchange/progress.h"
#include "platform/prompts.h"

#include <memory>

namespace modGenProcedures {

// Above these a file or a number of contacts counts as large.
inline constexpr qint64 kLargeContactsFile = 1 << 20; // bytes
inline constexpr qint64 kManyContacts = 2000;

class ContactsProgress {
public:
    // A window under `title` saying `text` when `large`; none otherwise.
    ContactsProgress(bool large, const QString& title, const QString& text);
    // What the engines call: the window's steps, or nothing without one.
    interchange::Progress callback() const;

private:
    std::unique_ptr<platform::ProgressWindow> m_window;
};

} // namespace modGenProcedures
