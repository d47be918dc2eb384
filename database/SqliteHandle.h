#ifndef VELMAR_SQLITEHANDLE_H
#define VELMAR_SQLITEHANDLE_H

class QSqlDatabase;
struct sqlite3;

namespace Velmar {

// The SQLite handle under a connection of Qt's SQLite driver, for what the
// driver does not offer: collations.
class SqliteHandle
{
public:
    // Null when the connection is not an open SQLite connection.
    static sqlite3 *of(const QSqlDatabase &database);

private:
    SqliteHandle() = default;
};

} // namespace Velmar

#endif // VELMAR_SQLITEHANDLE_H
