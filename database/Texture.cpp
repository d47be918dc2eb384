#include "database/Texture.h"

#include "database/RecordReader.h"

#include <QByteArray>
#include <QDebug>

namespace Velmar {
namespace DB {

Texture::Texture()
    : collectionId(0)
    , baseAlpha(0.0)
{
}

Texture::Texture(const QSqlRecord &record)
    : AbstractBase(record)
    , collectionId(0)
    , baseAlpha(0.0)
{
    if (!RecordReader::take(record, QStringLiteral("COLLECTION_ID"), collectionId))
        qDebug() << "Oops.";
    RecordReader::take(record, QStringLiteral("NAME"), name);
    RecordReader::take(record, QStringLiteral("BASE_ALPHA"), baseAlpha);
    QByteArray bytes;
    if (RecordReader::take(record, QStringLiteral("IMAGE"), bytes))
        image = QImage::fromData(bytes);
}

bool Texture::isValid() const
{
    return AbstractBase::isValid();
}

} // namespace DB
} // namespace Velmar
