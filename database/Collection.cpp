#include "database/Collection.h"

#include "database/RecordReader.h"

namespace Velmar {
namespace DB {

Collection::Collection()
    : version(0)
    , order(0)
{
}

Collection::Collection(const QSqlRecord &record)
    : AbstractBase(record)
    , version(0)
    , order(0)
{
    QString uuidText;
    if (RecordReader::take(record, QStringLiteral("UUID"), uuidText)) {
        const QUuid parsed(uuidText);
        if (!parsed.isNull())
            uuid = parsed;
    }
    RecordReader::take(record, QStringLiteral("SYSTEMID"), systemId);
    RecordReader::take(record, QStringLiteral("VERSION"), version);
    RecordReader::take(record, QStringLiteral("NAME"), name);
    RecordReader::take(record, QStringLiteral("ORDER"), order);
}

bool Collection::isValid() const
{
    return true;
}

} // namespace DB
} // namespace Velmar
