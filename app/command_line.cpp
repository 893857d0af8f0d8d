#include "command_line.h"

#include <cstdio>

namespace tovren {

namespace {

// What every program's help ends with.
const char kCommonOptions[] = "\n"
                              "Options of every Tovren program:\n"
                              "  -h, --help   print this help\n"
                              "  --version    print the program's name and version\n"
                              "  --           end the options: the words after it are arguments\n";

} // namespace

QString projectVersion()
{
    return QStringLiteral(TOVREN_VERSION);
}

QStringList commandWords(int argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    return words;
}

CommandLine::CommandLine(const QString& program, const char* usage, const char* details)
    : m_program(program), m_usage(usage), m_details(details),
      m_help(QStringList{QStringLiteral("h"), QStringLiteral("help")}),
      m_version(QStringLiteral("version"))
{
    // "-odd.dbx" is one unknown option, not the letters o, d, d...
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
}

QCommandLineOption CommandLine::add(const QStringList& names, const QString& valueName)
{
    QCommandLineOption option(names, QString(), valueName);
    m_parser.addOption(option);
    if (!valueName.isEmpty())
        m_takeValues << names;
    return option;
}

void CommandLine::stopAtFirstArgument()
{
    m_stopAtArgument = true;
    m_parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
}

// The parser takes a lone "-" for an argument, and the word after an
// option that takes a value for its value, whatever it begins with
// ("--copy --help" would copy the file "--help"): both are refused.
QString CommandLine::misreadWord(const QStringList& words) const
{
    for (qsizetype i = 0; i < words.size() && words[i] != QLatin1String("--"); ++i) {
        const QString& word = words[i];
        if (word == QLatin1String("-"))
            return QStringLiteral("Unknown option '-'.");
        if (!word.startsWith(QLatin1Char('-'))) {
            if (m_stopAtArgument)
                break;
            continue;
        }
        const QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
        if (m_takeValues.contains(name) && i + 1 < words.size()) {
            const QString& value = words[++i];
            if (value.startsWith(QLatin1Char('-')))
                return QStringLiteral("Missing value after '%1' (a value that begins with '-' "
                                      "is written %1=%2).")
                    .arg(word, value);
        }
    }
    return QString();
}

std::optional<int> CommandLine::read(const QStringList& words)
{
    QString problem = misreadWord(words);
    if (problem.isEmpty() && !m_parser.parse(QStringList(m_program) + words))
        problem = m_parser.errorText();
    if (!problem.isEmpty())
        return refuse(problem);
    if (m_parser.isSet(m_help))
        return help();
    if (m_parser.isSet(m_version)) {
        std::printf("%s %s\n", qUtf8Printable(m_program), qUtf8Printable(projectVersion()));
        return 0;
    }
    return std::nullopt;
}

int CommandLine::help() const
{
    std::fputs(m_usage, stdout);
    std::fputs(m_details, stdout);
    std::fputs(kCommonOptions, stdout);
    return 0;
}

int CommandLine::refuse(const QString& problem) const
{
    if (!problem.isEmpty())
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(m_program), qUtf8Printable(problem));
    std::fputs(m_usage, stderr);
    return kUsageStatus;
}

} // namespace tovren
