#pragma once
// An environment variable set for the life of the object and given back its
// former value after: a test's own home folder, for one.

#include <QByteArray>

namespace testing_support {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_previous(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv() { m_wasSet ? qputenv(m_name, m_previous) : qunsetenv(m_name); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_previous;
};

} // namespace testing_support
