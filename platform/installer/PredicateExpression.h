#ifndef PATHWARDEN_PREDICATEEXPRESSION_H
#define PATHWARDEN_PREDICATEEXPRESSION_H

#include <QList>
#include <QString>
#include <QVariant>

// One node of a parsed predicate: a compound (AND, OR, NOT), a comparison
// of two expressions, or an expression (key path, constant, aggregate).
class PredicateExpression
{
public:
    enum class Kind { True, False, And, Or, Not, Comparison, KeyPath, Self, Constant, Aggregate };
    enum class Operator {
        Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual,
        BeginsWith, EndsWith, Contains, Like, Matches, In
    };
    enum Option { CaseInsensitive = 0x1, DiacriticInsensitive = 0x2 };

    Kind kind = Kind::True;
    // Comparisons only.
    Operator op = Operator::Equal;
    int options = 0;
    // Key paths only: the keys to follow, in order.
    QStringList keys;
    // Constants only; an invalid QVariant is NULL.
    QVariant constant;
    // Operands of compounds (every operand of an AND or OR chain, in
    // order) and comparisons, items of aggregates.
    QList<PredicateExpression> children;
};

#endif // PATHWARDEN_PREDICATEEXPRESSION_H
