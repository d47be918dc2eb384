#include "database/StartsWithFunction.h"

#include "database/SqliteHandle.h"
#include "database/SuggestionSelectFunction.h"

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
        && sqlite3_create_function_v2(db, functionName, -1, SQLITE_UTF16 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                      nullptr, &StartsWithFunction::test, nullptr, nullptr, nullptr)
        == SQLITE_OK
        && SuggestionSelectFunction::registerOn(db);
}

namespace {

void deletePrefix(void *prefix)
{
    delete static_cast<StartsWithFunction::Prefix *>(prefix);
}

inline unsigned char asciiLower(unsigned char byte)
{
    return byte >= 'A' && byte <= 'Z' ? byte + 32 : byte;
}

} // namespace

void StartsWithFunction::test(sqlite3_context *context, int count, sqlite3_value **arguments)
{
    if (count < 2) {
        sqlite3_result_error(context, "VELMAR_STARTS_WITH takes a prefix and one value or more", -1);
        return;
    }
    auto *prefix = static_cast<Prefix *>(sqlite3_get_auxdata(context, 0));
    if (!prefix) {
        const void *utf16 = sqlite3_value_text16(arguments[0]);
        const int bytes = sqlite3_value_bytes16(arguments[0]);
        if (!utf16) {
            sqlite3_result_error_nomem(context);
            return;
        }
        prefix = new Prefix;
        prefix->utf16 = QString(reinterpret_cast<const QChar *>(utf16), bytes / 2);
        prefix->utf8 = prefix->utf16.toUtf8();
        // SQLite keeps it for the statement's next rows, or deletes it at once.
        sqlite3_set_auxdata(context, 0, prefix, &deletePrefix);
        prefix = static_cast<Prefix *>(sqlite3_get_auxdata(context, 0));
        if (!prefix) {
            sqlite3_result_error_nomem(context);
            return;
        }
    }
    for (int i = 1; i < count; ++i) {
        const int passes = test(*prefix, arguments[i]);
        if (passes < 0) {
            // No memory for a conversion: the statement fails, and with it
            // the look-up, rather than passing over a row.
            sqlite3_result_error_nomem(context);
            return;
        }
        if (passes > 0) {
            sqlite3_result_int(context, 1);
            return;
        }
    }
    sqlite3_result_int(context, 0);
}

int StartsWithFunction::test(const Prefix &prefix, sqlite3_value *value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_TEXT:
        break;
    default:
        return 1;
    }
    // As long as both are ASCII, their bytes are their UTF-16 units, which
    // Qt folds as A to Z to a to z: most texts are told apart from the
    // prefix there, without a conversion.
    const auto *text = static_cast<const unsigned char *>(sqlite3_value_text(value));
    const int textBytes = sqlite3_value_bytes(value);
    if (!text)
        return -1;
    const auto *wanted = reinterpret_cast<const unsigned char *>(prefix.utf8.constData());
    const int wantedBytes = int(prefix.utf8.size());
    int i = 0;
    for (; i < wantedBytes && i < textBytes && text[i] < 0x80 && wanted[i] < 0x80; ++i) {
        if (asciiLower(text[i]) != asciiLower(wanted[i]))
            return 0;
    }
    if (i == wantedBytes)
        return 1;
    // Shorter than the prefix, and all ASCII: it cannot start with it.
    if (i == textBytes)
        return 0;
    // In UTF-16, as the driver reads texts (sqlite3_column_text16).
    const void *utf16 = sqlite3_value_text16(value);
    const int utf16Bytes = sqlite3_value_bytes16(value);
    if (!utf16)
        return -1;
    const QStringView textView(static_cast<const char16_t *>(utf16), utf16Bytes / 2);
    return textView.startsWith(prefix.utf16, Qt::CaseInsensitive) ? 1 : 0;
}

} // namespace Velmar
