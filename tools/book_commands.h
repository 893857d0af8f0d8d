#pragma once
// tovren-book's commands that go through the record layer: import, export
// and list. Each returns its exit status (book_exit.h); errors go to
// stderr, results to stdout.

#include <QString>
#include <QStringList>

#include <memory>

namespace data {
class Connection;
}

namespace book_tool {

int importFiles(std::shared_ptr<data::Connection> connection, const QStringList& paths,
                bool dryRun);
// `format` is vcard, vcard4 or csv; `criteria` is in the card's filter
// language; an empty `path` is stdout.
int exportContacts(std::shared_ptr<data::Connection> connection, const QString& format,
                   const QString& criteria, const QString& path);
int listContacts(std::shared_ptr<data::Connection> connection);

} // namespace book_tool
