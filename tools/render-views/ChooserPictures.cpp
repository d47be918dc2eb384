#include "PictureSink.h"
#include "Pictures.h"

#include "database/DBManager.h"
#include "plugin/CollectionSelectWidget.h"
#include "plugin/DizevizSelectDialog.h"
#include "plugin/DropDownButton.h"
#include "plugin/ImageButton.h"
#include "services/Theme.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

namespace {

// The chooser sits at (0, 71) of the main widget; the pictures show it on
// the part of the main background around that place.
const QPoint chooserInMain(0, 71);
const QPoint chooserInPicture(0, 6);

QLabel *backdrop(const QSize &size)
{
    const QImage background = Velmar::Theme::getImageByKey(Velmar::Theme::KeyOfWidgetMainBackgroundImage, QSize(800, 600));
    auto *label = new QLabel;
    label->setFixedSize(size);
    label->setPixmap(QPixmap::fromImage(background.copy(QRect(chooserInMain - chooserInPicture, size))));
    return label;
}

} // namespace

// The collection chooser closed, with the Dizeviz button, and open with its
// list; the Dizeviz dialog offering chips of two collections.
void drawCollectionChooserPictures(PictureSink &sink)
{
    {
        QLabel *picture = backdrop(QSize(234, 42));
        auto *chooser = new Velmar::CollectionSelectWidget(picture);
        chooser->move(chooserInPicture);
        sink.save(QStringLiteral("collection-chooser"), picture);
        delete picture;
    }
    {
        // A measurement waiting in the watched folder.
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("measurement.cxf"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.close();
        QLabel *picture = backdrop(QSize(234, 42));
        auto *chooser = new Velmar::CollectionSelectWidget(picture);
        chooser->move(chooserInPicture);
        chooser->dizevizFileChanged(path);
        // A still picture cannot pulse; it shows the button at full strength.
        chooser->dizevizButton()->stopPulsating();
        sink.save(QStringLiteral("collection-chooser-dizeviz"), picture);
        delete picture;
    }
    {
        QLabel *picture = backdrop(QSize(234, 176));
        auto *chooser = new Velmar::CollectionSelectWidget(picture);
        chooser->move(chooserInPicture);
        picture->show();
        chooser->dropDownButton()->click();
        sink.save(QStringLiteral("collection-chooser-open"), picture);
        delete picture;
    }
    {
        // Two chips of the interior deck and one of the card deck.
        QVector<Velmar::DB::ColorEntry> entries;
        for (const QString &code : {QStringLiteral("DI-0202"), QStringLiteral("DI-1205"), QStringLiteral("AC-101")}) {
            Velmar::DB::ColorEntry entry;
            if (Velmar::DBManager::GetColorEntryByColorCode(code, entry) == 0)
                entries.append(entry);
        }
        Velmar::DizevizSelectDialog dialog(entries);
        sink.save(QStringLiteral("dizeviz-dialog"), &dialog);
    }
}
