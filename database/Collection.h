#ifndef VELMAR_DB_COLLECTION_H
#define VELMAR_DB_COLLECTION_H

#include "database/AbstractBase.h"

#include <QString>
#include <QUuid>

namespace Velmar {
namespace DB {

// One COLLECTION row.
class Collection : public AbstractBase
{
public:
    Collection();
    explicit Collection(const QSqlRecord &record);

    bool isValid() const override;

    QString systemId;
    qint64 version;
    QUuid uuid;
    QString name;
    int order;
};

} // namespace DB
} // namespace Velmar

#endif // VELMAR_DB_COLLECTION_H
