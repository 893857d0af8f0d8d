#include "criteria.h"

#include "record_store.h"

#include "platform/date_text.h"
#include "platform/runtime_error.h"

#include <QLocale>

#include <cmath>
#include <optional>

namespace data {

// A comparison made ready for the rows: the value already converted to the
// column's kind and, for texts, to a comparison key.
struct Comparison {
    enum class Test { IsNull, IsNotNull, Number, Text, Like, DateLike };
    enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like };

    int column = -1;
    Test test = Test::Text;
    Op op = Op::Equal;
    double number = 0;         // Number: the value (Integer and Date columns)
    TextKey key;               // Text: the value's key; Like: the pattern's folded key
    std::optional<qint64> day; // DateLike: the day a whole date pattern names
    bool leadingWildcard = false;
    bool trailingWildcard = false;
};

struct CriteriaNode {
    enum class Kind { Compare, And, Or } kind = Kind::Compare;
    Comparison comparison;
    std::unique_ptr<CriteriaNode> left;
    std::unique_ptr<CriteriaNode> right;
};

namespace {

constexpr int kMaxDepth = 64;
// Far more than a query form can produce, and few enough to stay quick.
constexpr int kMaxComparisons = 2000;

struct Token {
    enum class Type { End, Name, Text, Hashed, Number, Operator, Open, Close, And, Or, Like, Null };
    Type type = Type::End;
    QString text;
    int position = 0; // 1-based character of its start
};

class Parser {
public:
    Parser(const QString& input, const RecordStore& store, const char* what)
        : m_input(input), m_store(store), m_what(what)
    {
        advance();
    }

    std::unique_ptr<CriteriaNode> parseFilter()
    {
        if (m_token.type == Token::Type::End)
            fail(QStringLiteral("it is empty"), 1);
        auto root = orGroup(0);
        expectEnd();
        return root;
    }

    std::unique_ptr<CriteriaNode> parseSearch()
    {
        if (m_token.type == Token::Type::End)
            fail(QStringLiteral("it is empty"), 1);
        auto root = std::make_unique<CriteriaNode>();
        root->comparison = comparison();
        if (m_token.type == Token::Type::And || m_token.type == Token::Type::Or)
            fail(QStringLiteral("a search compares one column with one value"), m_token.position);
        expectEnd();
        return root;
    }

private:
    [[noreturn]] void fail(const QString& reason, int position) const
    {
        const QString shown =
            m_input.size() > 80 ? m_input.left(77) + QStringLiteral("...") : m_input;
        platform::raise(kInvalidArgument,
                        QStringLiteral("The %1 \"%2\" is not valid: %3 (at character %4).")
                            .arg(QLatin1String(m_what), shown, reason)
                            .arg(position));
    }

    void expectEnd() const
    {
        if (m_token.type == Token::Type::Close)
            fail(QStringLiteral("a closing parenthesis has no opening one"), m_token.position);
        if (m_token.type != Token::Type::End)
            fail(QStringLiteral("\"%1\" was not expected here").arg(m_token.text),
                 m_token.position);
    }

    std::unique_ptr<CriteriaNode> orGroup(int depth)
    {
        auto left = andGroup(depth);
        while (m_token.type == Token::Type::Or) {
            advance();
            auto node = std::make_unique<CriteriaNode>();
            node->kind = CriteriaNode::Kind::Or;
            node->left = std::move(left);
            node->right = andGroup(depth);
            left = std::move(node);
        }
        return left;
    }

    std::unique_ptr<CriteriaNode> andGroup(int depth)
    {
        auto left = operand(depth);
        while (m_token.type == Token::Type::And) {
            advance();
            auto node = std::make_unique<CriteriaNode>();
            node->kind = CriteriaNode::Kind::And;
            node->left = std::move(left);
            node->right = operand(depth);
            left = std::move(node);
        }
        return left;
    }

    std::unique_ptr<CriteriaNode> operand(int depth)
    {
        if (m_token.type == Token::Type::Open) {
            const int open = m_token.position;
            if (depth >= kMaxDepth)
                fail(QStringLiteral("parentheses are nested too deeply"), open);
            advance();
            auto inner = orGroup(depth + 1);
            if (m_token.type != Token::Type::Close)
                fail(QStringLiteral("the parenthesis opened at character %1 is not closed")
                         .arg(open),
                     m_token.position);
            advance();
            return inner;
        }
        auto node = std::make_unique<CriteriaNode>();
        node->comparison = comparison();
        return node;
    }

    Comparison comparison()
    {
        if (++m_comparisons > kMaxComparisons)
            fail(QStringLiteral("it holds more than %1 comparisons").arg(kMaxComparisons),
                 m_token.position);
        if (m_token.type != Token::Type::Name)
            fail(QStringLiteral("a column name was expected"), m_token.position);
        const Token name = m_token;
        Comparison result;
        result.column = m_store.columnIndex(name.text);
        if (result.column < 0)
            fail(QStringLiteral("there is no column \"%1\"").arg(name.text), name.position);
        advance();

        if (m_token.type != Token::Type::Operator && m_token.type != Token::Type::Like)
            fail(QStringLiteral("an operator (=, <>, <, >, <=, >= or LIKE) was expected"),
                 m_token.position);
        result.op =
            m_token.type == Token::Type::Like ? Comparison::Op::Like : operatorOf(m_token.text);
        advance();

        const Token value = m_token;
        switch (value.type) {
        case Token::Type::Text:
        case Token::Type::Hashed:
        case Token::Type::Number:
        case Token::Type::Null:
            break;
        default:
            fail(QStringLiteral("a value was expected"), value.position);
        }
        advance();
        prepare(result, value);
        return result;
    }

    static Comparison::Op operatorOf(const QString& text)
    {
        if (text == QLatin1String("<>"))
            return Comparison::Op::NotEqual;
        if (text == QLatin1String("<="))
            return Comparison::Op::LessEqual;
        if (text == QLatin1String(">="))
            return Comparison::Op::GreaterEqual;
        if (text == QLatin1String("<"))
            return Comparison::Op::Less;
        if (text == QLatin1String(">"))
            return Comparison::Op::Greater;
        return Comparison::Op::Equal;
    }

    // Converts the value to what the column holds.
    void prepare(Comparison& c, const Token& value) const
    {
        const ColumnInfo& column = m_store.columns()[size_t(c.column)];
        if (value.type == Token::Type::Null) {
            if (c.op != Comparison::Op::Equal && c.op != Comparison::Op::NotEqual)
                fail(QStringLiteral("NULL can only be compared with = or <>"), value.position);
            c.test = c.op == Comparison::Op::Equal ? Comparison::Test::IsNull
                                                   : Comparison::Test::IsNotNull;
            return;
        }
        if (c.op == Comparison::Op::Like) {
            if (value.type == Token::Type::Number)
                fail(QStringLiteral("LIKE needs a text in quotes"), value.position);
            preparePattern(c, value);
            c.test = column.kind == ColumnKind::Date ? Comparison::Test::DateLike
                                                     : Comparison::Test::Like;
            // A whole date written as people write it ("28/03/1987",
            // "28 March 1987") means that day, whatever the form shown.
            if (c.test == Comparison::Test::DateLike && !c.trailingWildcard) {
                if (const std::optional<QDate> day = platform::parseDate(value.text))
                    c.day = day->toJulianDay();
            }
            return;
        }
        switch (column.kind) {
        case ColumnKind::Text:
            c.test = Comparison::Test::Text;
            c.key = textKey(value.text);
            return;
        case ColumnKind::Integer: {
            if (value.type == Token::Type::Hashed)
                fail(QStringLiteral("%1 is a number column and cannot be compared with a date")
                         .arg(column.name),
                     value.position);
            const std::optional<double> number = parseNumber(value.text);
            if (!number)
                fail(QStringLiteral("'%1' is not a number, and %2 is a number column")
                         .arg(value.text, column.name),
                     value.position);
            c.test = Comparison::Test::Number;
            c.number = *number;
            return;
        }
        case ColumnKind::Date: {
            if (value.type == Token::Type::Number)
                fail(QStringLiteral("%1 is a date column and cannot be compared with a number")
                         .arg(column.name),
                     value.position);
            const std::optional<QDate> date = platform::parseDate(value.text);
            if (!date)
                fail(QStringLiteral("'%1' is not a date (write it as %2 or YYYY-MM-DD)")
                         .arg(value.text, platform::dateFormat().toUpper()),
                     value.position);
            c.test = Comparison::Test::Number;
            c.number = double(date->toJulianDay());
            return;
        }
        }
    }

    void preparePattern(Comparison& c, const Token& value) const
    {
        QString pattern = value.text;
        const auto isWildcard = [](QChar ch) {
            return ch == QLatin1Char('*') || ch == QLatin1Char('%');
        };
        if (!pattern.isEmpty() && isWildcard(pattern.back())) {
            c.trailingWildcard = true;
            pattern.chop(1);
        }
        if (!pattern.isEmpty() && isWildcard(pattern.front())) {
            if (!c.trailingWildcard)
                fail(QStringLiteral("a pattern that starts with a wildcard must end with one too"),
                     value.position);
            c.leadingWildcard = true;
            pattern.remove(0, 1);
        }
        for (const QChar ch : pattern) {
            if (isWildcard(ch))
                fail(QStringLiteral(
                         "a wildcard may stand only at the end of the pattern, or at both ends"),
                     value.position);
        }
        c.key.chars.clear();
        const TextKey key = textKey(pattern);
        const QStringView folded = key.folded();
        c.key.chars.assign(folded.utf16(), folded.utf16() + folded.size());
        c.key.foldedStart = 0;
    }

    static std::optional<double> parseNumber(const QString& text)
    {
        bool ok = false;
        const double value = QLocale::c().toDouble(text.trimmed(), &ok);
        return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
    }

    // The lexer: one token of lookahead.
    void advance()
    {
        const int length = int(m_input.size());
        while (m_at < length) {
            const QChar c = m_input[m_at];
            if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r')
                || c == QLatin1Char('\n'))
                ++m_at;
            else
                break;
        }
        m_token = Token();
        m_token.position = m_at + 1;
        if (m_at >= length)
            return;
        const QChar c = m_input[m_at];
        if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            m_token.type = c == QLatin1Char('(') ? Token::Type::Open : Token::Type::Close;
            m_token.text = c;
            ++m_at;
        } else if (c == QLatin1Char('\'')) {
            m_token.type = Token::Type::Text;
            m_token.text = quoted(QLatin1Char('\''));
        } else if (c == QLatin1Char('#')) {
            m_token.type = Token::Type::Hashed;
            m_token.text = quoted(QLatin1Char('#'));
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = m_input.indexOf(QLatin1Char(']'), m_at + 1);
            if (close < 0)
                fail(QStringLiteral("the bracket is not closed"), m_at + 1);
            m_token.type = Token::Type::Name;
            m_token.text = m_input.mid(m_at + 1, close - m_at - 1).trimmed();
            m_at = int(close) + 1;
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('=')) {
            m_token.type = Token::Type::Operator;
            const QString two = m_input.mid(m_at, 2);
            if (two == QLatin1String("<>") || two == QLatin1String("<=")
                || two == QLatin1String(">=")) {
                m_token.text = two;
                m_at += 2;
            } else {
                m_token.text = c;
                ++m_at;
            }
        } else if (c.isDigit()
                   || ((c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.'))
                       && m_at + 1 < length
                       && (m_input[m_at + 1].isDigit() || m_input[m_at + 1] == QLatin1Char('.')))) {
            const int begin = m_at++;
            while (m_at < length
                   && (m_input[m_at].isLetterOrNumber() || m_input[m_at] == QLatin1Char('.')
                       || ((m_input[m_at] == QLatin1Char('-') || m_input[m_at] == QLatin1Char('+'))
                           && (m_input[m_at - 1] == QLatin1Char('e')
                               || m_input[m_at - 1] == QLatin1Char('E')))))
                ++m_at;
            m_token.type = Token::Type::Number;
            m_token.text = m_input.mid(begin, m_at - begin);
            if (!parseNumber(m_token.text))
                fail(QStringLiteral("'%1' is not a number").arg(m_token.text), begin + 1);
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            const int begin = m_at;
            while (m_at < length
                   && (m_input[m_at].isLetterOrNumber() || m_input[m_at] == QLatin1Char('_')))
                ++m_at;
            m_token.text = m_input.mid(begin, m_at - begin);
            const QString upper = m_token.text.toUpper();
            m_token.type = upper == QLatin1String("AND")    ? Token::Type::And
                           : upper == QLatin1String("OR")   ? Token::Type::Or
                           : upper == QLatin1String("LIKE") ? Token::Type::Like
                           : upper == QLatin1String("NULL") ? Token::Type::Null
                                                            : Token::Type::Name;
        } else if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) {
            fail(QStringLiteral("it holds a control character"), m_at + 1);
        } else {
            fail(QStringLiteral("the character '%1' was not expected").arg(c), m_at + 1);
        }
    }

    // A text between `quote` characters; a doubled quote stands for itself.
    QString quoted(QChar quote)
    {
        const int begin = m_at++;
        QString text;
        const int length = int(m_input.size());
        while (m_at < length) {
            const QChar c = m_input[m_at++];
            if (c != quote) {
                text += c;
            } else if (m_at < length && m_input[m_at] == quote && quote == QLatin1Char('\'')) {
                text += c;
                ++m_at;
            } else {
                return text;
            }
        }
        fail(QStringLiteral("the quote is not closed"), begin + 1);
    }

    const QString& m_input;
    const RecordStore& m_store;
    const char* m_what;
    int m_at = 0;
    int m_comparisons = 0;
    Token m_token;
};

bool ordered(int order, Comparison::Op op)
{
    switch (op) {
    case Comparison::Op::Equal:
        return order == 0;
    case Comparison::Op::NotEqual:
        return order != 0;
    case Comparison::Op::Less:
        return order < 0;
    case Comparison::Op::Greater:
        return order > 0;
    case Comparison::Op::LessEqual:
        return order <= 0;
    case Comparison::Op::GreaterEqual:
        return order >= 0;
    case Comparison::Op::Like:
        break;
    }
    return false;
}

bool likeMatches(KeyView folded, const Comparison& c)
{
    const QStringView pattern(c.key.chars.data(), qsizetype(c.key.chars.size()));
    if (c.leadingWildcard)
        return contains(folded, pattern);
    if (c.trailingWildcard)
        return startsWith(folded, pattern);
    return compareKeys(folded, pattern) == 0;
}

// The row being tested, with the last folded text looked up: the
// alternatives a person types for one field ask for the same text in turn.
struct RowUnderTest {
    const RecordStore& store;
    int row;
    int foldedColumn = -1;
    KeyView folded{};

    KeyView foldedKey(int column)
    {
        if (column != foldedColumn) {
            folded = store.foldedKey(row, column);
            foldedColumn = column;
        }
        return folded;
    }
};

bool compare(const Comparison& c, RowUnderTest& tested)
{
    const RecordStore& store = tested.store;
    const int row = tested.row;
    const bool null = store.isNull(row, c.column);
    switch (c.test) {
    case Comparison::Test::IsNull:
        return null;
    case Comparison::Test::IsNotNull:
        return !null;
    default:
        break;
    }
    if (null)
        return false;
    switch (c.test) {
    case Comparison::Test::Number: {
        const double value = double(store.number(row, c.column));
        return ordered(value < c.number ? -1 : value > c.number ? 1 : 0, c.op);
    }
    case Comparison::Test::Text:
        if (c.op == Comparison::Op::Equal || c.op == Comparison::Op::NotEqual)
            return ordered(compareKeys(tested.foldedKey(c.column), c.key.folded()), c.op);
        return ordered(compareKeys(store.key(row, c.column), c.key.whole()), c.op);
    case Comparison::Test::Like: {
        if (store.columns()[size_t(c.column)].kind == ColumnKind::Text)
            return likeMatches(tested.foldedKey(c.column), c);
        const QString number = QString::number(store.number(row, c.column));
        return likeMatches(QStringView(number), c);
    }
    case Comparison::Test::DateLike: {
        if (c.day)
            return store.number(row, c.column) == *c.day;
        const QDate date = QDate::fromJulianDay(store.number(row, c.column));
        const TextKey shown = textKey(platform::dateText(date));
        return likeMatches(shown.folded(), c)
               || likeMatches(QStringView(platform::isoDate(date)), c);
    }
    default:
        return false;
    }
}

bool evaluate(const CriteriaNode& node, RowUnderTest& tested)
{
    switch (node.kind) {
    case CriteriaNode::Kind::And:
        return evaluate(*node.left, tested) && evaluate(*node.right, tested);
    case CriteriaNode::Kind::Or:
        return evaluate(*node.left, tested) || evaluate(*node.right, tested);
    case CriteriaNode::Kind::Compare:
        break;
    }
    return compare(node.comparison, tested);
}

} // namespace

Criteria::Criteria(std::unique_ptr<CriteriaNode> root) : m_root(std::move(root)) {}
Criteria::Criteria(Criteria&&) noexcept = default;
Criteria& Criteria::operator=(Criteria&&) noexcept = default;
Criteria::~Criteria() = default;

Criteria Criteria::filter(const QString& text, const RecordStore& store)
{
    return Criteria(Parser(text, store, "filter").parseFilter());
}

Criteria Criteria::search(const QString& text, const RecordStore& store)
{
    return Criteria(Parser(text, store, "search criterion").parseSearch());
}

bool Criteria::matches(const RecordStore& store, int row) const
{
    RowUnderTest tested{store, row};
    return evaluate(*m_root, tested);
}

} // namespace data
