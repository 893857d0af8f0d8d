#include "contacts_file.h"

#include "csv_reader.h"
#include "text_decoding.h"
#include "vcard_reader.h"

#include <QFile>

namespace interchange {
namespace {

bool beginsWithCard(QStringView text)
{
    return text.trimmed().startsWith(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive);
}

ContactsRead refused(const QString& problem)
{
    ContactsRead read;
    read.problems << problem;
    return read;
}

} // namespace

ContactsRead readContacts(const QByteArray& bytes, const Progress& progress)
{
    if (bytes.isEmpty())
        return refused(QStringLiteral("The file is empty."));
    const DecodedText decoded = decodeText(bytes);
    if (decoded.binary)
        return refused(QStringLiteral("The file holds binary data, not a vCard or CSV file."));
    // Only the start is looked at: a file of one huge line is no card.
    const QStringView start =
        QStringView(decoded.text).first(std::min<qsizetype>(decoded.text.size(), 4096));
    ContactsRead read;
    if (beginsWithCard(start))
        read = readVCards(decoded.text, progress);
    else if (hasKnownHeader(decoded.text))
        read = readCsv(decoded.text, progress);
    else
        return refused(QStringLiteral("The file is neither a vCard file (it does not begin with "
                                      "BEGIN:VCARD) nor a CSV file whose first row names columns "
                                      "Tovren knows (such as Name, Company or E-mail Address)."));
    read.encoding = decoded.encoding;
    return read;
}

ContactsRead readContactsFile(const QString& path, const Progress& progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("'%1' cannot be read: %2").arg(path, file.errorString()));
    return readContacts(file.readAll(), progress);
}

} // namespace interchange
