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

ContactsRead readContacts(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return refused(QStringLiteral("The file is empty."));
    const DecodedText decoded = decodeText(bytes);
    if (decoded.binary)
        return refused(QStringLiteral("The file holds binary data, not a vCard or CSV file."));
    if (beginsWithCard(
            QStringView(decoded.text).first(std::min<qsizetype>(decoded.text.size(), 4096))))
        return readVCards(decoded.text);
    if (hasKnownHeader(decoded.text))
        return readCsv(decoded.text);
    return refused(QStringLiteral("The file is neither a vCard file (it does not begin with "
                                  "BEGIN:VCARD) nor a CSV file whose first row names columns "
                                  "Tovren knows (such as Name, Company or E-mail Address)."));
}

ContactsRead readContactsFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("'%1' cannot be read: %2").arg(path, file.errorString()));
    return readContacts(file.readAll());
}

} // namespace interchange
