#include "services/Localizer.h"

#include "database/DBManager.h"

namespace Velmar {

QString Localizer::getTextByKey(const QUuid &collection, const QString &key)
{
    return DBManager::GetLocaleEntry(collection, key);
}

} // namespace Velmar
