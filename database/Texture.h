#ifndef VELMAR_DB_TEXTURE_H
#define VELMAR_DB_TEXTURE_H

#include "database/AbstractBase.h"

#include <QImage>
#include <QString>

namespace Velmar {
namespace DB {

// One TEXTURE row with its decoded image.
class Texture : public AbstractBase
{
public:
    Texture();
    explicit Texture(const QSqlRecord &record);

    bool isValid() const override;

    qint64 collectionId;
    QString name;
    double baseAlpha;
    QImage image;
};

} // namespace DB
} // namespace Velmar

#endif // VELMAR_DB_TEXTURE_H
