#include "views/ToUpperCaseValidator.h"

namespace Velmar {

ToUpperCaseValidator::ToUpperCaseValidator(QObject *parent)
    : QValidator(parent)
{
}

QValidator::State ToUpperCaseValidator::validate(QString &input, int &pos) const
{
    // The cursor stays where it is; a letter whose capital is longer (ß)
    // only moves the text after it.
    Q_UNUSED(pos)
    input = input.toUpper();
    return Acceptable;
}

} // namespace Velmar
