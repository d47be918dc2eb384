#ifndef VELMAR_DB_COLORENTRY_H
#define VELMAR_DB_COLORENTRY_H

#include "database/AbstractBase.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

namespace Velmar {
namespace DB {

// One colour chip: a ROW row.
class ColorEntry : public AbstractBase
{
public:
    ColorEntry();
    explicit ColorEntry(const QSqlRecord &record);

    bool isValid() const override;
    void reset() override;
    int fromSqlRecord(const QSqlRecord &record) override;

    QString name(int index) const;
    QString extra(int index) const;

    qint64 collectionId;
    qint64 pageId;
    int rowIndex;
    QString code;
    int segment;
    int red;
    int green;
    int blue;
    double L;
    double a;
    double b;
    bool isMto;
    bool neutral;
    bool white;
    int mood;
    int schemePos;
    int nSchemePos;
    QStringList names;
    QStringList extras;

private:
    void takeColumns(const QSqlRecord &record);
};

} // namespace DB
} // namespace Velmar

Q_DECLARE_METATYPE(Velmar::DB::ColorEntry)

#endif // VELMAR_DB_COLORENTRY_H
