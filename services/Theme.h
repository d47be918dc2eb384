#ifndef VELMAR_THEME_H
#define VELMAR_THEME_H

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QUuid>

namespace Velmar {

// The look of the plug-in comes from the collection files: every image a
// view paints, the themed text colour and the preferred font faces are
// THEME rows, turned here into images, colours and fonts with fixed
// fallbacks. A missing image shows as a white placeholder with a red
// outline, so that it is visible on screen but never fatal.
class Theme
{
public:
    // Steps from the preferred base point size; other values count as the base.
    enum FontSize {
        FontSizeSmallest = 0, // base - 2
        FontSizeSmaller = 1,  // base - 1
        FontSizeNormal = 2,   // base
        FontSizeLarger = 3,   // base + 1
        FontSizeLargest = 4   // base + 2
    };

    struct FontFace {
        QString family;
        int pointSize = 0;
        bool operator==(const FontFace &other) const
        {
            return family == other.family && pointSize == other.pointSize;
        }
    };

    static const QString KeyOfWidgetMainBackgroundImage;
    static const QString KeyOfWidgetBarBackgroundImage;
    static const QString KeyOfDropDownArrowUpImage;
    static const QString KeyOfDropDownArrowDownImage;
    static const QString KeyOfColorWheelWidgetBackgroundImage;
    static const QString KeyOfSearchWidgetMagnifyingGlassImage;
    static const QString KeyOfRollBackwardNormalImage;
    static const QString KeyOfRollBackwardDownImage;
    static const QString KeyOfRollForwardNormalImage;
    static const QString KeyOfRollForwardDownImage;
    static const QString KeyOfTickNormalImage;
    static const QString KeyOfVerticalScrollbarThumbImage;
    static const QString KeyOfHeaderImage;
    static const QString KeyOfIconImage;
    static const QString KeyOfDizevizButtonImage;
    static const QString KeyOfAboutBoxLogoImage;
    static const QString KeyOfMtoImage;

    static const QString KeyOfMoodCalmNormalImage;
    static const QString KeyOfMoodCalmSelectedImage;
    static const QString KeyOfMoodFreshNormalImage;
    static const QString KeyOfMoodFreshSelectedImage;
    static const QString KeyOfMoodNeutralNormalImage;
    static const QString KeyOfMoodNeutralSelectedImage;
    static const QString KeyOfMoodOffwhiteNormalImage;
    static const QString KeyOfMoodOffwhiteSelectedImage;
    static const QString KeyOfMoodRichNormalImage;
    static const QString KeyOfMoodRichSelectedImage;
    static const QString KeyOfMoodWarmNormalImage;
    static const QString KeyOfMoodWarmSelectedImage;
    static const QString KeyOfMoodAllMoodsImage;
    static const QString KeyOfMoodExternalColorsOnlyImage;
    static const QString KeyOfMoodDisabledImage;

    static const QString KeyOfSchemeContrastingNormalImage;
    static const QString KeyOfSchemeContrastingSelectedImage;
    static const QString KeyOfSchemeDramaticNormalImage;
    static const QString KeyOfSchemeDramaticSelectedImage;
    static const QString KeyOfSchemeDynamicNormalImage;
    static const QString KeyOfSchemeDynamicSelectedImage;
    static const QString KeyOfSchemeHarmonisingNormalImage;
    static const QString KeyOfSchemeHarmonisingSelectedImage;
    static const QString KeyOfSchemeNeutralNormalImage;
    static const QString KeyOfSchemeNeutralSelectedImage;
    static const QString KeyOfSchemeWideContrastNormalImage;
    static const QString KeyOfSchemeWideContrastSelectedImage;
    static const QString KeyOfComplementaryNeutralMarkerNormalImage;
    static const QString KeyOfComplementaryNeutralMarkerSelectedImage;

    static const QString KeyOfMyPaletteEraserImage;
    static const QString KeyOfMyPaletteGridOffImage;
    static const QString KeyOfMyPaletteTrashImage;
    static const QString KeyOfMyPaletteZoomImage;
    static const QString KeyOfMyPaletteClearPaletteQuestionImage;
    static const QString KeyOfMyPaletteFullBackButtonImage;
    static const QString KeyOfMyPaletteFullSliderBackgroundImage;
    static const QString KeyOfMyPaletteFullSliderThumbImage;

    static const QString KeyOfHuecastGroupOpenImage;
    static const QString KeyOfHuecastGroupClosedImage;

    static const QString KeyOfCollectionSelectorTextColor;
    static const QString KeyOfPreferredFontFaces;

    // The item decoded at its own size, or the placeholder of the size asked
    // for (a null image when that size is empty).
    static QImage getImageByKey(const QUuid &collection, const QString &key, const QSize &size);
    // The same from the system-wide collection.
    static QImage getImageByKey(const QString &key, const QSize &size);
    // Three or four decimal parts 0 to 255 (red, green, blue, alpha); any
    // other text gives the default.
    static QColor getColorByKey(const QUuid &collection, const QString &key, const QColor &defaultColour);
    static QColor getColorByKey(const QString &key, const QColor &defaultColour);

    // The first installed family of the system-wide collection's list, chosen
    // once; the toolkit's default family when none of them is installed.
    static QString preferredFontFamily();
    // The entries of a font list ("family,size;family,size"), or the built-in
    // pair when no entry is valid or a family is named twice.
    static QList<FontFace> fontFacesFromList(const QByteArray &list);

    // The weight is on the 0 to 99 scale of the stored font lists: 50 normal,
    // 63 semi-bold, 75 bold.
    static QFont getFont(const QString &family, int pointSize, int weight, bool italic, int letterSpacing, int stretch);
    static QFont normalFont(int size = FontSizeNormal);
    static QFont italicFont(int size = FontSizeNormal);
    static QFont semiBoldFont(int size = FontSizeNormal);
    static QFont semiBoldItalicFont(int size = FontSizeNormal);
    static QFont boldFont(int size = FontSizeNormal);
    static QFont boldItalicFont(int size = FontSizeNormal);

    // Forgets the chosen family, so that the next font chooses again.
    static void selectedCollectionChanged(const QUuid &collection);

    static QString s_preferredFontFamily;
    static int s_preferredFontBaseSize;
    static bool s_preferredFontChosen;
    static QHash<QString, QFont> g_fontCache;

private:
    Theme() = default;

    static QImage placeholderImage(const QSize &size);
    static QFont variantFont(int size, int weight, bool italic);
};

} // namespace Velmar

#endif // VELMAR_THEME_H
