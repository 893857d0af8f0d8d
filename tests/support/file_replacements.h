#pragma once
// How often a file was put in place, made anew or replaced by a rename (as a
// save that writes it aside does), seen through inotify on its folder.

#include <QFileInfo>
#include <QString>

#include <sys/inotify.h>
#include <unistd.h>

namespace testing_support {

class FileReplacements {
public:
    explicit FileReplacements(const QString& path)
        : m_name(QFile::encodeName(QFileInfo(path).fileName())), m_watch(inotify_init1(IN_NONBLOCK))
    {
        inotify_add_watch(m_watch, QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          IN_CREATE | IN_MOVED_TO);
    }
    ~FileReplacements() { close(m_watch); }
    FileReplacements(const FileReplacements&) = delete;
    FileReplacements& operator=(const FileReplacements&) = delete;

    // The times since the last call, or since made.
    int count() const
    {
        int seen = 0;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t size; (size = read(m_watch, buffer, sizeof buffer)) > 0;) {
            for (const char* at = buffer; at < buffer + size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                seen += event->len > 0 && m_name == event->name;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return seen;
    }

private:
    QByteArray m_name;
    int m_watch;
};

} // namespace testing_support
