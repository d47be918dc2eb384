#ifndef HUEFORM_COLLECTIONWRITER_H
#define HUEFORM_COLLECTIONWRITER_H

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVariantMap>

// Writes collection files through the plug-in's own schema: the test
// fixtures and the demo collection builder both use it. The plug-in itself
// never writes a collection file.
class CollectionWriter
{
public:
    struct Card {
        int pageIndex = 1;
        int segment = 1;
        QString name;         // the NAME column, unique within the collection
        QStringList names;    // NAME0..NAME9
        QStringList extras;   // EXTRA0..EXTRA9
        bool exterior = false;
        int mood = 0;
    };

    struct Chip {
        int rowIndex = 1;
        QString code;
        QStringList names;    // NAME0..NAME9; NAME0 also fills NAME
        QStringList extras;   // EXTRA0..EXTRA9
        int segment = 1;
        int red = 0;
        int green = 0;
        int blue = 0;
        double L = 0.0;
        double a = 0.0;
        double b = 0.0;
        bool isMto = false;
        bool neutral = false;
        bool white = false;
        int mood = 0;
        int schemePos = 0;
        int nSchemePos = 0;
    };

    // Creates the file (and its folder) with the full structure; with
    // system data the file also holds the system-wide collection.
    explicit CollectionWriter(const QString &filePath, bool withSystemData = true);
    ~CollectionWriter();
    CollectionWriter(const CollectionWriter &) = delete;
    CollectionWriter &operator=(const CollectionWriter &) = delete;

    bool isOk() const;
    QString lastError() const;

    // A collection with "collection.enabled" 1 when enabled is set.
    qint64 addCollection(const QUuid &uuid, const QString &systemId, const QString &name, int order, bool enabled);
    // The id of the collection with the uuid; -1 when the file has none.
    qint64 collectionId(const QUuid &uuid) const;
    // A card of the collection, linked to it in COLLECTION_PAGE_MAP.
    qint64 addCard(qint64 collectionId, const Card &card);
    // Links an existing card to (another) collection.
    bool mapCard(qint64 collectionId, qint64 pageId);
    qint64 addChip(qint64 collectionId, qint64 pageId, const Chip &chip);

    // A single value, or a list of values with VALUE_INDEX 0, 1, 2, ...
    bool addSetting(qint64 collectionId, const QString &name, const QString &value, int valueIndex = 0);
    bool addSettings(qint64 collectionId, const QString &name, const QStringList &values);
    bool addText(qint64 collectionId, const QString &key, const QString &string, const QString &locale = QString());
    bool addThemeItem(qint64 collectionId, const QString &key, const QByteArray &data);

    // The file in write-ahead-log journal mode, with no checkpoint but the
    // ones asked for: what is written after one stays in the "-wal" file.
    bool useWriteAheadLog();
    // Copies the log into the file. The log keeps its frames until the next
    // write starts it again from its beginning.
    bool checkpoint();

    // Any other statement a fixture needs, with named values bound.
    bool exec(const QString &statement, const QVariantMap &values = QVariantMap());
    qint64 lastInsertId() const;

    QSqlDatabase database() const;

private:
    bool run(const QString &statement, const QVariantMap &values);

    QString m_connectionName;
    QString m_lastError;
    qint64 m_lastInsertId = -1;
    bool m_ok = false;
};

#endif // HUEFORM_COLLECTIONWRITER_H
