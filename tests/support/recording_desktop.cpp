#include "recording_desktop.h"

namespace testing_support {

RecordingDesktop::RecordingDesktop()
{
    m_previous = platform::installDesktop(std::unique_ptr<platform::DesktopService>(this));
}

RecordingDesktop::~RecordingDesktop()
{
    platform::installDesktop(std::move(m_previous)).release();
}

bool RecordingDesktop::openUrl(const QUrl& url)
{
    urls.push_back(url);
    return succeed;
}

bool RecordingDesktop::startProgram(const QString& program, const QStringList& arguments)
{
    programs.push_back(QStringList{program} + arguments);
    return succeed;
}

} // namespace testing_support
