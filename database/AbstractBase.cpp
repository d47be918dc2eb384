#include "database/AbstractBase.h"

#include "database/RecordReader.h"

namespace Velmar {
namespace DB {

AbstractBase::AbstractBase()
    : id(0)
{
}

AbstractBase::AbstractBase(const QSqlRecord &record)
    : id(0)
{
    // Runs the base version: a derived record takes its own columns after.
    AbstractBase::fromSqlRecord(record);
}

AbstractBase::~AbstractBase() = default;

bool AbstractBase::isValid() const
{
    return id != -1;
}

void AbstractBase::reset()
{
    id = -1;
}

int AbstractBase::fromSqlRecord(const QSqlRecord &record)
{
    reset();
    RecordReader::take(record, QStringLiteral("ID"), id);
    return 0;
}

} // namespace DB
} // namespace Velmar
