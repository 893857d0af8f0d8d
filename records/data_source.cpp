#include "data_source.h"

#include "core/generate_err.h"
#include "core/program.h"
#include "core/traced.h"
#include "platform/error_numbers.h"
#include "platform/prompts.h"

#include <functional>
#include <iterator>
#include <vector>

namespace records {
namespace {

const QString kAnd = QStringLiteral(" AND ");
const QString kOr = QStringLiteral(" OR ");
// The most comparisons the OR of AND-groups may hold.
constexpr qint64 kMaxExpansion = 256;

// (A OR B) AND (C OR D): the parts with their alternatives, as written.
QString grouped(const std::vector<QStringList>& orParts)
{
    QStringList parts;
    for (QStringList terms : orParts) {
        terms.removeAll(QString());
        parts << QLatin1Char('(') + terms.join(kOr) + QLatin1Char(')');
    }
    return parts.join(kAnd);
}

} // namespace

QString changedElsewhereMessage(const QString& whatHappened)
{
    return QStringLiteral("This record was changed or deleted by someone else since it was "
                          "read.\r\n")
           + whatHappened;
}

DataSource::DataSource() : RecordsetWrapper("DataSource") {}

void DataSource::Save()
{
    tovren::traced("DataSource.Save", [&] {
        recs().Update();
        // A busy book keeps the changes pending: they go with the next save.
        submit(QStringLiteral("Save"),
               QStringLiteral("Your changes could not be saved; the card now shows what is "
                              "stored."),
               QStringLiteral("Your changes are kept on the card; save them again in a moment."),
               QStringLiteral("Your changes are kept on the card, but this book cannot take "
                              "them."));
    });
}

void DataSource::Cancel()
{
    tovren::traced("DataSource.Cancel", [&] { recs().CancelUpdate(); });
}

void DataSource::Delete()
{
    tovren::traced("DataSource.Delete", [&] {
        if (!confirmDelete())
            return;
        data::Recordset& rs = recs();
        const QVariant deleted = rs.bookmark();
        rs.Delete();
        rs.Update();
        switch (submit(QStringLiteral("Delete."),
                       QStringLiteral("It could not be deleted; the card now shows what is "
                                      "stored."),
                       QStringLiteral("The record was not deleted; try again in a moment."),
                       QStringLiteral("The record was not deleted."))) {
        case Submitted::Sent:
            MovePrevious();
            return;
        case Submitted::Kept:
            // The row comes back, and stays the current one.
            rs.CancelBatch();
            rs.setBookmark(deleted);
            return;
        case Submitted::Refused:
            return;
        }
    });
}

DataSource::Submitted DataSource::submit(const QString& title, const QString& whatHappened,
                                         const QString& whenBusy, const QString& whenReadOnly)
{
    data::Recordset& rs = recs();
    try {
        rs.setActiveConnection(tovren::connectionString());
        rs.UpdateBatch();
        rs.disconnect();
        return Submitted::Sent;
    } catch (const platform::RunTimeError& error) {
        // Another program holds the book for now, or the book's server
        // cannot be reached, or the book may only be read: nothing was
        // written, nothing is lost, and the changes stay pending.
        const bool busy = error.number() == platform::err::DatabaseBusy
                          || error.number() == platform::err::ServerUnreachable;
        if (busy || error.number() == platform::err::ReadOnlyBook) {
            platform::MsgBox(error.description() + QStringLiteral("\r\n")
                                 + (busy ? whenBusy : whenReadOnly),
                             platform::Buttons::OK, platform::Icon::Exclamation, title);
            return Submitted::Kept;
        }
        if (error.number() != platform::err::ConcurrencyViolation)
            throw;
    }
    // The database took nothing of the batch. The user is told rather than
    // left to find the edit gone; then the rows are read again. Taking the
    // changes back first leaves a row to return to even after a delete.
    rs.CancelBatch();
    platform::MsgBox(changedElsewhereMessage(whatHappened), platform::Buttons::OK, platform::Icon::Exclamation, title);
    Refresh();
    return Submitted::Refused;
}

void DataSource::Find(QString& Criteria, qint32& SkipRecords, qint32& SearchDirection,
                      QVariant& Start)
{
    tovren::traced("DataSource.Find",
                   {{"Criteria", "String", Criteria},
                    {"SkipRecords", "Long", SkipRecords},
                    {"SearchDirection", "SearchDirectionEnum", SearchDirection},
                    {"Start", "Variant", Start}},
                   [&] {
                       // An empty Start is no start: the search begins at the
                       // current row.
                       recs().Find(Criteria, SkipRecords, SearchDirection, Start);
                   });
}

void DataSource::Refresh()
{
    // Not traced: its errors go to the classifier, which may ask for the
    // failed step to be tried again.
    data::Recordset& rs = recs();
    QVariant varBkMk;
    const std::function<void()> steps[] = {
        // Without a current row there is nothing to return to.
        [&] {
            if (!rs.isBOF() && !rs.isEOF())
                varBkMk = rs.bookmark();
        },
        [&] { rs.setActiveConnection(tovren::connectionString()); },
        [&] { rs.Requery(); },
        [&] { rs.disconnect(); },
        [&] {
            if (varBkMk.isValid())
                rs.setBookmark(varBkMk);
        },
    };
    for (size_t step = 0; step < std::size(steps);) {
        try {
            steps[step]();
            ++step;
        } catch (const platform::RunTimeError& error) {
            switch (modGenProcedures::GenerateErr(error)) {
            case modGenProcedures::kErrRetry:
                // The remembered row is gone: the first row takes its place.
                if (rs.RecordCount() == 0)
                    return;
                rs.MoveFirst();
                varBkMk = rs.bookmark();
                break;
            case modGenProcedures::kErrEnd:
                // Unexpected, but nothing pending is worth ending the
                // program for: report it and let the user go on.
                tovren::handleError(error);
                return;
            default:
                return;
            }
        }
    }
}

void DataSource::Filter(QString& sFilter)
{
    tovren::traced("DataSource.Filter", {{"sFilter", "String", sFilter}}, [&] {
        data::Recordset& rs = recs();
        if (sFilter.isEmpty()) {
            rs.setFilter(QString());
            return;
        }
        // Filters compare texts without regard to case, so upper-casing the
        // values too changes nothing but lets AndsOrs find its separators.
        if (sFilter.toUpper().contains(kOr))
            sFilter = AndsOrs(sFilter.toUpper());
        rs.setFilter(sFilter);
    });
}

void DataSource::sort(QString sFld, QString sDirection)
{
    tovren::traced("DataSource.sort",
                   {{"sFld", "String", sFld}, {"sDirection", "String", sDirection}},
                   [&] { recs().setSort(sFld + QLatin1Char(' ') + sDirection); });
}

QString DataSource::AndsOrs(QString sIP)
{
    // The recordset cannot AND an OR-group with another clause, so the
    // filter becomes an OR of AND-groups. " AND " binds weaker than " OR ":
    // A OR B AND C means (A or B) and C, that is (A AND C) OR (B AND C).
    return tovren::traced("DataSource.AndsOrs", {{"sIP", "String", sIP}}, [&] {
        // Separators are matched exactly, letter case included.
        const auto split = [](const QString& text, const QString& separator) {
            return text.split(separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
        };
        const QStringList andParts = split(sIP, kAnd);
        std::vector<QStringList> orParts;
        qint64 comparisons = qint64(andParts.size());
        for (const QString& part : andParts) {
            orParts.push_back(split(part, kOr));
            comparisons = std::min(comparisons * orParts.back().size(), kMaxExpansion + 1);
        }
        // Every alternative of every part multiplies the groups: seven
        // fields with ten alternatives each would make ten million. Past a
        // few hundred comparisons the same filter goes in its grouped form,
        // which the recordset reads as it is, at once.
        if (comparisons > kMaxExpansion)
            return grouped(orParts);

        QStringList terms = orParts.front();
        for (size_t m = 1; m < orParts.size(); ++m) {
            QStringList combined;
            for (const QString& t : terms) {
                for (const QString& u : orParts[m])
                    combined << t + kAnd + u;
            }
            // The rewrite is textual: joined with " OR " and split again, an
            // " OR " that forms across a join splits as well.
            terms = split(combined.join(kOr), kOr);
        }
        QString result = QStringLiteral("(");
        for (const QString& term : terms) {
            if (term.isEmpty())
                continue;
            if (result.size() > 1)
                result += kOr + QLatin1Char('(');
            result += term + QLatin1Char(')');
        }
        return result;
    });
}

} // namespace records
