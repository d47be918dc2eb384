#ifndef HUEFORM_REFERENCESTATEMENTS_H
#define HUEFORM_REFERENCESTATEMENTS_H

#include "database/ColorEntry.h"
#include "database/ColorPage.h"
#include "inc/VelmarTypes.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVector>

// The statements that the suggestions, the card navigation and the look-ups
// by page index ran before they learnt to stop at what they need, word for
// word, on any connection to a collection file: the tests hold the
// database layer's results against them, the benchmarks its speed.
class ReferenceStatements
{
public:
    // GetAvailableSearchSuggestions with these search orders.
    static QStringList suggestions(const QSqlDatabase &file, qint64 collectionId, const QVector<qint64> &pageOrder,
                                   const QVector<qint64> &rowOrder);
    // FindNextCardByIndex, the form with the whole card.
    static int nextCard(const QSqlDatabase &file, qint64 collectionId, int pageIndex, Velmar::Direction direction,
                        Velmar::Mood mood, bool exterior, Velmar::DB::ColorPage &out);
    // GetColorPageByIndex.
    static int cardByIndex(const QSqlDatabase &file, qint64 collectionId, int pageIndex, Velmar::DB::ColorPage &out);
    // GetColorEntryByPageAndRowIndex.
    static int chip(const QSqlDatabase &file, qint64 collectionId, int pageIndex, int rowIndex,
                    Velmar::DB::ColorEntry &out);

private:
    ReferenceStatements() = default;
};

#endif // HUEFORM_REFERENCESTATEMENTS_H
