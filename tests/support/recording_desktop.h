#pragma once
// A desktop service for tests: records the links opened and the programs
// started instead of opening or starting anything.

#include "platform/desktop.h"

#include <vector>

namespace testing_support {

class RecordingDesktop final : public platform::DesktopService {
public:
    // Installs itself until destroyed.
    RecordingDesktop()
    {
        m_previous = platform::installDesktop(std::unique_ptr<platform::DesktopService>(this));
    }
    ~RecordingDesktop() override { platform::installDesktop(std::move(m_previous)).release(); }

    bool openUrl(const QUrl& url) override
    {
        urls.push_back(url);
        return succeed;
    }
    bool opensType(const QString& mimeType) override
    {
        return !typesWithoutProgram.contains(mimeType);
    }
    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        programs.push_back(QStringList{program} + arguments);
        return succeed;
    }

    std::vector<QUrl> urls;
    std::vector<QStringList> programs; // program first, then its arguments
    bool succeed = true;
    QStringList typesWithoutProgram; // the desktop names no program for these

private:
    std::unique_ptr<platform::DesktopService> m_previous;
};

} // namespace testing_support
