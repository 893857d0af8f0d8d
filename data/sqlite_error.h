#pragma once
// A failed SQLite call as the error handler lists it.

#include "errhandler/Vostrel.h"

namespace data {

inline Vostrel::DbError sqliteError(qint32 number, int code, const QString& what,
                                    const QString& words)
{
    return {number, code, what + QStringLiteral(": ") + words, QStringLiteral("SQLite"),
            QStringLiteral("HY000")};
}

} // namespace data
