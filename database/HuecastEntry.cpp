#include "database/HuecastEntry.h"

#include "database/RecordReader.h"

namespace Velmar {
namespace DB {

HuecastEntry::HuecastEntry()
    : rowId(-1)
    , order(0)
{
}

HuecastEntry::HuecastEntry(const QSqlRecord &record)
    : AbstractBase(record)
    , rowId(-1)
    , order(0)
{
    RecordReader::take(record, QStringLiteral("ROW_ID"), rowId);
    RecordReader::take(record, QStringLiteral("NAME_1"), name1);
    RecordReader::take(record, QStringLiteral("NAME_2"), name2);
    int channel = 0;
    if (RecordReader::take(record, QStringLiteral("RED"), channel))
        color.setRed(channel);
    if (RecordReader::take(record, QStringLiteral("GREEN"), channel))
        color.setGreen(channel);
    if (RecordReader::take(record, QStringLiteral("BLUE"), channel))
        color.setBlue(channel);
    RecordReader::take(record, QStringLiteral("ORDER"), order);
}

bool HuecastEntry::isValid() const
{
    return AbstractBase::isValid();
}

bool operator<(const HuecastEntry &left, const HuecastEntry &right)
{
    return left.order < right.order;
}

bool HuecastEntryLess(const HuecastEntry &left, const HuecastEntry &right)
{
    return left < right;
}

} // namespace DB
} // namespace Velmar
