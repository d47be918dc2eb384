#include "MaterialsWriter.h"

#include "CollectionWriter.h"

qint64 MaterialsWriter::insert(CollectionWriter &writer, const QString &statement, const QVariantMap &values)
{
    return writer.exec(statement, values) ? writer.lastInsertId() : -1;
}

qint64 MaterialsWriter::addTexture(CollectionWriter &writer, qint64 collectionId, const QString &name,
                                   const QByteArray &image, double baseAlpha)
{
    return insert(writer,
                  QStringLiteral("INSERT INTO TEXTURE (COLLECTION_ID, NAME, IMAGE, BASE_ALPHA) VALUES (:C, :N, :I, :A)"),
                  {{QStringLiteral(":C"), collectionId}, {QStringLiteral(":N"), name},
                   {QStringLiteral(":I"), image}, {QStringLiteral(":A"), baseAlpha}});
}

bool MaterialsWriter::placeTexture(CollectionWriter &writer, qint64 textureId, qint64 pageId, double alpha,
                                   const QString &name)
{
    return writer.exec(QStringLiteral("INSERT INTO TEXTURE_MAP (TEXTURE_ID, PAGE_ID, ALPHA, NAME) VALUES (:T, :P, :A, :N)"),
                       {{QStringLiteral(":T"), textureId}, {QStringLiteral(":P"), pageId},
                        {QStringLiteral(":A"), alpha}, {QStringLiteral(":N"), name}});
}

qint64 MaterialsWriter::addHuecastGroup(CollectionWriter &writer, qint64 collectionId, const QString &name,
                                        bool defaultOpen, int order)
{
    return insert(writer,
                  QStringLiteral("INSERT INTO HUECAST_GROUP (COLLECTION_ID, NAME, DEFAULT_OPEN, \"ORDER\") "
                                 "VALUES (:C, :N, :D, :O)"),
                  {{QStringLiteral(":C"), collectionId}, {QStringLiteral(":N"), name},
                   {QStringLiteral(":D"), defaultOpen ? 1 : 0}, {QStringLiteral(":O"), order}});
}

qint64 MaterialsWriter::addHuecastEntry(CollectionWriter &writer, qint64 collectionId, qint64 groupId,
                                        const QString &name1, const QString &name2, const QColor &colour, int order,
                                        const QString &table)
{
    return insert(writer,
                  QStringLiteral("INSERT INTO %1 (COLLECTION_ID, HUECAST_GROUP_ID, NAME_1, NAME_2, RED, GREEN, BLUE, "
                                 "\"ORDER\") VALUES (:C, :G, :N1, :N2, :R, :GR, :B, :O)")
                      .arg(table),
                  {{QStringLiteral(":C"), collectionId}, {QStringLiteral(":G"), groupId},
                   {QStringLiteral(":N1"), name1}, {QStringLiteral(":N2"), name2},
                   {QStringLiteral(":R"), colour.red()}, {QStringLiteral(":GR"), colour.green()},
                   {QStringLiteral(":B"), colour.blue()}, {QStringLiteral(":O"), order}});
}

bool MaterialsWriter::setHuecastEntryRow(CollectionWriter &writer, qint64 entryId, qint64 rowId)
{
    return writer.exec(QStringLiteral("UPDATE HUECAST_ENTRY SET ROW_ID = :R WHERE ID = :E"),
                       {{QStringLiteral(":R"), rowId}, {QStringLiteral(":E"), entryId}});
}

qint64 MaterialsWriter::addProduct(CollectionWriter &writer, const QString &name)
{
    return insert(writer, QStringLiteral("INSERT INTO PRODUCT (NAME) VALUES (:N)"), {{QStringLiteral(":N"), name}});
}

qint64 MaterialsWriter::addProductGroup(CollectionWriter &writer, const QString &name)
{
    return insert(writer, QStringLiteral("INSERT INTO PRODUCT_GROUP (NAME) VALUES (:N)"), {{QStringLiteral(":N"), name}});
}

bool MaterialsWriter::linkProduct(CollectionWriter &writer, qint64 collectionId, qint64 rowId, qint64 productId)
{
    return writer.exec(QStringLiteral("INSERT INTO ROW_PRODUCT_MAP (COLLECTION_ID, ROW_ID, PRODUCT_ID) VALUES (:C, :R, :P)"),
                       {{QStringLiteral(":C"), collectionId}, {QStringLiteral(":R"), rowId},
                        {QStringLiteral(":P"), productId}});
}

bool MaterialsWriter::linkProductGroup(CollectionWriter &writer, qint64 collectionId, qint64 rowId, qint64 groupId)
{
    return writer.exec(QStringLiteral("INSERT INTO ROW_PRODUCT_GROUP_MAP (COLLECTION_ID, ROW_ID, PRODUCT_GROUP_ID) "
                                      "VALUES (:C, :R, :G)"),
                       {{QStringLiteral(":C"), collectionId}, {QStringLiteral(":R"), rowId},
                        {QStringLiteral(":G"), groupId}});
}
