#include "database/TextureMap.h"

#include "database/RecordReader.h"

namespace Velmar {
namespace DB {

TextureMap::TextureMap()
    : textureId(0)
    , pageId(0)
    , alpha(0.0)
{
}

TextureMap::TextureMap(const QSqlRecord &record)
    : TextureMap()
{
    RecordReader::take(record, QStringLiteral("TEXTURE_ID"), textureId);
    RecordReader::take(record, QStringLiteral("PAGE_ID"), pageId);
    RecordReader::take(record, QStringLiteral("ALPHA"), alpha);
    RecordReader::take(record, QStringLiteral("NAME"), name);
}

} // namespace DB
} // namespace Velmar
