#ifndef PATHWARDEN_PREDICATE_H
#define PATHWARDEN_PREDICATE_H

#include "PredicateExpression.h"

#include <QString>
#include <QVariantMap>

// A predicate in the platform's predicate format, evaluated against a
// dictionary (an Info.plist). Integers compare exactly as 64-bit values,
// signed or not. A format that does not parse, or a comparison of values
// that cannot be compared, raises InstallerException.
class Predicate
{
public:
    static Predicate predicateWithFormat(const QString &format);

    bool evaluateWithObject(const QVariantMap &object) const;

private:
    explicit Predicate(const PredicateExpression &root);

    PredicateExpression m_root;
};

#endif // PATHWARDEN_PREDICATE_H
