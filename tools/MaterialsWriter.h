#ifndef HUEFORM_MATERIALSWRITER_H
#define HUEFORM_MATERIALSWRITER_H

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVariantMap>

class CollectionWriter;

// Rows of the material that hangs off a collection: textures and their
// placings on cards, trend-colour groups and their colours, products and
// product groups with their links to chips. Shared by the demo builder and
// the test fixtures. Ids are -1 when a statement failed (the writer keeps the
// error).
class MaterialsWriter
{
public:
    static qint64 addTexture(CollectionWriter &writer, qint64 collectionId, const QString &name,
                             const QByteArray &image, double baseAlpha = 1.0);
    static bool placeTexture(CollectionWriter &writer, qint64 textureId, qint64 pageId, double alpha,
                             const QString &name);

    static qint64 addHuecastGroup(CollectionWriter &writer, qint64 collectionId, const QString &name,
                                  bool defaultOpen, int order);
    // Into HUECAST_ENTRY, or into the table named (a fixture may move the rows).
    static qint64 addHuecastEntry(CollectionWriter &writer, qint64 collectionId, qint64 groupId,
                                  const QString &name1, const QString &name2, const QColor &colour, int order,
                                  const QString &table = QStringLiteral("HUECAST_ENTRY"));
    // Names the chip a trend colour stands for.
    static bool setHuecastEntryRow(CollectionWriter &writer, qint64 entryId, qint64 rowId);

    static qint64 addProduct(CollectionWriter &writer, const QString &name);
    static qint64 addProductGroup(CollectionWriter &writer, const QString &name);
    static bool linkProduct(CollectionWriter &writer, qint64 collectionId, qint64 rowId, qint64 productId);
    static bool linkProductGroup(CollectionWriter &writer, qint64 collectionId, qint64 rowId, qint64 groupId);

private:
    MaterialsWriter() = default;
    static qint64 insert(CollectionWriter &writer, const QString &statement, const QVariantMap &values);
};

#endif // HUEFORM_MATERIALSWRITER_H
