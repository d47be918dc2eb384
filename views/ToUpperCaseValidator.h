#ifndef VELMAR_TOUPPERCASEVALIDATOR_H
#define VELMAR_TOUPPERCASEVALIDATOR_H

#include <QValidator>

namespace Velmar {

// Turns whatever is typed or pasted into upper case, accented letters too,
// as codes and names are written in the collections' printed decks.
class ToUpperCaseValidator : public QValidator
{
    Q_OBJECT

public:
    explicit ToUpperCaseValidator(QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
};

} // namespace Velmar

#endif // VELMAR_TOUPPERCASEVALIDATOR_H
