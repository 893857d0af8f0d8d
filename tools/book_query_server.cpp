// tovren-book query on a book that is not a plain file (a shared book on a
// server): the same answer, its contacts read through the record layer.

#include "book_query.h"
#include "book_query_answer.h"

#include "data/connection.h"
#include "data/database_io.h"

namespace book_tool {

int query(data::Connection& book, const QString& text, std::FILE* out)
{
    QueryAnswer answer(text);
    for (const QVariantList& row : book.io().execute(
             QStringLiteral("SELECT \"EmlAddr\", \"Name\", \"Company\", \"City\" FROM \"Address\""
                            " WHERE \"EmlAddr\" <> ''"))) {
        const QByteArray values[] = {row[0].toString().toUtf8(), row[1].toString().toUtf8(),
                                     row[2].toString().toUtf8(), row[3].toString().toUtf8()};
        answer.offer(values[0], values[1], values[2], values[3]);
    }
    return answer.write(out);
}

} // namespace book_tool
