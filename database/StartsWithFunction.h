#ifndef VELMAR_STARTSWITHFUNCTION_H
#define VELMAR_STARTSWITHFUNCTION_H

#include <QByteArray>
#include <QString>

class QSqlDatabase;
struct sqlite3_context;
struct sqlite3_value;

namespace Velmar {

// A test SQLite runs on each row, so that a look-up by the beginning of a
// name passes over the rows that cannot match without Qt reading them:
// "VELMAR_STARTS_WITH(:PREFIX, R.NAME0, R.CODE)" holds when one of the
// texts, as Qt's driver reads them, starts with the prefix, case ignored as
// QString::startsWith ignores it. Numbers and blobs always pass, as Qt turns
// them into texts of its own; the caller tests those itself. The function lives on each SQLite
// handle and is registered, with SuggestionSelectFunction, on every
// collection connection as it opens.
class StartsWithFunction
{
public:
    static const QString Name;
    // The prefix of a statement, read once for all its rows.
    struct Prefix {
        QByteArray utf8;
        QString utf16;
    };

    // False when the connection is not an open SQLite connection or a
    // function could not be registered.
    static bool registerOn(const QSqlDatabase &database);

    // 1 when the value passes, 0 when not, -1 without memory to tell.
    static int test(const Prefix &prefix, sqlite3_value *value);

private:
    StartsWithFunction() = default;

    static void test(sqlite3_context *context, int count, sqlite3_value **arguments);
};

} // namespace Velmar

#endif // VELMAR_STARTSWITHFUNCTION_H
