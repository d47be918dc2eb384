#include "PredicateParser.h"

#include "InstallerException.h"

#include <cctype>
#include <limits>

namespace {

using Kind = PredicateExpression::Kind;
using Operator = PredicateExpression::Operator;

const char *const ReservedWords[] = {
    "AND", "OR", "NOT", "IN", "LIKE", "MATCHES", "BEGINSWITH", "ENDSWITH", "CONTAINS", "BETWEEN",
    "TRUE", "FALSE", "YES", "NO", "NULL", "NIL", "SELF", "TRUEPREDICATE", "FALSEPREDICATE",
    "ANY", "ALL", "SOME", "NONE", "FIRST", "LAST", "SIZE", "SUBQUERY", "FUNCTION",
};

bool isIdentifierStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

bool isReserved(const QString &word)
{
    for (const char *reserved : ReservedWords) {
        if (word.compare(QLatin1String(reserved), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

PredicateExpression constant(const QVariant &value)
{
    PredicateExpression node;
    node.kind = Kind::Constant;
    node.constant = value;
    return node;
}

} // namespace

PredicateParser::PredicateParser(const QString &format)
    : m_format(format)
{
}

PredicateExpression PredicateParser::parse(const QString &format)
{
    PredicateParser parser(format);
    const PredicateExpression result = parser.orExpression();
    if (!parser.atEnd())
        parser.fail(QStringLiteral("unexpected text"));
    return result;
}

void PredicateParser::fail(const QString &what) const
{
    throw InstallerException(QStringLiteral("NSInvalidArgumentException"),
                             QStringLiteral("Unable to parse the format string \"%1\" (%2 at offset %3)")
                                 .arg(m_format, what)
                                 .arg(m_pos));
}

void PredicateParser::enter()
{
    // Rules nest a few levels; a deeper text is refused before it can
    // exhaust the stack.
    if (++m_depth > MaximumDepth)
        fail(QStringLiteral("nesting too deep"));
}

void PredicateParser::skipSpace()
{
    while (m_pos < m_format.size() && m_format.at(m_pos).isSpace())
        ++m_pos;
}

bool PredicateParser::atEnd()
{
    skipSpace();
    return m_pos >= m_format.size();
}

bool PredicateParser::takeSymbol(const char *symbol)
{
    skipSpace();
    const QLatin1String text(symbol);
    if (QStringView(m_format).mid(m_pos).startsWith(text)) {
        m_pos += int(text.size());
        return true;
    }
    return false;
}

bool PredicateParser::peekWord(const char *word)
{
    skipSpace();
    const QLatin1String text(word);
    if (!QStringView(m_format).mid(m_pos).startsWith(text, Qt::CaseInsensitive))
        return false;
    const int end = m_pos + int(text.size());
    return end >= m_format.size() || !isIdentifierPart(m_format.at(end));
}

bool PredicateParser::takeWord(const char *word)
{
    if (!peekWord(word))
        return false;
    m_pos += int(qstrlen(word));
    return true;
}

// A chain of ORs or of ANDs becomes one node holding all its operands, so
// that a long chain adds no depth: neither the parse, the evaluation nor
// the tree's destruction recurse once per term.
PredicateExpression PredicateParser::orExpression()
{
    PredicateExpression first = andExpression();
    if (!(takeWord("OR") || takeSymbol("||")))
        return first;
    PredicateExpression node;
    node.kind = Kind::Or;
    node.children.append(first);
    do {
        node.children.append(andExpression());
    } while (takeWord("OR") || takeSymbol("||"));
    return node;
}

PredicateExpression PredicateParser::andExpression()
{
    PredicateExpression first = notExpression();
    if (!(takeWord("AND") || takeSymbol("&&")))
        return first;
    PredicateExpression node;
    node.kind = Kind::And;
    node.children.append(first);
    do {
        node.children.append(notExpression());
    } while (takeWord("AND") || takeSymbol("&&"));
    return node;
}

PredicateExpression PredicateParser::notExpression()
{
    skipSpace();
    // "!=" is a comparison, never a negation.
    const bool bang = m_pos < m_format.size() && m_format.at(m_pos) == QLatin1Char('!')
                      && !QStringView(m_format).mid(m_pos).startsWith(QLatin1String("!="));
    if (takeWord("NOT") || (bang && takeSymbol("!"))) {
        enter();
        PredicateExpression node;
        node.kind = Kind::Not;
        node.children = {notExpression()};
        --m_depth;
        return node;
    }
    return primary();
}

PredicateExpression PredicateParser::primary()
{
    if (takeSymbol("(")) {
        enter();
        PredicateExpression inner = orExpression();
        if (!takeSymbol(")"))
            fail(QStringLiteral("missing ')'"));
        --m_depth;
        return inner;
    }
    PredicateExpression node;
    if (takeWord("TRUEPREDICATE")) {
        node.kind = Kind::True;
        return node;
    }
    if (takeWord("FALSEPREDICATE")) {
        node.kind = Kind::False;
        return node;
    }
    return comparison();
}

PredicateExpression PredicateParser::comparison()
{
    const PredicateExpression left = expression();
    PredicateExpression node;
    node.kind = Kind::Comparison;
    if (!takeOperator(&node.op))
        fail(QStringLiteral("expected a comparison operator"));
    node.options = modifiers();
    node.children = {left, expression()};
    return node;
}

bool PredicateParser::takeOperator(Operator *op)
{
    // Longer symbols first, so that "<=" is not read as "<".
    static const struct
    {
        const char *symbol;
        Operator op;
    } symbols[] = {
        {"==", Operator::Equal},         {"!=", Operator::NotEqual},       {"<>", Operator::NotEqual},
        {"<=", Operator::LessOrEqual},   {"=<", Operator::LessOrEqual},    {">=", Operator::GreaterOrEqual},
        {"=>", Operator::GreaterOrEqual}, {"=", Operator::Equal},          {"<", Operator::Less},
        {">", Operator::Greater},
    };
    for (const auto &entry : symbols) {
        if (takeSymbol(entry.symbol)) {
            *op = entry.op;
            return true;
        }
    }
    static const struct
    {
        const char *word;
        Operator op;
    } words[] = {
        {"BEGINSWITH", Operator::BeginsWith}, {"ENDSWITH", Operator::EndsWith}, {"CONTAINS", Operator::Contains},
        {"LIKE", Operator::Like},             {"MATCHES", Operator::Matches},   {"IN", Operator::In},
    };
    for (const auto &entry : words) {
        if (takeWord(entry.word)) {
            *op = entry.op;
            return true;
        }
    }
    return false;
}

int PredicateParser::modifiers()
{
    skipSpace();
    if (m_pos >= m_format.size() || m_format.at(m_pos) != QLatin1Char('['))
        return 0;
    ++m_pos;
    int options = 0;
    while (m_pos < m_format.size() && m_format.at(m_pos) != QLatin1Char(']')) {
        const QChar c = m_format.at(m_pos).toLower();
        if (c == QLatin1Char('c'))
            options |= PredicateExpression::CaseInsensitive;
        else if (c == QLatin1Char('d'))
            options |= PredicateExpression::DiacriticInsensitive;
        else if (c != QLatin1Char('n'))
            fail(QStringLiteral("unknown comparison option"));
        ++m_pos;
    }
    if (!takeSymbol("]"))
        fail(QStringLiteral("missing ']'"));
    return options;
}

PredicateExpression PredicateParser::expression()
{
    skipSpace();
    if (m_pos >= m_format.size())
        fail(QStringLiteral("expected an expression"));
    const QChar c = m_format.at(m_pos);
    if (c == QLatin1Char('"') || c == QLatin1Char('\''))
        return constant(quotedString());
    if (c.isDigit() || c == QLatin1Char('.'))
        return number(false);
    if (c == QLatin1Char('-') || c == QLatin1Char('+')) {
        ++m_pos;
        skipSpace();
        if (m_pos >= m_format.size() || !(m_format.at(m_pos).isDigit() || m_format.at(m_pos) == QLatin1Char('.')))
            fail(QStringLiteral("expected a number"));
        return number(c == QLatin1Char('-'));
    }
    if (takeSymbol("{")) {
        enter();
        PredicateExpression node;
        node.kind = Kind::Aggregate;
        if (takeSymbol("}")) {
            --m_depth;
            return node;
        }
        do {
            node.children.append(expression());
        } while (takeSymbol(","));
        if (!takeSymbol("}"))
            fail(QStringLiteral("missing '}'"));
        --m_depth;
        return node;
    }
    if (takeWord("TRUE") || takeWord("YES"))
        return constant(true);
    if (takeWord("FALSE") || takeWord("NO"))
        return constant(false);
    if (takeWord("NULL") || takeWord("NIL"))
        return constant(QVariant());
    PredicateExpression node;
    if (takeWord("SELF")) {
        node.kind = Kind::Self;
        return node;
    }
    node.kind = Kind::KeyPath;
    do {
        node.keys.append(identifier());
    } while (takeSymbol("."));
    return node;
}

QString PredicateParser::identifier()
{
    skipSpace();
    // "#" lets a key path use a reserved word as a key.
    const bool escaped = takeSymbol("#");
    const int start = m_pos;
    if (m_pos >= m_format.size() || !isIdentifierStart(m_format.at(m_pos)))
        fail(QStringLiteral("expected a key"));
    while (m_pos < m_format.size() && isIdentifierPart(m_format.at(m_pos)))
        ++m_pos;
    const QString word = m_format.mid(start, m_pos - start);
    if (!escaped && isReserved(word)) {
        m_pos = start;
        fail(QStringLiteral("unexpected '%1'").arg(word));
    }
    return word;
}

QString PredicateParser::quotedString()
{
    const QChar quote = m_format.at(m_pos++);
    QString result;
    while (m_pos < m_format.size()) {
        const QChar c = m_format.at(m_pos++);
        if (c == quote)
            return result;
        if (c != QLatin1Char('\\')) {
            result.append(c);
            continue;
        }
        if (m_pos >= m_format.size())
            break;
        const QChar e = m_format.at(m_pos++);
        switch (e.unicode()) {
        case 'n': result.append(QLatin1Char('\n')); break;
        case 't': result.append(QLatin1Char('\t')); break;
        case 'r': result.append(QLatin1Char('\r')); break;
        default: result.append(e); break;
        }
    }
    fail(QStringLiteral("unterminated string"));
}

PredicateExpression PredicateParser::number(bool negative)
{
    const int start = m_pos;
    if (QStringView(m_format).mid(m_pos).startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        m_pos += 2;
        const int digits = m_pos;
        while (m_pos < m_format.size() && isxdigit(m_format.at(m_pos).toLatin1()))
            ++m_pos;
        bool ok = false;
        const quint64 value = m_format.mid(digits, m_pos - digits).toULongLong(&ok, 16);
        if (!ok)
            fail(QStringLiteral("bad number"));
        if (negative) {
            if (value > quint64(std::numeric_limits<qint64>::max()))
                fail(QStringLiteral("number out of range"));
            return constant(-qint64(value));
        }
        return constant(value);
    }
    bool real = false;
    while (m_pos < m_format.size()) {
        const QChar c = m_format.at(m_pos);
        if (c.isDigit()) {
            ++m_pos;
        } else if (c == QLatin1Char('.')) {
            real = true;
            ++m_pos;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && m_pos > start) {
            real = true;
            ++m_pos;
            if (m_pos < m_format.size() && (m_format.at(m_pos) == QLatin1Char('-') || m_format.at(m_pos) == QLatin1Char('+')))
                ++m_pos;
        } else {
            break;
        }
    }
    if (m_pos < m_format.size() && isIdentifierPart(m_format.at(m_pos)))
        fail(QStringLiteral("bad number"));
    const QString text = (negative ? QStringLiteral("-") : QString()) + m_format.mid(start, m_pos - start);
    bool ok = false;
    if (!real) {
        const qint64 value = text.toLongLong(&ok);
        if (ok)
            return constant(value);
        const quint64 large = text.toULongLong(&ok);
        if (ok)
            return constant(large);
    }
    const double value = text.toDouble(&ok);
    if (!ok)
        fail(QStringLiteral("bad number"));
    return constant(value);
}
