#pragma once
// The other side of the differential criteria test (tst_criteria.cpp):
// random address rows; random criteria over them, each written twice, as
// the record layer reads it and as SQL that means the same; and the address
// book opened through SQLite itself, taught the text comparison that
// criteria promise.
//
// The criteria test runs in the German locale, where a date shows as
// 31.12.2026 (see date_text.h), unlike the ISO form the database holds.

#include "data/record_store.h"

#include <QDate>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <QVariantMap>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace random_criteria {

using data::ColumnKind;

// ---- The address book as SQLite reads it ---------------------------------

// Texts compare without regard to case in every script: two texts are the
// same when their capitals are, after Unicode's full case folding. So
// "Straße", "STRASSE" and "STRAẞE" are one text, "ıstanbul" (whose capital
// is I) is "Istanbul", and "İstanbul" keeps its dot. Texts order by their
// letters without accents first, so that "Émile" comes among the E's.
class Sqlite {
public:
    explicit Sqlite(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_create_function(m_db, "caseless", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, this,
                                &caselessFunction, nullptr, nullptr);
        sqlite3_create_collation(m_db, "CASELESS", SQLITE_UTF16, this, &compare);
    }
    ~Sqlite() { sqlite3_close(m_db); }
    Sqlite(const Sqlite&) = delete;
    Sqlite& operator=(const Sqlite&) = delete;

    // The keys of the addresses that `where` selects, in key order.
    std::vector<qint64> keys(const QString& where)
    {
        const QByteArray sql =
            QStringLiteral("SELECT AddressId FROM Address WHERE %1 ORDER BY AddressId")
                .arg(where)
                .toUtf8();
        sqlite3_stmt* statement = nullptr;
        std::vector<qint64> keys;
        if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(m_db) << " in " << sql.constData();
            return keys;
        }
        while (sqlite3_step(statement) == SQLITE_ROW)
            keys.push_back(sqlite3_column_int64(statement, 0));
        sqlite3_finalize(statement);
        return keys;
    }

private:
    struct Forms {
        std::u16string caseless;
        std::u16string letters; // caseless, without accents
    };

    const Forms& forms(const void* utf16, int bytes)
    {
        std::u16string text(static_cast<const char16_t*>(utf16), size_t(bytes) / 2);
        auto found = m_forms.find(text);
        if (found != m_forms.end())
            return found->second;
        icu::UnicodeString folded(text.data(), int32_t(text.size()));
        folded.toUpper(icu::Locale::getRoot()).foldCase();
        UErrorCode error = U_ZERO_ERROR;
        const icu::UnicodeString decomposed =
            icu::Normalizer2::getNFKDInstance(error)->normalize(folded, error);
        icu::UnicodeString letters;
        for (int32_t i = 0; i < decomposed.length(); i = decomposed.moveIndex32(i, 1)) {
            const UChar32 c = decomposed.char32At(i);
            if (!(U_GET_GC_MASK(c) & U_GC_M_MASK))
                letters.append(c);
        }
        const auto string = [](const icu::UnicodeString& s) {
            return std::u16string(s.getBuffer(), size_t(s.length()));
        };
        return m_forms.emplace(std::move(text), Forms{string(folded), string(letters)})
            .first->second;
    }

    static void caselessFunction(sqlite3_context* context, int, sqlite3_value** arguments)
    {
        if (sqlite3_value_type(arguments[0]) == SQLITE_NULL)
            return sqlite3_result_null(context);
        auto* self = static_cast<Sqlite*>(sqlite3_user_data(context));
        const void* text = sqlite3_value_text16(arguments[0]);
        const std::u16string& folded =
            self->forms(text, sqlite3_value_bytes16(arguments[0])).caseless;
        sqlite3_result_text16(context, folded.data(), int(folded.size() * 2), SQLITE_TRANSIENT);
    }

    static int compare(void* self, int bytes1, const void* text1, int bytes2, const void* text2)
    {
        auto* sqlite = static_cast<Sqlite*>(self);
        const Forms& a = sqlite->forms(text1, bytes1);
        const Forms& b = sqlite->forms(text2, bytes2);
        if (const int order = a.letters.compare(b.letters))
            return order;
        return a.caseless.compare(b.caseless);
    }

    sqlite3* m_db = nullptr;
    std::unordered_map<std::u16string, Forms> m_forms;
};

// ---- Random addresses ---------------------------------------------------

struct Column {
    const char* name;
    ColumnKind kind;
};

inline const std::vector<Column> kColumns = {
    {"AddressId", ColumnKind::Integer},  {"SalutationId", ColumnKind::Integer},
    {"ReligionId", ColumnKind::Integer}, {"Name", ColumnKind::Text},
    {"Company", ColumnKind::Text},       {"City", ColumnKind::Text},
    {"PhExt", ColumnKind::Text},         {"DtBirth", ColumnKind::Date},
    {"DtJoining", ColumnKind::Date},
};

inline bool chance(QRandomGenerator& random, int percent)
{
    return int(random.bounded(100)) < percent;
}

template <typename List>
auto pick(QRandomGenerator& random, const List& list)
{
    return list[decltype(list.size())(random.bounded(int(list.size())))];
}

inline QString randomCase(QRandomGenerator& random, const QString& text)
{
    switch (random.bounded(4)) {
    case 0:
        return text.toUpper();
    case 1:
        return text.toLower();
    default:
        return text;
    }
}

inline QString displayedDate(QDate date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// Rows of the columns above, as the fixture inserts them: keys ascending
// with gaps; texts and dates as the database holds them; Null left out.
inline std::vector<QVariantMap> addresses(QRandomGenerator& random, int count)
{
    // Accents, several scripts, capitals that spell out differently (ẞ, İ,
    // ı), apostrophes (also two in a row), digits-only texts.
    static const QStringList people = {
        "Ada",      "Lovelace", "Émile", "ÉMILE",    "emile",  "Zola",    "Zoë",
        "O'Hara",   "D'Arcy",   "Ærø",   "Ångström", "Straße", "STRASSE", "STRAẞE",
        "İpek",     "ıpek",     "Ipek",  "Дмитрий",  "Ёлкин",  "Σίσυφος", "ΟΔΥΣΣΕΥΣ",
        "Ὀδυσσεύς", "李小龍",   "東京",  "Nguyễn",   "Øre",    "Ünal",    "Ü"};
    static const QStringList companies = {"Acme",      "ACME Ltd",  "Ünal & Söhne", "Café Olé",
                                          "Περίπτερο", "株式会社",  "100% Bio",     "Fuß GmbH",
                                          "FUSS",      "O''Neil's", "Москва-Сити",  "Zoë's"};
    static const QStringList cities = {
        "London", "Paris",  "Épinal", "EPINAL",     "İzmir",           "Izmir",
        "ızmir",  "Москва", "МОСКВА", "Αθήνα",      "ΑΘΗΝΑ",           "東京",
        "Köln",   "KÖLN",   "Koln",   "Düsseldorf", "'s-Hertogenbosch"};
    static const QStringList extensions = {"12", "012", "5", "123", "007", "42", "9", "x12"};

    std::vector<QDate> dates;
    for (int i = 0; i < 25; ++i)
        dates.push_back(QDate(1900, 1, 1).addDays(random.bounded(47846)));

    const auto words = [&random](const QStringList& pool, int most) {
        QStringList out;
        for (int n = 1 + int(random.bounded(most)); n > 0; --n)
            out << pick(random, pool);
        return randomCase(random, out.join(QLatin1Char(' ')));
    };
    std::vector<QVariantMap> rows;
    qint64 key = 0;
    for (int i = 0; i < count; ++i) {
        QVariantMap row;
        key += 1 + random.bounded(3);
        row.insert("AddressId", key);
        if (!chance(random, 10))
            row.insert("SalutationId",
                       qint64(pick(random, std::vector<int>{1, 2, 3, 5, 8, 0, -3, 12345})));
        if (!chance(random, 30))
            row.insert("ReligionId", qint64(1 + random.bounded(9)));
        const auto text = [&](const char* column, const QString& value) {
            if (chance(random, 6))
                row.insert(column, QString(""));
            else if (!chance(random, 10))
                row.insert(column, value);
        };
        text("Name", words(people, 3));
        text("Company", words(companies, 2));
        text("City", words(cities, 1));
        text("PhExt", pick(random, extensions));
        for (const char* column : {"DtBirth", "DtJoining"}) {
            if (chance(random, 12))
                continue;
            const QDate date = chance(random, 70)
                                   ? pick(random, dates)
                                   : QDate(1900, 1, 1).addDays(random.bounded(47846));
            // A day may carry a time of day; a blank date is no date.
            QString stored = date.toString(Qt::ISODate);
            if (chance(random, 15))
                stored += pick(random, QStringList{" 08:30:00", "T23:59:59"});
            row.insert(column, chance(random, 4) ? QString("") : stored);
        }
        rows.push_back(row);
    }
    return rows;
}

// ---- Random criteria ----------------------------------------------------

// A criterion written twice: as the record layer reads it, and as SQL.
struct Criterion {
    QString text;
    QString sql;
};

class CriteriaMaker {
public:
    CriteriaMaker(QRandomGenerator& random, std::vector<QVariantMap> rows)
        : m_random(random), m_rows(std::move(rows))
    {}

    // One comparison, as a search takes it.
    Criterion comparison()
    {
        const Column& column = pick(m_random, kColumns);
        const QString sqlName = QStringLiteral("\"%1\"").arg(QLatin1String(column.name));
        const QString subject =
            column.kind == ColumnKind::Date ? QStringLiteral("date(%1)").arg(sqlName) : sqlName;
        const int kind = int(m_random.bounded(10));
        if (kind == 0) {
            const bool equal = chance(m_random, 50);
            return {name(column) + spaced(equal ? QStringLiteral("=") : QStringLiteral("<>"))
                        + keyword("null"),
                    subject + (equal ? " IS NULL" : " IS NOT NULL")};
        }
        if (kind <= 3)
            return like(column, sqlName);
        static const QStringList operators = {"=", "=", "<>", "<", ">", "<=", ">="};
        const QString op = pick(m_random, operators);
        const Criterion compared = this->value(column);
        const QString collated =
            column.kind == ColumnKind::Text ? QStringLiteral(" COLLATE CASELESS") : QString();
        return {name(column) + spaced(op) + compared.text,
                subject + collated + ' ' + op + ' ' + compared.sql};
    }

    // Comparisons joined by AND and OR, some grouped by parentheses.
    Criterion filter(int depth = 3)
    {
        if (depth == 0 || chance(m_random, 30))
            return comparison();
        Criterion out;
        for (int n = 2 + int(m_random.bounded(3)), i = 0; i < n; ++i) {
            if (i > 0) {
                const bool both = chance(m_random, 50);
                out.text += ' ' + keyword(both ? "and" : "or") + ' ';
                out.sql += both ? " AND " : " OR ";
            }
            const Criterion part =
                chance(m_random, 40) ? bracketed(filter(depth - 1)) : comparison();
            out.text += part.text;
            out.sql += part.sql;
        }
        return chance(m_random, 10) ? bracketed(out) : out;
    }

    // A valid criterion gone wrong here and there, or plain noise.
    QString malformed()
    {
        static const QString alphabet = QStringLiteral(
            "()[]'#*%=<> ANDORLIKENULL,.-+e0123456789NameCityPhExtDtBirth\t\x01\u00e9\u0416\u00df");
        QString text;
        if (chance(m_random, 20)) {
            for (int n = int(m_random.bounded(40)); n > 0; --n)
                text += pick(m_random, alphabet);
            return text;
        }
        text = chance(m_random, 50) ? comparison().text : filter().text;
        for (int n = 1 + int(m_random.bounded(4)); n > 0; --n) {
            const int at = int(m_random.bounded(int(text.size()) + 1));
            switch (m_random.bounded(3)) {
            case 0:
                text.insert(at, pick(m_random, alphabet));
                break;
            case 1:
                text.remove(at, 1 + int(m_random.bounded(3)));
                break;
            default:
                text.insert(at, text.mid(int(m_random.bounded(int(text.size()) + 1)),
                                         int(m_random.bounded(12))));
                break;
            }
        }
        return text;
    }

private:
    QString keyword(const char* word) { return randomCase(m_random, QLatin1String(word)); }

    QString spaced(const QString& op) { return chance(m_random, 20) ? op : ' ' + op + ' '; }

    QString name(const Column& column)
    {
        const QString written = randomCase(m_random, QLatin1String(column.name));
        if (!chance(m_random, 15))
            return written;
        return chance(m_random, 50) ? QString('[' + written + ']') : "[ " + written + " ]";
    }

    static Criterion bracketed(const Criterion& inner)
    {
        return {'(' + inner.text + ')', '(' + inner.sql + ')'};
    }

    static QString quoted(QString text) { return '\'' + text.replace('\'', "''") + '\''; }

    // A value some row holds in `column`, mostly; an invalid one otherwise.
    QVariant present(const Column& column)
    {
        for (int tries = chance(m_random, 80) ? 8 : 0; tries > 0; --tries) {
            const QVariant value = pick(m_random, m_rows).value(column.name);
            if (column.kind != ColumnKind::Date) {
                if (value.isValid())
                    return value;
            } else if (const QDate date = QDate::fromString(value.toString().left(10), Qt::ISODate);
                       date.isValid()) {
                return date;
            }
        }
        return QVariant();
    }

    // What a comparison compares with, written in the forms the column takes.
    Criterion value(const Column& column)
    {
        const QVariant held = present(column);
        switch (column.kind) {
        case ColumnKind::Integer: {
            const double number = held.isValid()
                                      ? held.toDouble()
                                      : pick(m_random, std::vector<double>{2.5, -7, 1e9, 0.25, 4});
            const QString plain = QString::number(number, 'g', 17);
            static const QStringList forms = {"%1", "%1", "'%1'", "' %1 '", "%1e0", "+%1"};
            QString form = pick(m_random, forms);
            if (number < 0 && form.startsWith('+'))
                form = QStringLiteral("%1");
            return {form.arg(plain), plain};
        }
        case ColumnKind::Date: {
            const QDate date = held.isValid() ? held.toDate() : QDate(2099, 2, 28);
            static const QStringList forms = {"#%1#", "'%1'", "# %1 #"};
            const QString iso = date.toString(Qt::ISODate);
            return {pick(m_random, forms).arg(chance(m_random, 70) ? iso : displayedDate(date)),
                    quoted(iso)};
        }
        case ColumnKind::Text:
            break;
        }
        QString text = held.isValid() ? randomCase(m_random, held.toString())
                                      : pick(m_random, QStringList{"Zz", "", "Ada Zola", "5"});
        static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        QString written = quoted(text);
        if (digits.match(text).hasMatch() && chance(m_random, 50))
            written = text;
        else if (!text.contains('#') && chance(m_random, 10))
            written = '#' + text + '#';
        return {written, quoted(text)};
    }

    // A LIKE pattern: the whole of a value, its beginning, or a part of it.
    Criterion like(const Column& column, const QString& sqlName)
    {
        const QVariant held = present(column);
        QString source = held.isValid() ? held.toString() : QStringLiteral("zq");
        if (column.kind == ColumnKind::Date && held.isValid())
            source = chance(m_random, 50) ? held.toDate().toString(Qt::ISODate)
                                          : displayedDate(held.toDate());
        source.remove('*').remove('%');
        const int shape = int(m_random.bounded(3)); // exact, beginning, part
        const int from = shape == 2 ? int(m_random.bounded(int(source.size()) + 1)) : 0;
        const int length = shape == 0 ? int(source.size()) : int(m_random.bounded(5));
        const QString core = randomCase(m_random, source.mid(from, length));
        const auto wildcard = [this] { return chance(m_random, 50) ? "*" : "%"; };
        const QString pattern = (shape == 2 ? QString(wildcard()) : QString()) + core
                                + (shape == 0 ? QString() : QString(wildcard()));

        const QString folded = QStringLiteral("caseless(%1)").arg(quoted(core));
        const auto matches = [&](const QString& subject) {
            switch (shape) {
            case 0:
                return QStringLiteral("%1 = %2").arg(subject, folded);
            case 1:
                return QStringLiteral("substr(%1, 1, length(%2)) = %2").arg(subject, folded);
            default:
                return QStringLiteral("instr(%1, %2) > 0").arg(subject, folded);
            }
        };
        QString sql;
        switch (column.kind) {
        case ColumnKind::Text:
            sql = matches(QStringLiteral("caseless(%1)").arg(sqlName));
            break;
        case ColumnKind::Integer:
            sql = matches(QStringLiteral("CAST(%1 AS TEXT)").arg(sqlName));
            break;
        case ColumnKind::Date:
            sql = QStringLiteral("(%1 OR %2)")
                      .arg(matches(QStringLiteral("date(%1)").arg(sqlName)),
                           matches(QStringLiteral("strftime('%d.%m.%Y', %1)").arg(sqlName)));
            break;
        }
        return {name(column) + ' ' + keyword("like") + ' ' + quoted(pattern), sql};
    }

    QRandomGenerator& m_random;
    std::vector<QVariantMap> m_rows;
};

} // namespace random_criteria
