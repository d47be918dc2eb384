#include "PictureSink.h"
#include "Pictures.h"

#include "plugin/AboutButton.h"
#include "plugin/HelpButton.h"
#include "plugin/ImageButton.h"
#include "plugin/TaskButton.h"
#include "services/Theme.h"

#include <QWidget>

// The task row's buttons in their states, and the image buttons of the theme.
void drawButtonPictures(PictureSink &sink)
{
    QWidget row;
    row.resize(600, 80);
    row.setAutoFillBackground(true);
    row.setPalette(QPalette(QColor(118, 118, 118)));

    const struct {
        const char *text;
        bool enabled;
        bool focused;
    } tasks[] = {{"Select colour", true, false}, {"Swatch file", false, false}, {"Save", true, true}};
    int x = 10;
    for (const auto &task : tasks) {
        auto *button = new Velmar::TaskButton(&row);
        button->setText(QLatin1String(task.text));
        button->setGeometry(x, 10, 140, 24);
        button->setEnabled(task.enabled);
        if (task.focused)
            button->setFocus();
        x += 150;
    }
    auto *help = new Velmar::HelpButton(&row);
    help->setGeometry(x, 10, 24, 24);
    auto *about = new Velmar::AboutButton(&row);
    about->setGeometry(x + 34, 10, 24, 24);

    x = 10;
    for (const QString &key : {Velmar::Theme::KeyOfMyPaletteEraserImage, Velmar::Theme::KeyOfMyPaletteGridOffImage,
                               Velmar::Theme::KeyOfMyPaletteTrashImage, Velmar::Theme::KeyOfMyPaletteZoomImage,
                               Velmar::Theme::KeyOfDizevizButtonImage}) {
        const QImage image = Velmar::Theme::getImageByKey(key, QSize(16, 16));
        auto *button = new Velmar::ImageButton(image, image, &row);
        button->setGeometry(x, 46, 24, 24);
        x += 30;
    }
    auto *checked = new Velmar::ImageButton(Velmar::Theme::getImageByKey(Velmar::Theme::KeyOfMyPaletteEraserImage, QSize(16, 16)),
                                            QImage(), &row);
    checked->setCheckable(true);
    checked->setChecked(true);
    checked->setGeometry(x, 46, 24, 24);
    auto *disabled = new Velmar::ImageButton(Velmar::Theme::getImageByKey(Velmar::Theme::KeyOfMyPaletteTrashImage, QSize(16, 16)),
                                             QImage(), &row);
    disabled->setEnabled(false);
    disabled->setGeometry(x + 30, 46, 24, 24);

    sink.save(QStringLiteral("buttons"), &row);
}
