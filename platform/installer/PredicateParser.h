#ifndef PATHWARDEN_PREDICATEPARSER_H
#define PATHWARDEN_PREDICATEPARSER_H

#include "PredicateExpression.h"

#include <QString>

// Parses the predicate format: comparisons (== = != <> < <= > >=,
// BEGINSWITH, ENDSWITH, CONTAINS, LIKE, MATCHES, IN, each with [c], [d]
// or [cd]), AND/&&, OR/||, NOT/!, parentheses, TRUEPREDICATE and
// FALSEPREDICATE over key paths, SELF, quoted strings, 64-bit integers,
// reals, TRUE/YES, FALSE/NO, NULL/NIL and {aggregates}. Text that does
// not parse raises InstallerException.
class PredicateParser
{
public:
    static PredicateExpression parse(const QString &format);

private:
    explicit PredicateParser(const QString &format);

    PredicateExpression orExpression();
    PredicateExpression andExpression();
    PredicateExpression notExpression();
    PredicateExpression primary();
    PredicateExpression comparison();
    PredicateExpression expression();
    PredicateExpression number(bool negative);
    QString quotedString();
    QString identifier();
    bool takeOperator(PredicateExpression::Operator *op);
    int modifiers();

    void enter();
    void skipSpace();
    bool atEnd();
    bool takeSymbol(const char *symbol);
    // Takes word when it stands next, whole and in any case.
    bool takeWord(const char *word);
    bool peekWord(const char *word);
    [[noreturn]] void fail(const QString &what) const;

    const QString m_format;
    int m_pos = 0;
    int m_depth = 0;
    static constexpr int MaximumDepth = 200;
};

#endif // PATHWARDEN_PREDICATEPARSER_H
