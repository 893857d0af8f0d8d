#include "schema.h"

#include "schema_statements.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace records {
namespace {

void build(const QString& path)
{
    const QString name = QStringLiteral("tovren-create-") + QUuid::createUuid().toString();
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            problem = db.lastError().text();
        } else {
            db.transaction();
            QSqlQuery query(db);
            for (const QString& statement : schemaStatements(Dialect::Embedded)) {
                if (!query.exec(statement)) {
                    problem = query.lastError().text();
                    break;
                }
            }
            if (problem.isEmpty() && !db.commit())
                problem = db.lastError().text();
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!problem.isEmpty())
        platform::raise(
            platform::err::PathFileAccess,
            QStringLiteral("The database '%1' could not be created: %2").arg(path, problem));
}

} // namespace

void createDatabase(const QString& path)
{
    if (QFileInfo::exists(path))
        platform::raise(platform::err::PathFileAccess,
                        QStringLiteral("'%1' already exists and is left as it is.").arg(path));
    // Build beside the target and move it into place, so that a failure never
    // leaves a half-made database under the real name.
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        build(partial);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        platform::raise(platform::err::PathFileAccess,
                        QStringLiteral("The database '%1' could not be created.").arg(path));
    }
}

} // namespace records
