#include "database/StartsWithFunction.h"

#include "database/SqliteHandle.h"

#include <QStringView>

#include <sqlite3.h>

namespace Velmar {

namespace {

const char functionName[] = "VELMAR_STARTS_WITH";

} // namespace

const QString StartsWithFunction::Name = QString::fromLatin1(functionName);

bool StartsWithFunction::registerOn(const QSqlDatabase &database)
{
    sqlite3 *const db = SqliteHandle::of(database);
    // Registering it again on the same handle only replaces it.
    return db
        && sqlite3_create_function_v2(db, functionName, 2, SQLITE_UTF16 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                      nullptr, &StartsWithFunction::test, nullptr, nullptr, nullptr)
        == SQLITE_OK;
}

void StartsWithFunction::test(sqlite3_context *context, int count, sqlite3_value **arguments)
{
    if (count != 2 || sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    if (sqlite3_value_type(arguments[0]) != SQLITE_TEXT) {
        sqlite3_result_int(context, 1);
        return;
    }
    // In UTF-16, as the driver reads texts (sqlite3_column_text16).
    const void *text = sqlite3_value_text16(arguments[0]);
    const int textBytes = sqlite3_value_bytes16(arguments[0]);
    const void *prefix = sqlite3_value_text16(arguments[1]);
    const int prefixBytes = sqlite3_value_bytes16(arguments[1]);
    if (!text || !prefix) {
        // No memory for the conversion: the statement fails, and with it
        // the look-up, rather than passing over a row.
        sqlite3_result_error_nomem(context);
        return;
    }
    const QStringView textView(static_cast<const char16_t *>(text), textBytes / 2);
    const QStringView prefixView(static_cast<const char16_t *>(prefix), prefixBytes / 2);
    sqlite3_result_int(context, textView.startsWith(prefixView, Qt::CaseInsensitive) ? 1 : 0);
}

} // namespace Velmar
