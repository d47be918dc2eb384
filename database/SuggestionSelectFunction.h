#ifndef VELMAR_SUGGESTIONSELECTFUNCTION_H
#define VELMAR_SUGGESTIONSELECTFUNCTION_H

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace Velmar {

class SuggestionSelection;

// An aggregate SQLite runs over the rows of a look-up by the beginning of a
// name, so that a big deck's matches are never handed to Qt one by one:
// "VELMAR_SUGGESTIONS(:PREFIX, limit, :AFTER, :BEFORE, page, chip, cards,
// R.CODE, R.NAME0)" keeps, of the rows whose page is one of the cards
// (their ids as "1,2,3"; NULL for every card), the texts that start with
// the prefix (case ignored as QString::startsWith ignores it) and stand
// between the bounds that a SuggestionSelection of that limit keeps, and
// every number and blob with the page, chip and column it was met in, as
// Qt's driver would read them. A row's card is found among the ids given
// at a fraction of what a look-up of each row's card in the statement costs.
// Its result is a blob that read() takes apart. Registered beside
// StartsWithFunction on every collection connection.
class SuggestionSelectFunction
{
public:
    static const QString Name;

    struct Other {
        QVariant value;
        qint64 page = 0;
        qint64 chip = 0;
        int column = 0;
    };

    static bool registerOn(sqlite3 *database);
    // Adds what the function gave to the selection and the others; false
    // when the blob is not one it gives. An empty blob is no row at all.
    static bool read(const QByteArray &result, SuggestionSelection &texts, QVector<Other> &others);

private:
    SuggestionSelectFunction() = default;

    struct State;
    static void step(sqlite3_context *context, int count, sqlite3_value **arguments);
    static void finish(sqlite3_context *context);
};

} // namespace Velmar

#endif // VELMAR_SUGGESTIONSELECTFUNCTION_H
