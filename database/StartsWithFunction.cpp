#include "database/StartsWithFunction.h"

#include "database/SqliteHandle.h"

#include <QByteArray>
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

namespace {

// The prefix of a statement, read once for all its rows.
struct Prefix {
    QByteArray utf8;
    QString utf16;
};

void deletePrefix(void *prefix)
{
    delete static_cast<Prefix *>(prefix);
}

inline unsigned char asciiLower(unsigned char byte)
{
    return byte >= 'A' && byte <= 'Z' ? byte + 32 : byte;
}

} // namespace

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
    auto *prefix = static_cast<Prefix *>(sqlite3_get_auxdata(context, 1));
    if (!prefix) {
        const void *utf16 = sqlite3_value_text16(arguments[1]);
        const int bytes = sqlite3_value_bytes16(arguments[1]);
        if (!utf16) {
            sqlite3_result_error_nomem(context);
            return;
        }
        prefix = new Prefix;
        prefix->utf16 = QString(reinterpret_cast<const QChar *>(utf16), bytes / 2);
        prefix->utf8 = prefix->utf16.toUtf8();
        // SQLite keeps it for the statement's next rows, or deletes it at once.
        sqlite3_set_auxdata(context, 1, prefix, &deletePrefix);
        prefix = static_cast<Prefix *>(sqlite3_get_auxdata(context, 1));
        if (!prefix) {
            sqlite3_result_error_nomem(context);
            return;
        }
    }
    // As long as both are ASCII, their bytes are their UTF-16 units, which
    // Qt folds as A to Z to a to z: most texts are told apart from the
    // prefix there, without a conversion.
    const auto *text = static_cast<const unsigned char *>(sqlite3_value_text(arguments[0]));
    const int textBytes = sqlite3_value_bytes(arguments[0]);
    if (!text) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const auto *wanted = reinterpret_cast<const unsigned char *>(prefix->utf8.constData());
    const int wantedBytes = int(prefix->utf8.size());
    int i = 0;
    for (; i < wantedBytes && i < textBytes && text[i] < 0x80 && wanted[i] < 0x80; ++i) {
        if (asciiLower(text[i]) != asciiLower(wanted[i])) {
            sqlite3_result_int(context, 0);
            return;
        }
    }
    if (i == wantedBytes) {
        sqlite3_result_int(context, 1);
        return;
    }
    if (i == textBytes) {
        // Shorter than the prefix, and all ASCII: it cannot start with it.
        sqlite3_result_int(context, 0);
        return;
    }
    // In UTF-16, as the driver reads texts (sqlite3_column_text16).
    const void *utf16 = sqlite3_value_text16(arguments[0]);
    const int utf16Bytes = sqlite3_value_bytes16(arguments[0]);
    if (!utf16) {
        // No memory for the conversion: the statement fails, and with it
        // the look-up, rather than passing over a row.
        sqlite3_result_error_nomem(context);
        return;
    }
    const QStringView textView(static_cast<const char16_t *>(utf16), utf16Bytes / 2);
    sqlite3_result_int(context, textView.startsWith(prefix->utf16, Qt::CaseInsensitive) ? 1 : 0);
}

} // namespace Velmar
