#include "database/SqliteHandle.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

namespace Velmar {

sqlite3 *SqliteHandle::of(const QSqlDatabase &database)
{
    if (!database.isOpen() || !database.driver())
        return nullptr;
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

} // namespace Velmar
