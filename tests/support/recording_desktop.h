#pragma once
// A desktop service for tests: records the links opened and the programs
// started instead of opening or starting anything.

#include "platform/desktop.h"

#include <vector>

namespace testing_support {

class RecordingDesktop final : public platform::DesktopService {
public:
    RecordingDesktop(); // installs itself until destroyed
    ~RecordingDesktop() override;

    bool openUrl(const QUrl& url) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;

    std::vector<QUrl> urls;
    std::vector<QStringList> programs; // program first, then its arguments
    bool succeed = true;

private:
    std::unique_ptr<platform::DesktopService> m_previous;
};

} // namespace testing_support
