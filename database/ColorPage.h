#ifndef VELMAR_DB_COLORPAGE_H
#define VELMAR_DB_COLORPAGE_H

#include "database/AbstractBase.h"
#include "database/ColorEntry.h"

#include <QStringList>
#include <QVector>

namespace Velmar {
namespace DB {

// One card: a PAGE row with its chips, sorted by row index.
class ColorPage : public AbstractBase
{
public:
    ColorPage();
    explicit ColorPage(const QSqlRecord &record);

    // A default card is invalid although its id is 0.
    bool isValid() const override;

    QString name(int index) const;
    QString extra(int index) const;

    int pageIndex;
    int segment;
    bool exterior;
    int mood;
    QStringList names;
    QStringList extras;
    QVector<ColorEntry> entries;
};

} // namespace DB
} // namespace Velmar

#endif // VELMAR_DB_COLORPAGE_H
