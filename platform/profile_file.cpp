// Written by hand rather than on QSettings: a profile file here keeps the
// Windows profile semantics the program and its users rely on (a section
// read whole, entries in file order, duplicate keys kept, one key written
// with every other line, comment, encoding and line end left byte for byte
// as it was), which QSettings' INI format does not keep: it rewrites the
// whole file, reorders keys and drops comments.

#include "profile_file.h"

#include "owner_only.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {
namespace {

// A profile file held as text lines that keep their own line ends, so that
// writing it back reproduces every untouched byte.
struct ProfileText {
    QStringList lines; // each with its line end, if it had one
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    QByteArray bom;
    QString newline = QStringLiteral("\n");
};

ProfileText load(const QString& fileName)
{
    ProfileText text;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return text;
    QByteArray bytes = file.readAll();

    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text.bom = bytes.left(3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        text.bom = bytes.left(2);
        text.encoding = QStringConverter::Utf16LE;
    } else if (bytes.startsWith("\xFE\xFF")) {
        text.bom = bytes.left(2);
        text.encoding = QStringConverter::Utf16BE;
    }
    bytes.remove(0, text.bom.size());

    QStringDecoder decoder(text.encoding);
    QString content = decoder.decode(bytes);
    if (decoder.hasError()) {
        // Not text in any encoding we know: Latin-1 maps every byte to one
        // character and back, so untouched lines survive unchanged.
        text.encoding = QStringConverter::Latin1;
        content = QString::fromLatin1(bytes);
    }

    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf(QLatin1Char('\n'), start);
        end = end < 0 ? content.size() : end + 1;
        text.lines << content.mid(start, end - start);
        start = end;
    }
    if (content.contains(QStringLiteral("\r\n")))
        text.newline = QStringLiteral("\r\n");
    return text;
}

QString stripped(const QString& line)
{
    return line.trimmed();
}

// The section name of a "[name]" line, or a null string for other lines.
QString sectionOf(const QString& line)
{
    const QString s = stripped(line);
    if (!s.startsWith(QLatin1Char('[')))
        return QString();
    const qsizetype close = s.indexOf(QLatin1Char(']'));
    return (close < 0 ? s.mid(1) : s.mid(1, close - 1)).trimmed();
}

bool isEntry(const QString& line)
{
    const QString s = stripped(line);
    return !s.isEmpty() && !s.startsWith(QLatin1Char(';'));
}

QString keyOf(const QString& line)
{
    const QString s = stripped(line);
    const qsizetype eq = s.indexOf(QLatin1Char('='));
    return (eq < 0 ? s : s.left(eq)).trimmed();
}

// Index of the first line of `section` after its header, and one past its
// last line; {-1, -1} when the file has no such section.
std::pair<qsizetype, qsizetype> findSection(const QStringList& lines, const QString& section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (sectionOf(lines[i]).compare(section, Qt::CaseInsensitive) != 0
            || sectionOf(lines[i]).isNull())
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && sectionOf(lines[end]).isNull())
            ++end;
        return {i + 1, end};
    }
    return {-1, -1};
}

// Sets `key` = `value` in `section` of `text`, creating the section or the
// key as needed.
void setEntry(ProfileText& text, const QString& section, const QString& key, const QString& value)
{
    const QString entry = key + QLatin1Char('=') + value + text.newline;
    auto endsLine = [](const QString& line) { return line.endsWith(QLatin1Char('\n')); };

    auto [begin, end] = findSection(text.lines, section);
    if (begin < 0) {
        if (!text.lines.isEmpty() && !endsLine(text.lines.last()))
            text.lines.last() += text.newline;
        text.lines << QLatin1Char('[') + section + QLatin1Char(']') + text.newline << entry;
    } else {
        qsizetype keyLine = -1;
        qsizetype lastEntry = begin - 1;
        for (qsizetype i = begin; i < end; ++i) {
            if (!isEntry(text.lines[i]))
                continue;
            lastEntry = i;
            if (keyLine < 0 && keyOf(text.lines[i]).compare(key, Qt::CaseInsensitive) == 0)
                keyLine = i;
        }
        if (keyLine >= 0) {
            // Keep the line's own end (or none, on the file's last line).
            const QString& old = text.lines[keyLine];
            const QString oldEnd = old.endsWith(QStringLiteral("\r\n")) ? QStringLiteral("\r\n")
                                   : endsLine(old)                      ? QStringLiteral("\n")
                                                                        : QString();
            text.lines[keyLine] = key + QLatin1Char('=') + value + oldEnd;
        } else {
            if (!endsLine(text.lines[lastEntry]))
                text.lines[lastEntry] += text.newline;
            text.lines.insert(lastEntry + 1, entry);
        }
    }
}

} // namespace

QStringList readProfileSection(const QString& fileName, const QString& section)
{
    const ProfileText text = load(fileName);
    const auto [begin, end] = findSection(text.lines, section);
    QStringList entries;
    for (qsizetype i = begin; i >= 0 && i < end; ++i) {
        if (isEntry(text.lines[i]))
            entries << stripped(text.lines[i]);
    }
    return entries;
}

QString readProfileString(const QString& fileName, const QString& section, const QString& key)
{
    for (const QString& entry : readProfileSection(fileName, section)) {
        if (keyOf(entry).compare(key, Qt::CaseInsensitive) == 0) {
            const qsizetype eq = entry.indexOf(QLatin1Char('='));
            return eq < 0 ? QString(QLatin1String("")) : entry.mid(eq + 1).trimmed();
        }
    }
    return QString();
}

bool writeProfileStrings(const QString& fileName, const QString& section,
                         const ProfileEntries& entries)
{
    ProfileText text = load(fileName);
    for (const auto& [key, value] : entries)
        setEntry(text, section, key, value);
    QSaveFile file(fileName);
    if (!openOwnerOnly(file))
        return false;
    QStringEncoder encoder(text.encoding);
    file.write(text.bom);
    file.write(encoder.encode(text.lines.join(QString())));
    return file.commit();
}

bool writeProfileString(const QString& fileName, const QString& section, const QString& key,
                        const QString& value)
{
    return writeProfileStrings(fileName, section, {{key, value}});
}

} // namespace platform
