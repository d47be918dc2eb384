#ifndef VELMAR_SUGGESTIONORDER_H
#define VELMAR_SUGGESTIONORDER_H

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>
#include <QVariant>

namespace Velmar {

// How the search field's suggestions are ordered. The names and codes come
// in the order of the collection file's own collation, which decides which
// texts are the same and in which order equal-looking ones meet the final
// sort without regard to case; that sort keeps them as it finds them no
// more than any unstable sort does, so both steps are kept as they were.
class SuggestionOrder
{
public:
    // SQLite's order of two values of a column: numbers before texts before
    // blobs; texts by code point (the BINARY collation on UTF-8), or with A
    // to Z taken as a to z first (NOCASE); blobs byte by byte.
    static int compareValues(const QVariant &left, const QVariant &right, bool ignoringAsciiCase);
    // A text that two values share exactly when compareValues finds them
    // equal, for sets of values already seen.
    static QString distinctKey(const QVariant &value, bool ignoringAsciiCase);

    // The same as QString::compare(left, right, Qt::CaseInsensitive) < 0,
    // at a fraction of its cost per character.
    static bool lessCaseInsensitive(QStringView left, QStringView right);
    // The sign of QString::compare(left, right, Qt::CaseInsensitive).
    static int compareCaseInsensitive(QStringView left, QStringView right);
    // The final order, with texts that differ only in case put in the order
    // of their code points: 0 for the same text alone. Where the final sort
    // leaves such texts is not this order; it only tells them apart.
    static int compareDistinct(QStringView left, QStringView right);

    // Texts sorted and made distinct as the BINARY collation does it.
    // False, and the texts as they were, when the thread was asked
    // to stop meanwhile: a big deck's sorts take a while.
    static bool sortDistinctByCodePoint(QStringList &texts);
    static bool sortDistinctByCodePoint(QVector<QStringView> &texts);

    // The final order of the suggestions: case-insensitive, equal ones as
    // std::sort with lessCaseInsensitive leaves them. False as above.
    static bool sortCaseInsensitively(QStringList &texts);
    static bool sortCaseInsensitively(QVector<QStringView> &texts);

    // Of texts in that final order: whether the first, and whether all,
    // stand where the sort puts them whatever it does with texts that
    // differ only in case (no such text beside the first, beside any).
    static void orderOfCaseTies(const QStringList &texts, bool &firstKnown, bool &orderKnown);

private:
    SuggestionOrder() = default;
};

} // namespace Velmar

#endif // VELMAR_SUGGESTIONORDER_H
