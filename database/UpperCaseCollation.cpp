#include "database/UpperCaseCollation.h"

#include "database/SqliteHandle.h"

#include <QByteArrayView>
#include <QChar>

#include <sqlite3.h>

namespace Velmar {

namespace {

const char collationName[] = "VELMAR_UPPER";

} // namespace

const QString UpperCaseCollation::Name = QString::fromLatin1(collationName);

std::atomic<quint32> UpperCaseCollation::s_upperCases[0x10000] = {};

namespace {

const quint32 knownFlag = 0x80000000u;

inline unsigned asciiUpper(unsigned byte)
{
    return byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte;
}

inline bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The character the well-formed UTF-8 sequence at text starts with, and the
// sequence's length; 0 for a malformed sequence (which QString::fromUtf8
// replaces, so the caller leaves it to QString).
inline int decodeUtf8(const unsigned char *text, int length, char32_t &character)
{
    const unsigned lead = text[0];
    if (lead < 0x80) {
        character = lead;
        return 1;
    }
    if (lead < 0xC2)
        return 0;
    if (lead < 0xE0) {
        if (length < 2 || !isContinuation(text[1]))
            return 0;
        character = ((lead & 0x1F) << 6) | (text[1] & 0x3F);
        return 2;
    }
    if (lead < 0xF0) {
        if (length < 3 || !isContinuation(text[1]) || !isContinuation(text[2]))
            return 0;
        character = ((lead & 0x0F) << 12) | ((text[1] & 0x3F) << 6) | (text[2] & 0x3F);
        if (character < 0x800 || (character >= 0xD800 && character <= 0xDFFF))
            return 0;
        return 3;
    }
    if (lead < 0xF5) {
        if (length < 4 || !isContinuation(text[1]) || !isContinuation(text[2]) || !isContinuation(text[3]))
            return 0;
        character = ((lead & 0x07) << 18) | ((text[1] & 0x3F) << 12) | ((text[2] & 0x3F) << 6) | (text[3] & 0x3F);
        if (character < 0x10000 || character > 0x10FFFF)
            return 0;
        return 4;
    }
    return 0;
}

// A key that orders characters as their UTF-16 forms compare.
inline quint32 utf16Order(char32_t character)
{
    if (character < 0x10000)
        return quint32(character) << 16;
    return (quint32(QChar::highSurrogate(character)) << 16) | QChar::lowSurrogate(character);
}

inline int sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

QSet<sqlite3 *> &UpperCaseCollation::registeredHandles()
{
    static QSet<sqlite3 *> *const handles = new QSet<sqlite3 *>;
    return *handles;
}

QMutex &UpperCaseCollation::handlesLock()
{
    static QMutex *const lock = new QMutex;
    return *lock;
}

bool UpperCaseCollation::ensureRegistered(const QSqlDatabase &database)
{
    sqlite3 *const db = SqliteHandle::of(database);
    if (!db)
        return false;
    QMutexLocker locker(&handlesLock());
    if (registeredHandles().contains(db))
        return true;
    locker.unlock();
    if (sqlite3_create_collation_v2(db, collationName, SQLITE_UTF8, db, &UpperCaseCollation::collate,
                                    &UpperCaseCollation::handleClosed)
        != SQLITE_OK)
        return false;
    locker.relock();
    registeredHandles().insert(db);
    return true;
}

void UpperCaseCollation::handleClosed(void *handle)
{
    QMutexLocker locker(&handlesLock());
    registeredHandles().remove(static_cast<sqlite3 *>(handle));
}

int UpperCaseCollation::collate(void *context, int leftLength, const void *left, int rightLength, const void *right)
{
    Q_UNUSED(context)
    return compareUtf8(static_cast<const char *>(left), leftLength, static_cast<const char *>(right), rightLength);
}

quint32 UpperCaseCollation::learnUpperCase(char32_t character)
{
    const QString upper = QString(QChar(char16_t(character))).toUpper();
    const char32_t single = QChar::toUpper(character);
    const bool simple = upper.size() == 1 && upper.at(0).unicode() == single;
    const quint32 known = knownFlag | (simple ? quint32(single) : 0u);
    s_upperCases[character].store(known, std::memory_order_relaxed);
    return known;
}

inline char32_t UpperCaseCollation::simpleUpperCase(char32_t character)
{
    if (character >= 0x10000)
        return 0;
    quint32 known = s_upperCases[character].load(std::memory_order_relaxed);
    if (Q_UNLIKELY(known == 0))
        known = learnUpperCase(character);
    return char32_t(known & ~knownFlag);
}

int UpperCaseCollation::compareRest(const unsigned char *left, int leftLength, const unsigned char *right,
                                    int rightLength)
{
    const QString leftUpper = QString::fromUtf8(QByteArrayView(left, leftLength)).toUpper();
    const QString rightUpper = QString::fromUtf8(QByteArrayView(right, rightLength)).toUpper();
    return sign(QStringView(leftUpper).compare(QStringView(rightUpper), Qt::CaseSensitive));
}

int UpperCaseCollation::compareUtf8(const char *leftText, int leftLength, const char *rightText, int rightLength)
{
    // Upper-casing is done character by character, without context, so the
    // texts can be walked in step; most characters need no QString at all.
    const auto *left = reinterpret_cast<const unsigned char *>(leftText);
    const auto *right = reinterpret_cast<const unsigned char *>(rightText);
    int i = 0;
    int j = 0;
    while (i < leftLength && j < rightLength) {
        const unsigned a = left[i];
        const unsigned b = right[j];
        if ((a | b) < 0x80) {
            const unsigned upperA = asciiUpper(a);
            const unsigned upperB = asciiUpper(b);
            if (upperA != upperB)
                return upperA < upperB ? -1 : 1;
            ++i;
            ++j;
            continue;
        }
        char32_t characterA = 0;
        char32_t characterB = 0;
        const int lengthA = decodeUtf8(left + i, leftLength - i, characterA);
        const int lengthB = decodeUtf8(right + j, rightLength - j, characterB);
        if (lengthA == 0 || lengthB == 0)
            return compareRest(left + i, leftLength - i, right + j, rightLength - j);
        if (characterA != characterB) {
            const char32_t upperA = simpleUpperCase(characterA);
            const char32_t upperB = simpleUpperCase(characterB);
            if (upperA == 0 || upperB == 0)
                return compareRest(left + i, leftLength - i, right + j, rightLength - j);
            if (upperA != upperB)
                return utf16Order(upperA) < utf16Order(upperB) ? -1 : 1;
        }
        i += lengthA;
        j += lengthB;
    }
    // Every character has a non-empty upper case: the longer rest is greater.
    if (i < leftLength)
        return 1;
    if (j < rightLength)
        return -1;
    return 0;
}

} // namespace Velmar
