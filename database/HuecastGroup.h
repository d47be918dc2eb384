#ifndef VELMAR_DB_HUECASTGROUP_H
#define VELMAR_DB_HUECASTGROUP_H

#include "database/AbstractBase.h"
#include "database/HuecastEntry.h"

#include <QList>
#include <QString>

namespace Velmar {
namespace DB {

// One trend-colour group: a HUECAST_GROUP row with its colours.
class HuecastGroup : public AbstractBase
{
public:
    HuecastGroup();
    explicit HuecastGroup(const QSqlRecord &record);

    bool isValid() const override;

    // The entry of that id, or one shared default entry (id 0, invalid
    // colour) that outlives every group.
    const HuecastEntry &entryById(qint64 entryId) const;

    QString name;
    bool defaultOpen;
    int order;
    QList<HuecastEntry> entries;
};

bool operator<(const HuecastGroup &left, const HuecastGroup &right);

} // namespace DB
} // namespace Velmar

#endif // VELMAR_DB_HUECASTGROUP_H
