#pragma once
// The labels are written into the person's home folder: tests give them one
// of their own.

#include <QFile>

// Points QDir::homePath() at `folder` for the life of the object.
class HomeFolder {
public:
    explicit HomeFolder(const QString& folder) : m_previous(qgetenv("HOME"))
    {
        qputenv("HOME", QFile::encodeName(folder));
    }
    ~HomeFolder() { qputenv("HOME", m_previous); }

private:
    QByteArray m_previous;
};
