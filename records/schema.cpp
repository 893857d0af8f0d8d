#include "schema.h"

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

// Text widths are the longest values the card accepts; the engine stores
// longer texts unchanged, the card and the record classes keep to them.
const char* const kSchema[] = {
    "CREATE TABLE Salutation ("
    " SalutationId INTEGER PRIMARY KEY AUTOINCREMENT,"
    " Salutation VARCHAR(6))",

    "CREATE TABLE Religion ("
    " ReligionId INTEGER PRIMARY KEY AUTOINCREMENT,"
    " Religion VARCHAR(15))",

    // AddressId is the row identity that batch updates and deletes use;
    // the program itself never shows or writes it.
    "CREATE TABLE Address ("
    " AddressId INTEGER PRIMARY KEY AUTOINCREMENT,"
    " SalutationId INTEGER,"
    " Name VARCHAR(40),"
    " Company VARCHAR(50),"
    " ReligionId INTEGER,"
    " Address1 VARCHAR(35),"
    " Address2 VARCHAR(35),"
    " Address3 VARCHAR(35),"
    " City VARCHAR(20),"
    " PinCode VARCHAR(7),"
    " State VARCHAR(20),"
    " Country VARCHAR(40),"
    " PhOff1 VARCHAR(15),"
    " PhOff2 VARCHAR(15),"
    " PhExt VARCHAR(5),"
    " PhFax VARCHAR(15),"
    " PhRes1 VARCHAR(15),"
    " PhRes2 VARCHAR(15),"
    " PhCell VARCHAR(15),"
    " PhPager VARCHAR(15),"
    " DtBirth DATE,"
    " DtMarriage DATE,"
    " DtJoining DATE,"
    " EmlAddr VARCHAR(150))",

    // The labels apply the card's filter to this query, so it keeps every
    // column name of Address and adds the salutation's text.
    "CREATE VIEW qryLabel AS SELECT"
    " s.Salutation AS Salutation,"
    " a.AddressId AS AddressId, a.SalutationId AS SalutationId,"
    " a.Name AS Name, a.Company AS Company, a.ReligionId AS ReligionId,"
    " a.Address1 AS Address1, a.Address2 AS Address2, a.Address3 AS Address3,"
    " a.City AS City, a.PinCode AS Pincode, a.State AS State, a.Country AS Country,"
    " a.PhOff1 AS PhOff1, a.PhOff2 AS PhOff2, a.PhExt AS PhExt, a.PhFax AS PhFax,"
    " a.PhRes1 AS PhRes1, a.PhRes2 AS PhRes2, a.PhCell AS PhCell, a.PhPager AS PhPager,"
    " a.DtBirth AS DtBirth, a.DtMarriage AS DtMarriage, a.DtJoining AS DtJoining,"
    " a.EmlAddr AS EmlAddr"
    " FROM Address a LEFT JOIN Salutation s ON s.SalutationId = a.SalutationId",

    "INSERT INTO Salutation (Salutation) VALUES"
    " ('Mr.'), ('Mrs.'), ('Ms.'), ('Miss'), ('Dr.'), ('Prof.'), ('Shri'), ('Smt.')",

    "INSERT INTO Religion (Religion) VALUES"
    " ('Hindu'), ('Muslim'), ('Christian'), ('Sikh'), ('Buddhist'), ('Jain'),"
    " ('Parsi'), ('Jewish'), ('Other')",

    "PRAGMA user_version = 1",
};

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
            for (const char* statement : kSchema) {
                if (!query.exec(QString::fromLatin1(statement))) {
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
