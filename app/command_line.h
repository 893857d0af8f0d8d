#pragma once
// A Tovren program's command line, read as every one of them reads it, with
// QCommandLineParser: --help prints the program's help on stdout and
// --version its name and version, both ending the program with 0; an
// unknown option or a wrong argument prints the usage on stderr and ends
// it with 2. A word that begins with '-' is never taken for a file name:
// "--" ends the options (tovren-mkdb -- -odd.dbx), and an option's value
// that begins with '-' is written after '=' (--make=-odd.dbx).
// Qt Core alone, so that tovren-book's quick path can read its own.

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

namespace tovren {

// The exit status of a program called as it should not be.
inline constexpr int kUsageStatus = 2;

// The project's version, as the build names it.
QString projectVersion();

// The words after the program's name, as the system decodes them.
QStringList commandWords(int argc, char** argv);

class CommandLine {
public:
    // `program` names the program in its messages and its version; the
    // usage is what a refusal shows, the help adds `details`.
    CommandLine(const QString& program, const char* usage, const char* details = "");

    // Adds an option; one that takes a value names it.
    QCommandLineOption add(const QStringList& names, const QString& valueName = QString());

    // For a program whose first argument is a command: that word and every
    // one after it are arguments, left to the command's own reading.
    void stopAtFirstArgument();

    // Reads `words`: nothing when the program goes on, else the exit status
    // it ends with, its help, version or refusal printed.
    std::optional<int> read(const QStringList& words);

    // Prints the help on stdout; returns 0.
    int help() const;

    // Prints "program: problem" (unless it is empty) and the usage on
    // stderr; returns kUsageStatus.
    int refuse(const QString& problem) const;

    bool isSet(const QCommandLineOption& option) const { return m_parser.isSet(option); }
    QString value(const QCommandLineOption& option) const { return m_parser.value(option); }
    QStringList arguments() const { return m_parser.positionalArguments(); }

private:
    QString misreadWord(const QStringList& words) const;

    QString m_program;
    const char* m_usage;
    const char* m_details;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QStringList m_takeValues; // the names of the options that take a value
    bool m_stopAtArgument = false;
};

} // namespace tovren
