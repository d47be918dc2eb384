#include "database/HuecastGroup.h"

#include "database/RecordReader.h"

namespace Velmar {
namespace DB {

HuecastGroup::HuecastGroup()
    : defaultOpen(false)
    , order(0)
{
}

HuecastGroup::HuecastGroup(const QSqlRecord &record)
    : AbstractBase(record)
    , defaultOpen(false)
    , order(0)
{
    RecordReader::take(record, QStringLiteral("NAME"), name);
    RecordReader::takeFlag(record, QStringLiteral("DEFAULT_OPEN"), defaultOpen);
    RecordReader::take(record, QStringLiteral("ORDER"), order);
}

bool HuecastGroup::isValid() const
{
    return AbstractBase::isValid();
}

const HuecastEntry &HuecastGroup::entryById(qint64 entryId) const
{
    for (const HuecastEntry &entry : entries) {
        if (entry.id == entryId)
            return entry;
    }
    static const HuecastEntry _empty;
    return _empty;
}

bool operator<(const HuecastGroup &left, const HuecastGroup &right)
{
    return left.order < right.order;
}

} // namespace DB
} // namespace Velmar
