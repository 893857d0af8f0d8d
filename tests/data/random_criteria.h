#pragma once
// The other side of the differential criteria test (tst_criteria.cpp): random
// address rows, random criteria written both as the record layer reads them
// and as SQL, and SQLite taught the text comparison that criteria promise.
// That test runs in the German locale, where a date shows as 31.12.2026.

#include "data/record_store.h"

#include <QDate>
#include <QHash>
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

// The address book as SQLite reads it. Texts are the same when their
// capitals are, after Unicode's full case folding ("Straße", "STRASSE" and
// "STRAẞE" are one text, "ıstanbul" is "Istanbul", "İstanbul" keeps its
// dot), and order by their letters without accents first ("Émile" among E's).
class Sqlite {
public:
    explicit Sqlite(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_create_function(m_db, "caseless", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, this,
                                &caseless, nullptr, nullptr);
        sqlite3_create_collation(m_db, "CASELESS", SQLITE_UTF16, this, &compare);
    }
    ~Sqlite() { sqlite3_close(m_db); }
    Q_DISABLE_COPY(Sqlite)

    // The keys of the addresses that `where` selects, in key order.
    QStringList keys(const QString& where)
    {
        const QString sql = "SELECT AddressId FROM Address WHERE " + where + " ORDER BY AddressId";
        sqlite3_stmt* query = nullptr;
        EXPECT_EQ(sqlite3_prepare16_v2(m_db, sql.utf16(), -1, &query, nullptr), SQLITE_OK)
            << sqlite3_errmsg(m_db) << " in " << sql.toStdString();
        QStringList keys;
        while (sqlite3_step(query) == SQLITE_ROW)
            keys << QString::number(sqlite3_column_int64(query, 0));
        sqlite3_finalize(query);
        return keys;
    }

private:
    struct Forms {
        icu::UnicodeString caseless, letters; // letters: caseless, without accents
    };

    const Forms& forms(const void* utf16, int bytes)
    {
        std::u16string text(static_cast<const char16_t*>(utf16), size_t(bytes) / 2);
        if (const auto found = m_forms.find(text); found != m_forms.end())
            return found->second;
        icu::UnicodeString folded(text.data(), int32_t(text.size()));
        folded.toUpper(icu::Locale::getRoot()).foldCase();
        UErrorCode error = U_ZERO_ERROR;
        const icu::UnicodeString split =
            icu::Normalizer2::getNFKDInstance(error)->normalize(folded, error);
        icu::UnicodeString letters;
        for (int32_t i = 0; i < split.length(); i = split.moveIndex32(i, 1)) {
            if (!(U_GET_GC_MASK(split.char32At(i)) & U_GC_M_MASK))
                letters.append(split.char32At(i));
        }
        return m_forms.emplace(std::move(text), Forms{folded, letters}).first->second;
    }

    static void caseless(sqlite3_context* context, int, sqlite3_value** arguments)
    {
        if (sqlite3_value_type(arguments[0]) == SQLITE_NULL)
            return sqlite3_result_null(context);
        const icu::UnicodeString& folded =
            static_cast<Sqlite*>(sqlite3_user_data(context))
                ->forms(sqlite3_value_text16(arguments[0]), sqlite3_value_bytes16(arguments[0]))
                .caseless;
        sqlite3_result_text16(context, folded.getBuffer(), folded.length() * 2, SQLITE_TRANSIENT);
    }

    static int compare(void* self, int bytes1, const void* text1, int bytes2, const void* text2)
    {
        const Forms& a = static_cast<Sqlite*>(self)->forms(text1, bytes1);
        const Forms& b = static_cast<Sqlite*>(self)->forms(text2, bytes2);
        const int order = a.letters.compare(b.letters);
        return order ? order : a.caseless.compare(b.caseless);
    }

    sqlite3* m_db = nullptr;
    std::unordered_map<std::u16string, Forms> m_forms;
};

// Draws numbers, chances, choices, letter cases and dates from one generator.
struct Dice {
    QRandomGenerator& random;

    int below(int n) { return int(random.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename List>
    auto pick(const List& list)
    {
        return list[decltype(list.size())(below(int(list.size())))];
    }
    QString anyCase(const QString& text) // as written half of the time
    {
        const int form = below(4);
        return form == 0 ? text.toUpper() : form == 1 ? text.toLower() : text;
    }
    QDate date() { return QDate(1900, 1, 1).addDays(below(47846)); }
    // A date as the database holds it, or as the German locale shows it.
    QString written(QDate date, int isoPercent)
    {
        return date.toString(chance(isoPercent) ? u"yyyy-MM-dd" : u"dd.MM.yyyy");
    }
};

// The words of a list written with bars between them.
inline QStringList bars(const char* list)
{
    return QString::fromUtf8(list).split(QLatin1Char('|'));
}

using Column = std::pair<QString, ColumnKind>;
inline const std::vector<Column> kColumns = {
    {"AddressId", ColumnKind::Integer},  {"SalutationId", ColumnKind::Integer},
    {"ReligionId", ColumnKind::Integer}, {"Name", ColumnKind::Text},
    {"Company", ColumnKind::Text},       {"City", ColumnKind::Text},
    {"PhExt", ColumnKind::Text},         {"DtBirth", ColumnKind::Date},
    {"DtJoining", ColumnKind::Date}};

// Rows of the columns above, keys ascending with gaps, values as the
// database holds them; Null left out. The words have accents, several
// scripts, capitals that spell out differently (ẞ, İ, ı), apostrophes
// (also two in a row) and digits only.
inline std::vector<QVariantMap> addresses(QRandomGenerator& random, int count)
{
    const QStringList people =
        bars("Ada|Lovelace|Émile|ÉMILE|emile|Zola|Zoë|O'Hara|D'Arcy|Ærø|"
             "Ångström|Straße|STRASSE|STRAẞE|İpek|ıpek|Ipek|Дмитрий|"
             "Ёлкин|Σίσυφος|ΟΔΥΣΣΕΥΣ|Ὀδυσσεύς|李小龍|東京|Nguyễn|Øre|Ünal|Ü");
    const QStringList companies = bars("Acme|ACME Ltd|Ünal & Söhne|Café Olé|Περίπτερο|株式会社|"
                                       "100% Bio|Fuß GmbH|FUSS|O''Neil's|Москва-Сити|Zoë's");
    const QStringList cities = bars("London|Paris|Épinal|EPINAL|İzmir|Izmir|ızmir|Москва|"
                                    "МОСКВА|Αθήνα|ΑΘΗΝΑ|東京|Köln|KÖLN|Koln|Düsseldorf|"
                                    "'s-Hertogenbosch");
    const QStringList extensions = bars("12|012|5|123|007|42|9|x12");

    Dice dice{random};
    std::vector<QDate> dates(25); // most dates are shared by several rows
    for (QDate& date : dates)
        date = dice.date();
    const auto words = [&dice](const QStringList& pool, int most) {
        QStringList out;
        for (int n = 1 + dice.below(most); n > 0; --n)
            out << dice.pick(pool);
        return dice.anyCase(out.join(QLatin1Char(' ')));
    };
    std::vector<QVariantMap> rows(static_cast<size_t>(count));
    qint64 key = 0;
    for (QVariantMap& row : rows) {
        row.insert("AddressId", key += 1 + dice.below(3));
        if (!dice.chance(10))
            row.insert("SalutationId", qint64(dice.pick(std::vector{1, 2, 3, 5, 8, 0, -3, 12345})));
        if (!dice.chance(30))
            row.insert("ReligionId", qint64(1 + dice.below(9)));
        // A text may be blank or Null.
        const std::pair<const char*, QString> texts[] = {{"Name", words(people, 3)},
                                                         {"Company", words(companies, 2)},
                                                         {"City", words(cities, 1)},
                                                         {"PhExt", dice.pick(extensions)}};
        for (const auto& [column, value] : texts) {
            if (dice.chance(6))
                row.insert(column, QString(""));
            else if (!dice.chance(10))
                row.insert(column, value);
        }
        // A day may carry a time of day; a blank date is no date.
        for (const char* column : {"DtBirth", "DtJoining"}) {
            if (dice.chance(12))
                continue;
            QString stored =
                (dice.chance(70) ? dice.pick(dates) : dice.date()).toString(Qt::ISODate);
            if (dice.chance(15))
                stored += dice.pick(QStringList{" 08:30:00", "T23:59:59"});
            row.insert(column, dice.chance(4) ? QString("") : stored);
        }
    }
    return rows;
}

// A criterion written twice: as the record layer reads it, and as SQL.
struct Criterion {
    QString text, sql;
    Criterion operator+(const Criterion& next) const { return {text + next.text, sql + next.sql}; }
};

class CriteriaMaker : Dice {
public:
    // Criteria mostly about values the rows hold: a date as a day.
    CriteriaMaker(QRandomGenerator& random, const std::vector<QVariantMap>& rows) : Dice{random}
    {
        for (const QVariantMap& row : rows) {
            for (const auto& [column, kind] : kColumns) {
                const QVariant value = row.value(column);
                const QDate day = QDate::fromString(value.toString().left(10), Qt::ISODate);
                if (kind == ColumnKind::Date ? day.isValid() : value.isValid())
                    m_held[column] << (kind == ColumnKind::Date ? QVariant(day) : value);
            }
        }
    }

    // One comparison, as a search takes it: with Null, a pattern or a value.
    Criterion comparison()
    {
        const auto [column, kind] = pick(kColumns);
        const QString sqlName = '"' + column + '"';
        const QString subject = kind == ColumnKind::Date ? "date(" + sqlName + ')' : sqlName;
        const QVariant held = chance(80) ? pick(m_held[column]) : QVariant();
        const int shape = below(10);
        if (shape == 0) {
            const bool equal = chance(50);
            return {name(column) + spaced(equal ? "=" : "<>") + keyword("null"),
                    subject + (equal ? " IS NULL" : " IS NOT NULL")};
        }
        if (shape <= 3)
            return like(column, kind, sqlName, held);
        const QString op = pick(QStringList{"=", "=", "<>", "<", ">", "<=", ">="});
        const QString collated = kind == ColumnKind::Text ? " COLLATE CASELESS " : " ";
        return Criterion{name(column) + spaced(op), subject + collated + op + ' '}
               + value(kind, held);
    }

    // Comparisons joined by AND and OR, some grouped by parentheses.
    Criterion filter(int depth = 3)
    {
        if (depth == 0 || chance(30))
            return comparison();
        Criterion out;
        for (int n = 2 + below(3), i = 0; i < n; ++i) {
            const bool both = chance(50);
            const Criterion joint{' ' + keyword(both ? "and" : "or") + ' ',
                                  both ? " AND " : " OR "};
            const Criterion part = chance(40) ? bracketed(filter(depth - 1)) : comparison();
            out = i == 0 ? part : out + joint + part;
        }
        return chance(10) ? bracketed(out) : out;
    }

    // A valid criterion with a few characters put in, taken out or
    // repeated; or, one time in five, plain noise.
    QString malformed()
    {
        static const QString alphabet = QStringLiteral(
            "()[]'#*%=<> ANDORLIKENULL,.-+e0123456789NameCityPhExtDtBirth\t\x01\u00e9\u0416\u00df");
        QString text;
        if (chance(20)) {
            for (int n = below(40); n > 0; --n)
                text += pick(alphabet);
            return text;
        }
        text = chance(50) ? comparison().text : filter().text;
        for (int n = 1 + below(4); n > 0; --n) {
            const int at = below(int(text.size()) + 1);
            const int edit = below(3);
            if (edit == 0)
                text.insert(at, pick(alphabet));
            else if (edit == 1)
                text.remove(at, 1 + below(3));
            else
                text.insert(at, text.mid(below(int(text.size()) + 1), below(12)));
        }
        return text;
    }

private:
    QString keyword(const char* word) { return anyCase(QLatin1String(word)); }
    QString spaced(const QString& op) { return chance(20) ? op : ' ' + op + ' '; }
    QString name(const QString& column)
    {
        const QString written = anyCase(column);
        if (!chance(15))
            return written;
        return chance(50) ? QString('[' + written + ']') : "[ " + written + " ]";
    }
    static Criterion bracketed(const Criterion& inner)
    {
        return Criterion{"(", "("} + inner + Criterion{")", ")"};
    }
    static QString quoted(QString text) { return '\'' + text.replace('\'', "''") + '\''; }

    // What a comparison compares with, in the forms the column takes:
    // `held`, or when invalid a value no row need hold.
    Criterion value(ColumnKind kind, const QVariant& held)
    {
        if (kind == ColumnKind::Integer) {
            const double number =
                held.isValid() ? held.toDouble() : pick(std::vector{2.5, -7.0, 1e9, 0.25, 4.0});
            const QString plain = QString::number(number, 'g', 17);
            QString form = pick(QStringList{"%1", "%1", "'%1'", "' %1 '", "%1e0", "+%1"});
            return {(number < 0 && form.startsWith('+') ? QString("%1") : form).arg(plain), plain};
        }
        if (kind == ColumnKind::Date) {
            const QDate date = held.isValid() ? held.toDate() : QDate(2099, 2, 28);
            return {pick(QStringList{"#%1#", "'%1'", "# %1 #"}).arg(written(date, 70)),
                    quoted(date.toString(Qt::ISODate))};
        }
        const QString text = held.isValid() ? anyCase(held.toString())
                                            : pick(QStringList{"Zz", "", "Ada Zola", "5"});
        static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        QString written = quoted(text);
        if (digits.match(text).hasMatch() && chance(50))
            written = text;
        else if (!text.contains('#') && chance(10))
            written = '#' + text + '#';
        return {written, quoted(text)};
    }

    // A LIKE pattern: the whole of a value, its beginning, or a part of it.
    Criterion like(const QString& column, ColumnKind kind, const QString& sqlName,
                   const QVariant& held)
    {
        QString source = held.isValid() ? held.toString() : QStringLiteral("zq");
        if (kind == ColumnKind::Date && held.isValid())
            source = written(held.toDate(), 50);
        source.remove('*').remove('%');
        const int shape = below(3); // exact, beginning, part
        const int from = shape == 2 ? below(int(source.size()) + 1) : 0;
        const int length = shape == 0 ? int(source.size()) : below(5);
        const QString core = anyCase(source.mid(from, length));
        const auto wildcard = [this] { return QString(chance(50) ? "*" : "%"); };
        const QString pattern = (shape == 2 ? wildcard() : "") + core + (shape ? wildcard() : "");

        static const char* const tests[] = {"%1 = %2", "substr(%1, 1, length(%2)) = %2",
                                            "instr(%1, %2) > 0"};
        const auto matches = [&](const QString& subject) {
            return QString::fromLatin1(tests[shape]).arg(subject, "caseless(" + quoted(core) + ')');
        };
        const QString sql = kind == ColumnKind::Text ? matches("caseless(" + sqlName + ')')
                            : kind == ColumnKind::Integer
                                ? matches("CAST(" + sqlName + " AS TEXT)")
                                : '(' + matches("date(" + sqlName + ')') + " OR "
                                      + matches("strftime('%d.%m.%Y', " + sqlName + ')') + ')';
        return {name(column) + ' ' + keyword("like") + ' ' + quoted(pattern), sql};
    }

    QHash<QString, QVariantList> m_held; // the values rows hold, by column
};

} // namespace random_criteria
