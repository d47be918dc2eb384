#include "database/CollectionQuery.h"

#include "database/CollectionFileConnection.h"

#include <QSqlQuery>

namespace Velmar {

namespace {

// Runs of a statement at the most, each after the file changed again.
const int s_runs = 5;

} // namespace

bool CollectionQuery::runOnce(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                              const RowVisitor &row, QSqlError &error)
{
    // A file that failed to open again: no statement, and no warning of the
    // driver's for it.
    if (!database.isOpen()) {
        error = QSqlError(QStringLiteral("The collection file is not open"), QString(), QSqlError::ConnectionError);
        return false;
    }
    QSqlQuery query(database);
    query.setForwardOnly(true);
    bool ran = false;
    if (values.isEmpty()) {
        ran = query.exec(statement);
    } else if (query.prepare(statement)) {
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            query.bindValue(it.key(), it.value());
        ran = query.exec();
    }
    if (ran) {
        while (query.next()) {
            if (!row(query))
                return true;
        }
        // The driver reports the end of the rows and a step that failed
        // alike; only its error tells them apart.
        if (!query.lastError().isValid())
            return true;
    }
    error = query.lastError();
    if (!error.isValid())
        error = QSqlError(QStringLiteral("The statement did not run"), QString(), QSqlError::StatementError);
    return false;
}

bool CollectionQuery::runWhole(const QSqlDatabase &database, const Look &look)
{
    QSqlDatabase connection = database;
    for (int run = 1;; ++run) {
        if (look(connection))
            return true;
        // A writer that comes or goes shows itself in steps (its log made or
        // removed, its index made or removed), each of which may fail a look
        // begun before it; a file that changes all the time must not keep
        // the caller here.
        if (run == s_runs || !CollectionFileConnection::reopenIfChanged(connection))
            return false;
    }
}

bool CollectionQuery::forEachRowOnce(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                                     const RowVisitor &row, QSqlError *failure)
{
    QSqlError error;
    if (runOnce(database, statement, values, row, error))
        return true;
    if (failure)
        *failure = error;
    return false;
}

bool CollectionQuery::forEachRow(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                                 const std::function<void()> &restart, const RowVisitor &row, QSqlError *failure)
{
    QSqlError error;
    bool runAgain = false;
    const bool read = runWhole(database, [&](const QSqlDatabase &connection) {
        if (runAgain && restart)
            restart();
        runAgain = true;
        return runOnce(connection, statement, values, row, error);
    });
    if (!read && failure)
        *failure = error;
    return read;
}

int CollectionQuery::firstRow(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                              QSqlRecord &out, QSqlError *failure)
{
    out.clear();
    bool found = false;
    const bool ran = forEachRow(
        database, statement, values, [&found] { found = false; },
        [&out, &found](const QSqlQuery &query) {
            out = query.record();
            found = true;
            return false;
        },
        failure);
    if (!ran) {
        out.clear();
        return -1;
    }
    return found ? 1 : 0;
}

} // namespace Velmar
