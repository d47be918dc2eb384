#ifndef VELMAR_UPPERCASECOLLATION_H
#define VELMAR_UPPERCASECOLLATION_H

#include <QMutex>
#include <QSet>
#include <QString>

#include <atomic>

class QSqlDatabase;
struct sqlite3;

namespace Velmar {

// A comparison of texts that ignores case as QString::toUpper() does, for
// every letter and not only the ASCII ones SQLite's NOCASE folds: the search
// field upper-cases what is typed, so "CRÈME BRÛLÉE" must find "Crème brûlée"
// and "WEISS" must find "Weiß". Texts are ordered as their upper-case forms
// compare in UTF-16, so the collation is a total order SQLite can rely on.
// The collation lives on each SQLite handle and is registered on every
// collection connection before a statement uses it.
class UpperCaseCollation
{
public:
    // The collation's name in statements: "... = :PHRASE COLLATE VELMAR_UPPER".
    static const QString Name;

    // Registers the collation on the open connection unless its current
    // handle already has it (a connection opened again has a new handle).
    // False when the connection is not an open SQLite connection.
    static bool ensureRegistered(const QSqlDatabase &database);

    // Negative, 0 or positive as the upper-case forms of the two UTF-8
    // texts compare.
    static int compareUtf8(const char *left, int leftLength, const char *right, int rightLength);

private:
    UpperCaseCollation() = default;

    static int collate(void *context, int leftLength, const void *left, int rightLength, const void *right);
    static void handleClosed(void *handle);
    // The upper case of a character that QString::toUpper() maps to one
    // character, or 0 for the few with a longer upper case (ß, ŉ, ﬁ ...) and
    // for characters beyond the Basic Multilingual Plane, which are rare
    // enough to leave to QString.
    static char32_t simpleUpperCase(char32_t character);
    // Fills the table entry of a character met for the first time.
    static quint32 learnUpperCase(char32_t character);
    static int compareRest(const unsigned char *left, int leftLength, const unsigned char *right, int rightLength);

    // The handles that carry the collation. SQLite drops a collation when it
    // closes the handle, and tells us, so a new handle at the same address is
    // never taken for one that has it. Never destroyed: a connection may be
    // closed by Qt's registry after our statics are gone.
    static QSet<sqlite3 *> &registeredHandles();
    // Connections of worker threads register theirs too.
    static QMutex &handlesLock();
    // Per character of the Basic Multilingual Plane: 0 while not yet known,
    // else a flag bit and simpleUpperCase(). Filled as characters are met,
    // so that a comparison never builds a QString for a common letter.
    static std::atomic<quint32> s_upperCases[0x10000];
};

} // namespace Velmar

#endif // VELMAR_UPPERCASECOLLATION_H
