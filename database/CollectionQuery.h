#ifndef VELMAR_COLLECTIONQUERY_H
#define VELMAR_COLLECTIONQUERY_H

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QString>
#include <QVariantMap>

#include <functional>

class QSqlQuery;

namespace Velmar {

// Statements on the connection of a collection file, read whole or not at
// all: a step that fails part-way is a failure, never a shorter result. A
// statement that failed because the file changed under it (a writer began
// on a file read without its locks, switched its journal mode, replaced it)
// runs again from its start on the connection opened on what the file holds
// now; four times at the most.
class CollectionQuery
{
public:
    // Given each row; false stops the walk there.
    using RowVisitor = std::function<bool(const QSqlQuery &)>;

    // Runs the statement, the values bound to their placeholders, and hands
    // each row to `row`. True when the walk reached the last row or `row`
    // stopped it; false when the statement failed, with its error in
    // `failure` when given. `restart` is called before the statement runs
    // again, to forget the rows given so far.
    static bool forEachRow(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                           const std::function<void()> &restart, const RowVisitor &row, QSqlError *failure = nullptr);
    static bool forEachRow(const QSqlDatabase &database, const QString &statement, const std::function<void()> &restart,
                           const RowVisitor &row, QSqlError *failure = nullptr)
    {
        return forEachRow(database, statement, QVariantMap(), restart, row, failure);
    }

    // A look at the file through several statements, each run once with
    // forEachRowOnce, read whole or not at all as a statement is: when it
    // failed because the file changed, it runs again from its start on the
    // connection opened on what the file holds now. `look` must forget what
    // an earlier run gave.
    using Look = std::function<bool(const QSqlDatabase &)>;
    static bool runWhole(const QSqlDatabase &database, const Look &look);
    // One run of the statement within a look: a failure is not followed by
    // a run of its own.
    static bool forEachRowOnce(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                               const RowVisitor &row, QSqlError *failure = nullptr);

    // The first row of the statement: 1 and the row in `out`, 0 when there
    // is none, -1 when the statement failed.
    static int firstRow(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                        QSqlRecord &out, QSqlError *failure = nullptr);
    static int firstRow(const QSqlDatabase &database, const QString &statement, QSqlRecord &out,
                        QSqlError *failure = nullptr)
    {
        return firstRow(database, statement, QVariantMap(), out, failure);
    }

private:
    CollectionQuery() = default;

    // One run of the statement; false on a failure, with its error.
    static bool runOnce(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                        const RowVisitor &row, QSqlError &error);
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONQUERY_H
