#ifndef VELMAR_DB_ABSTRACTBASE_H
#define VELMAR_DB_ABSTRACTBASE_H

#include <QSqlRecord>
#include <QtGlobal>

namespace Velmar {
namespace DB {

// Base of the records that have a row id; -1 means no row.
class AbstractBase
{
public:
    AbstractBase();
    explicit AbstractBase(const QSqlRecord &record);
    AbstractBase(const AbstractBase &other) = default;
    AbstractBase &operator=(const AbstractBase &other) = default;
    virtual ~AbstractBase();

    // Derived records call this body: a record is valid when it has a row id.
    virtual bool isValid() const = 0;
    virtual void reset();
    virtual int fromSqlRecord(const QSqlRecord &record);

    qint64 id;
};

} // namespace DB
} // namespace Velmar

#endif // VELMAR_DB_ABSTRACTBASE_H
