#ifndef VELMAR_DB_TEXTUREMAP_H
#define VELMAR_DB_TEXTUREMAP_H

#include <QSqlRecord>
#include <QString>

namespace Velmar {
namespace DB {

// One TEXTURE_MAP row: a texture placed on a card.
class TextureMap
{
public:
    TextureMap();
    explicit TextureMap(const QSqlRecord &record);

    qint64 textureId;
    qint64 pageId;
    QString name;
    double alpha;
};

} // namespace DB
} // namespace Velmar

#endif // VELMAR_DB_TEXTUREMAP_H
