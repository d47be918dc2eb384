#include "CollectionWriter.h"

#include "database/DBStructure.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

namespace {

int connectionCounter = 0;

// The schema's NOT NULL text columns take "" where a caller left a text unset.
QString notNull(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QVariant nameAt(const QStringList &list, int index)
{
    // Missing names stay NULL, as in files that carry fewer than ten.
    return index < list.size() ? QVariant(list.at(index)) : QVariant(QMetaType::fromType<QString>());
}

void bindNamesAndExtras(QVariantMap &values, const QStringList &names, const QStringList &extras)
{
    for (int i = 0; i < 10; ++i) {
        values.insert(QStringLiteral(":NAME%1").arg(i), nameAt(names, i));
        values.insert(QStringLiteral(":EXTRA%1").arg(i), nameAt(extras, i));
    }
}

QString namesAndExtrasColumns()
{
    QStringList columns;
    for (int i = 0; i < 10; ++i)
        columns << QStringLiteral("NAME%1").arg(i) << QStringLiteral("EXTRA%1").arg(i);
    return columns.join(QStringLiteral(", "));
}

QString namesAndExtrasPlaceholders()
{
    QStringList placeholders;
    for (int i = 0; i < 10; ++i)
        placeholders << QStringLiteral(":NAME%1").arg(i) << QStringLiteral(":EXTRA%1").arg(i);
    return placeholders.join(QStringLiteral(", "));
}

} // namespace

CollectionWriter::CollectionWriter(const QString &filePath, bool withSystemData)
    : m_connectionName(QStringLiteral("CollectionWriter-%1").arg(++connectionCounter))
{
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(filePath);
    if (!db.open()) {
        m_lastError = db.lastError().text();
        return;
    }
    // Written once and thrown away or copied whole: waiting for the disk
    // after every row made a demo file take seconds.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous = OFF"));
    QString log;
    QTextStream stream(&log);
    const int created = Velmar::DBStructure::CreateStructure(&db, withSystemData, &stream);
    if (created != 0) {
        m_lastError = QStringLiteral("CreateStructure gave %1: %2").arg(created).arg(log);
        return;
    }
    m_ok = true;
}

CollectionWriter::~CollectionWriter()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool CollectionWriter::isOk() const
{
    return m_ok;
}

QString CollectionWriter::lastError() const
{
    return m_lastError;
}

bool CollectionWriter::useWriteAheadLog()
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next()
        || query.value(0).toString() != QLatin1String("wal")) {
        m_lastError = QStringLiteral("No write-ahead log: ") + query.lastError().text();
        m_ok = false;
        return false;
    }
    return run(QStringLiteral("PRAGMA wal_autocheckpoint = 0"), QVariantMap());
}

bool CollectionWriter::checkpoint()
{
    return run(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"), QVariantMap());
}

QSqlDatabase CollectionWriter::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

qint64 CollectionWriter::lastInsertId() const
{
    return m_lastInsertId;
}

bool CollectionWriter::run(const QString &statement, const QVariantMap &values)
{
    QSqlQuery query(database());
    if (!query.prepare(statement)) {
        m_lastError = query.lastError().text() + QStringLiteral(" in ") + statement;
        m_ok = false;
        return false;
    }
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        query.bindValue(it.key(), it.value());
    if (!query.exec()) {
        m_lastError = query.lastError().text() + QStringLiteral(" in ") + statement;
        m_ok = false;
        return false;
    }
    m_lastInsertId = query.lastInsertId().isValid() ? query.lastInsertId().toLongLong() : -1;
    return true;
}

bool CollectionWriter::exec(const QString &statement, const QVariantMap &values)
{
    return run(statement, values);
}

qint64 CollectionWriter::addCollection(const QUuid &uuid, const QString &systemId, const QString &name, int order,
                                       bool enabled)
{
    if (!run(QStringLiteral("INSERT INTO COLLECTION (UUID, SYSTEMID, VERSION, NAME, \"ORDER\") "
                            "VALUES (:UUID, :SYSTEMID, 1, :NAME, :ORDER)"),
             {{QStringLiteral(":UUID"), uuid.toString()},
              {QStringLiteral(":SYSTEMID"), notNull(systemId)},
              {QStringLiteral(":NAME"), notNull(name)},
              {QStringLiteral(":ORDER"), order}}))
        return -1;
    const qint64 id = m_lastInsertId;
    if (enabled && !addSetting(id, QStringLiteral("collection.enabled"), QStringLiteral("1")))
        return -1;
    return id;
}

qint64 CollectionWriter::collectionId(const QUuid &uuid) const
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT ID FROM COLLECTION WHERE UUID = :UUID COLLATE NOCASE"));
    query.bindValue(QStringLiteral(":UUID"), uuid.toString());
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

qint64 CollectionWriter::addCard(qint64 collectionId, const Card &card)
{
    QVariantMap values{{QStringLiteral(":COLLECTION_ID"), collectionId},
                       {QStringLiteral(":PAGE_INDEX"), card.pageIndex},
                       {QStringLiteral(":SEGMENT"), card.segment},
                       {QStringLiteral(":NAME"), card.name.isEmpty() ? QStringLiteral("card %1").arg(card.pageIndex) : card.name},
                       {QStringLiteral(":EXTERIOR"), card.exterior ? 1 : 0},
                       {QStringLiteral(":MOOD"), card.mood}};
    bindNamesAndExtras(values, card.names, card.extras);
    if (!run(QStringLiteral("INSERT INTO PAGE (COLLECTION_ID, PAGE_INDEX, SEGMENT, NAME, %1, EXTERIOR, MOOD) "
                            "VALUES (:COLLECTION_ID, :PAGE_INDEX, :SEGMENT, :NAME, %2, :EXTERIOR, :MOOD)")
                 .arg(namesAndExtrasColumns(), namesAndExtrasPlaceholders()),
             values))
        return -1;
    const qint64 pageId = m_lastInsertId;
    return mapCard(collectionId, pageId) ? pageId : -1;
}

bool CollectionWriter::mapCard(qint64 collectionId, qint64 pageId)
{
    return run(QStringLiteral("INSERT INTO COLLECTION_PAGE_MAP (COLLECTION_ID, PAGE_ID) VALUES (:COLLECTION_ID, :PAGE_ID)"),
               {{QStringLiteral(":COLLECTION_ID"), collectionId}, {QStringLiteral(":PAGE_ID"), pageId}});
}

qint64 CollectionWriter::addChip(qint64 collectionId, qint64 pageId, const Chip &chip)
{
    QVariantMap values{{QStringLiteral(":COLLECTION_ID"), collectionId},
                       {QStringLiteral(":PAGE_ID"), pageId},
                       {QStringLiteral(":ROW_INDEX"), chip.rowIndex},
                       {QStringLiteral(":CODE"), notNull(chip.code)},
                       {QStringLiteral(":NAME"), notNull(chip.names.value(0))},
                       {QStringLiteral(":SEGMENT"), chip.segment},
                       {QStringLiteral(":RED"), chip.red},
                       {QStringLiteral(":GREEN"), chip.green},
                       {QStringLiteral(":BLUE"), chip.blue},
                       {QStringLiteral(":L"), chip.L},
                       {QStringLiteral(":A"), chip.a},
                       {QStringLiteral(":B"), chip.b},
                       {QStringLiteral(":IS_MTO"), chip.isMto ? 1 : 0},
                       {QStringLiteral(":NEUTRAL"), chip.neutral ? 1 : 0},
                       {QStringLiteral(":WHITE"), chip.white ? 1 : 0},
                       {QStringLiteral(":MOOD"), chip.mood},
                       {QStringLiteral(":SCHEME_POS"), chip.schemePos},
                       {QStringLiteral(":NSCHEME_POS"), chip.nSchemePos}};
    bindNamesAndExtras(values, chip.names, chip.extras);
    if (!run(QStringLiteral("INSERT INTO \"ROW\" (COLLECTION_ID, PAGE_ID, ROW_INDEX, CODE, NAME, %1, SEGMENT, "
                            "RED, GREEN, BLUE, L, A, B, IS_MTO, NEUTRAL, WHITE, MOOD, SCHEME_POS, NSCHEME_POS) "
                            "VALUES (:COLLECTION_ID, :PAGE_ID, :ROW_INDEX, :CODE, :NAME, %2, :SEGMENT, "
                            ":RED, :GREEN, :BLUE, :L, :A, :B, :IS_MTO, :NEUTRAL, :WHITE, :MOOD, :SCHEME_POS, :NSCHEME_POS)")
                 .arg(namesAndExtrasColumns(), namesAndExtrasPlaceholders()),
             values))
        return -1;
    return m_lastInsertId;
}

bool CollectionWriter::addSetting(qint64 collectionId, const QString &name, const QString &value, int valueIndex)
{
    return run(QStringLiteral("INSERT INTO SETTING (COLLECTION_ID, NAME, VALUE, VALUE_INDEX) "
                              "VALUES (:COLLECTION_ID, :NAME, :VALUE, :VALUE_INDEX)"),
               {{QStringLiteral(":COLLECTION_ID"), collectionId},
                {QStringLiteral(":NAME"), notNull(name)},
                {QStringLiteral(":VALUE"), notNull(value)},
                {QStringLiteral(":VALUE_INDEX"), valueIndex}});
}

bool CollectionWriter::addSettings(qint64 collectionId, const QString &name, const QStringList &values)
{
    for (int i = 0; i < values.size(); ++i) {
        if (!addSetting(collectionId, name, values.at(i), i))
            return false;
    }
    return true;
}

bool CollectionWriter::addText(qint64 collectionId, const QString &key, const QString &string, const QString &locale)
{
    return run(QStringLiteral("INSERT INTO LOCALE (COLLECTION_ID, LOCALE, \"KEY\", STRING) "
                              "VALUES (:COLLECTION_ID, :LOCALE, :KEY, :STRING)"),
               {{QStringLiteral(":COLLECTION_ID"), collectionId},
                {QStringLiteral(":LOCALE"), notNull(locale)},
                {QStringLiteral(":KEY"), notNull(key)},
                {QStringLiteral(":STRING"), notNull(string)}});
}

bool CollectionWriter::addThemeItem(qint64 collectionId, const QString &key, const QByteArray &data)
{
    return run(QStringLiteral("INSERT INTO THEME (COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES (:COLLECTION_ID, :KEY, :DATA)"),
               {{QStringLiteral(":COLLECTION_ID"), collectionId},
                {QStringLiteral(":KEY"), notNull(key)},
                {QStringLiteral(":DATA"), data.isNull() ? QByteArray("") : data}});
}
