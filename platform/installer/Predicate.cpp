#include "Predicate.h"

#include "InstallerException.h"
#include "PredicateParser.h"
#include "RegularExpression.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cmath>

namespace {

using Kind = PredicateExpression::Kind;
using Operator = PredicateExpression::Operator;

[[noreturn]] void raise(const QString &reason)
{
    throw InstallerException(QStringLiteral("NSInvalidArgumentException"), reason);
}

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

bool isString(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

bool isList(const QVariant &value)
{
    return value.typeId() == QMetaType::QVariantList;
}

// -1, 0 or 1; NaN compares unordered, reported as 2.
int compareNumbers(const QVariant &a, const QVariant &b)
{
    const bool realA = a.typeId() == QMetaType::Double;
    const bool realB = b.typeId() == QMetaType::Double;
    if (!realA && !realB) {
        // 128 bits hold every signed and unsigned 64-bit value exactly.
        auto wide = [](const QVariant &v) -> __int128 {
            if (v.typeId() == QMetaType::ULongLong || v.typeId() == QMetaType::UInt)
                return __int128(v.toULongLong());
            return __int128(v.toLongLong());
        };
        const __int128 x = wide(a);
        const __int128 y = wide(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    // long double carries 64 bits of mantissa, so integers stay exact here.
    auto extended = [](const QVariant &v) -> long double {
        if (v.typeId() == QMetaType::Double)
            return v.toDouble();
        if (v.typeId() == QMetaType::ULongLong || v.typeId() == QMetaType::UInt)
            return static_cast<long double>(v.toULongLong());
        return static_cast<long double>(v.toLongLong());
    };
    const long double x = extended(a);
    const long double y = extended(b);
    if (std::isnan(x) || std::isnan(y))
        return 2;
    return x < y ? -1 : (x > y ? 1 : 0);
}

QString normalised(const QString &text, int options)
{
    QString result = text;
    if (options & PredicateExpression::DiacriticInsensitive) {
        result = result.normalized(QString::NormalizationForm_D);
        QString stripped;
        stripped.reserve(result.size());
        for (const QChar c : std::as_const(result)) {
            if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_SpacingCombining
                && c.category() != QChar::Mark_Enclosing)
                stripped.append(c);
        }
        result = stripped.normalized(QString::NormalizationForm_C);
    }
    if (options & PredicateExpression::CaseInsensitive)
        result = result.toCaseFolded();
    return result;
}

bool valuesEqual(const QVariant &a, const QVariant &b, int options)
{
    if (!a.isValid() || !b.isValid())
        return !a.isValid() && !b.isValid();
    if (isNumber(a) && isNumber(b))
        return compareNumbers(a, b) == 0;
    if (isString(a) && isString(b))
        return normalised(a.toString(), options) == normalised(b.toString(), options);
    if (isList(a) && isList(b)) {
        const QVariantList x = a.toList();
        const QVariantList y = b.toList();
        if (x.size() != y.size())
            return false;
        for (int i = 0; i < x.size(); ++i) {
            if (!valuesEqual(x.at(i), y.at(i), options))
                return false;
        }
        return true;
    }
    if (a.typeId() != b.typeId())
        return false;
    return a == b;
}

QString typeName(const QVariant &value)
{
    return QString::fromLatin1(value.isValid() ? value.typeName() : "null");
}

// The order of two values for <, <=, > and >=; 2 when unordered.
int order(const QVariant &a, const QVariant &b, int options)
{
    if (isNumber(a) && isNumber(b))
        return compareNumbers(a, b);
    if (isString(a) && isString(b)) {
        const int c = normalised(a.toString(), options).compare(normalised(b.toString(), options));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime) {
        const QDateTime x = a.toDateTime();
        const QDateTime y = b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    raise(QStringLiteral("Cannot compare %1 with %2").arg(typeName(a), typeName(b)));
}

void requireStrings(const QVariant &a, const QVariant &b)
{
    if (!isString(a) || !isString(b))
        raise(QStringLiteral("Can't do a substring operation with something that isn't a string (%1, %2)")
                  .arg(typeName(a), typeName(b)));
}

QString likePattern(const QString &wildcards)
{
    QString pattern;
    for (const QChar c : wildcards) {
        if (c == QLatin1Char('*'))
            pattern += QStringLiteral(".*");
        else if (c == QLatin1Char('?'))
            pattern += QLatin1Char('.');
        else
            pattern += QRegularExpression::escape(QString(c));
    }
    return pattern;
}

bool compare(Operator op, int options, const QVariant &left, const QVariant &right)
{
    switch (op) {
    case Operator::Equal:
        return valuesEqual(left, right, options);
    case Operator::NotEqual:
        return !valuesEqual(left, right, options);
    case Operator::Less:
    case Operator::LessOrEqual:
    case Operator::Greater:
    case Operator::GreaterOrEqual: {
        if (!left.isValid() || !right.isValid())
            return false;
        const int c = order(left, right, options);
        if (c == 2)
            return false;
        if (op == Operator::Less)
            return c < 0;
        if (op == Operator::LessOrEqual)
            return c <= 0;
        if (op == Operator::Greater)
            return c > 0;
        return c >= 0;
    }
    case Operator::BeginsWith:
    case Operator::EndsWith:
    case Operator::Like:
    case Operator::Matches: {
        if (!left.isValid() || !right.isValid())
            return false;
        requireStrings(left, right);
        if (op == Operator::Matches) {
            const int diacritics = options & PredicateExpression::DiacriticInsensitive;
            return RegularExpression::matchesEntirely(right.toString(), normalised(left.toString(), diacritics),
                                                      options & PredicateExpression::CaseInsensitive);
        }
        const QString text = normalised(left.toString(), options);
        const QString pattern = normalised(right.toString(), options);
        if (op == Operator::BeginsWith)
            return text.startsWith(pattern);
        if (op == Operator::EndsWith)
            return text.endsWith(pattern);
        return RegularExpression::matchesEntirely(likePattern(pattern), text);
    }
    case Operator::Contains:
        if (isList(left)) {
            for (const QVariant &item : left.toList()) {
                if (valuesEqual(item, right, options))
                    return true;
            }
            return false;
        }
        if (!left.isValid() || !right.isValid())
            return false;
        requireStrings(left, right);
        return normalised(left.toString(), options).contains(normalised(right.toString(), options));
    case Operator::In:
        if (isList(right)) {
            for (const QVariant &item : right.toList()) {
                if (valuesEqual(left, item, options))
                    return true;
            }
            return false;
        }
        if (right.typeId() == QMetaType::QVariantMap) {
            for (const QVariant &item : right.toMap()) {
                if (valuesEqual(left, item, options))
                    return true;
            }
            return false;
        }
        if (!left.isValid() || !right.isValid())
            return false;
        requireStrings(left, right);
        return normalised(right.toString(), options).contains(normalised(left.toString(), options));
    }
    return false;
}

QVariant value(const PredicateExpression &node, const QVariantMap &object)
{
    switch (node.kind) {
    case Kind::Constant:
        return node.constant;
    case Kind::Self:
        return object;
    case Kind::KeyPath: {
        QVariant current = object;
        for (const QString &key : node.keys) {
            if (current.typeId() != QMetaType::QVariantMap)
                return QVariant();
            current = current.toMap().value(key);
        }
        return current;
    }
    case Kind::Aggregate: {
        QVariantList items;
        for (const PredicateExpression &child : node.children)
            items.append(value(child, object));
        return items;
    }
    default:
        raise(QStringLiteral("A predicate is not a value"));
    }
}

bool evaluate(const PredicateExpression &node, const QVariantMap &object)
{
    switch (node.kind) {
    case Kind::True:
        return true;
    case Kind::False:
        return false;
    case Kind::And:
        // Left to right, stopping at the first operand that decides.
        for (const PredicateExpression &child : node.children) {
            if (!evaluate(child, object))
                return false;
        }
        return true;
    case Kind::Or:
        for (const PredicateExpression &child : node.children) {
            if (evaluate(child, object))
                return true;
        }
        return false;
    case Kind::Not:
        return !evaluate(node.children.at(0), object);
    case Kind::Comparison:
        return compare(node.op, node.options, value(node.children.at(0), object), value(node.children.at(1), object));
    default:
        raise(QStringLiteral("A value is not a predicate"));
    }
}

} // namespace

Predicate::Predicate(const PredicateExpression &root)
    : m_root(root)
{
}

Predicate Predicate::predicateWithFormat(const QString &format)
{
    return Predicate(PredicateParser::parse(format));
}

bool Predicate::evaluateWithObject(const QVariantMap &object) const
{
    return evaluate(m_root, object);
}
