#include "DemoDizeviz.h"

#include "CollectionWriter.h"
#include "DemoCollection.h"


const QString DemoDizeviz::WatchFolder = QStringLiteral("/tmp/hueform-dizeviz");
const QString DemoDizeviz::WatchFileName = QStringLiteral("measurement.cxf");

bool DemoDizeviz::write(CollectionWriter &writer, const QString &folder)
{
    const qint64 interior = writer.collectionId(DemoCollection::InteriorDeckUuid);
    if (interior < 0)
        return false;

    // Every deck is written with the link off; the interior deck turns it on.
    // The search across decks lists a deck only when it also has a priority.
    return writer.exec(QStringLiteral("UPDATE SETTING SET VALUE = '1' "
                                      "WHERE COLLECTION_ID = :ID AND NAME = 'dizeviz.enabled' COLLATE NOCASE"),
                       {{QStringLiteral(":ID"), interior}})
        && writer.addSetting(interior, QStringLiteral("dizeviz.priority"), QStringLiteral("1"))
        && writer.addSetting(interior, QStringLiteral("dizeviz.folder.to.watch.macos"), folder)
        && writer.addSetting(interior, QStringLiteral("dizeviz.filename.to.watch"), WatchFileName);
}
