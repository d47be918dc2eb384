#ifndef VELMAR_DB_HUECASTENTRY_H
#define VELMAR_DB_HUECASTENTRY_H

#include "database/AbstractBase.h"

#include <QColor>
#include <QString>

namespace Velmar {
namespace DB {

// One trend colour: a HUECAST_ENTRY row.
class HuecastEntry : public AbstractBase
{
public:
    HuecastEntry();
    explicit HuecastEntry(const QSqlRecord &record);

    bool isValid() const override;

    // The chip the trend colour stands for: -1 without a ROW_ID column,
    // 0 when the column is NULL (no chip).
    qint64 rowId;
    QString name1;
    QString name2;
    QColor color;
    int order;
};

bool operator<(const HuecastEntry &left, const HuecastEntry &right);
// The order in which a group shows its trend colours: by their order column.
bool HuecastEntryLess(const HuecastEntry &left, const HuecastEntry &right);

} // namespace DB
} // namespace Velmar

#endif // VELMAR_DB_HUECASTENTRY_H
