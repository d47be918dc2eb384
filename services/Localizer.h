#ifndef VELMAR_LOCALIZER_H
#define VELMAR_LOCALIZER_H

#include <QString>
#include <QUuid>

namespace Velmar {

// The texts of the user interface, which come from the collection shown:
// another wording or language is another collection file, not a build.
class Localizer
{
public:
    // The collection's text for the key (compared without regard to case),
    // or the key itself when the collection has none.
    static QString getTextByKey(const QUuid &collection, const QString &key);

private:
    Localizer() = default;
};

} // namespace Velmar

#endif // VELMAR_LOCALIZER_H
