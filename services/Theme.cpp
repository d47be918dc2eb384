#include "services/Theme.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace Velmar {

const QString Theme::KeyOfWidgetMainBackgroundImage = QStringLiteral("image.widget.main.background");
const QString Theme::KeyOfWidgetBarBackgroundImage = QStringLiteral("image.widget.bar.background");
const QString Theme::KeyOfDropDownArrowUpImage = QStringLiteral("image.widget.dropdown.arrow.up");
const QString Theme::KeyOfDropDownArrowDownImage = QStringLiteral("image.widget.dropdown.arrow.down");
const QString Theme::KeyOfColorWheelWidgetBackgroundImage = QStringLiteral("image.widget.color.wheel.background");
const QString Theme::KeyOfSearchWidgetMagnifyingGlassImage = QStringLiteral("image.widget.search.magnifying.glass");
const QString Theme::KeyOfRollBackwardNormalImage = QStringLiteral("image.widget.roll.backward.normal");
const QString Theme::KeyOfRollBackwardDownImage = QStringLiteral("image.widget.roll.backward.down");
const QString Theme::KeyOfRollForwardNormalImage = QStringLiteral("image.widget.roll.forward.normal");
const QString Theme::KeyOfRollForwardDownImage = QStringLiteral("image.widget.roll.forward.down");
const QString Theme::KeyOfTickNormalImage = QStringLiteral("image.tick.normal");
const QString Theme::KeyOfVerticalScrollbarThumbImage = QStringLiteral("image.vertical.scrollbar.thumb");
const QString Theme::KeyOfHeaderImage = QStringLiteral("image.banner");
const QString Theme::KeyOfIconImage = QStringLiteral("image.window.icon");
const QString Theme::KeyOfDizevizButtonImage = QStringLiteral("image.dizeviz.button.normal");
const QString Theme::KeyOfAboutBoxLogoImage = QStringLiteral("image.about.logo");
const QString Theme::KeyOfMtoImage = QStringLiteral("image.mto");

const QString Theme::KeyOfMoodCalmNormalImage = QStringLiteral("image.mood.calm.normal");
const QString Theme::KeyOfMoodCalmSelectedImage = QStringLiteral("image.mood.calm.selected");
const QString Theme::KeyOfMoodFreshNormalImage = QStringLiteral("image.mood.fresh.normal");
const QString Theme::KeyOfMoodFreshSelectedImage = QStringLiteral("image.mood.fresh.selected");
const QString Theme::KeyOfMoodNeutralNormalImage = QStringLiteral("image.mood.neutral.normal");
const QString Theme::KeyOfMoodNeutralSelectedImage = QStringLiteral("image.mood.neutral.selected");
const QString Theme::KeyOfMoodOffwhiteNormalImage = QStringLiteral("image.mood.offwhite.normal");
const QString Theme::KeyOfMoodOffwhiteSelectedImage = QStringLiteral("image.mood.offwhite.selected");
const QString Theme::KeyOfMoodRichNormalImage = QStringLiteral("image.mood.rich.normal");
const QString Theme::KeyOfMoodRichSelectedImage = QStringLiteral("image.mood.rich.selected");
const QString Theme::KeyOfMoodWarmNormalImage = QStringLiteral("image.mood.warm.normal");
const QString Theme::KeyOfMoodWarmSelectedImage = QStringLiteral("image.mood.warm.selected");
const QString Theme::KeyOfMoodAllMoodsImage = QStringLiteral("image.mood.all.moods");
const QString Theme::KeyOfMoodExternalColorsOnlyImage = QStringLiteral("image.mood.external.colors.only");
const QString Theme::KeyOfMoodDisabledImage = QStringLiteral("image.mood.disabled");

const QString Theme::KeyOfSchemeContrastingNormalImage = QStringLiteral("image.scheme.contrasting.normal");
const QString Theme::KeyOfSchemeContrastingSelectedImage = QStringLiteral("image.scheme.contrasting.selected");
const QString Theme::KeyOfSchemeDramaticNormalImage = QStringLiteral("image.scheme.dramatic.normal");
const QString Theme::KeyOfSchemeDramaticSelectedImage = QStringLiteral("image.scheme.dramatic.selected");
const QString Theme::KeyOfSchemeDynamicNormalImage = QStringLiteral("image.scheme.dynamic.normal");
const QString Theme::KeyOfSchemeDynamicSelectedImage = QStringLiteral("image.scheme.dynamic.selected");
const QString Theme::KeyOfSchemeHarmonisingNormalImage = QStringLiteral("image.scheme.harmonising.normal");
const QString Theme::KeyOfSchemeHarmonisingSelectedImage = QStringLiteral("image.scheme.harmonising.selected");
const QString Theme::KeyOfSchemeNeutralNormalImage = QStringLiteral("image.scheme.tonal.neutral.normal");
const QString Theme::KeyOfSchemeNeutralSelectedImage = QStringLiteral("image.scheme.tonal.neutral.selected");
const QString Theme::KeyOfSchemeWideContrastNormalImage = QStringLiteral("image.scheme.wide.contrast.normal");
const QString Theme::KeyOfSchemeWideContrastSelectedImage = QStringLiteral("image.scheme.wide.contrast.selected");
const QString Theme::KeyOfComplementaryNeutralMarkerNormalImage = QStringLiteral("image.complementary.neutral.marker.normal");
const QString Theme::KeyOfComplementaryNeutralMarkerSelectedImage = QStringLiteral("image.complementary.neutral.marker.selected");

const QString Theme::KeyOfMyPaletteEraserImage = QStringLiteral("image.mypalette.eraser");
const QString Theme::KeyOfMyPaletteGridOffImage = QStringLiteral("image.mypalette.grid.off");
const QString Theme::KeyOfMyPaletteTrashImage = QStringLiteral("image.mypalette.trash");
const QString Theme::KeyOfMyPaletteZoomImage = QStringLiteral("image.mypalette.zoom");
const QString Theme::KeyOfMyPaletteClearPaletteQuestionImage = QStringLiteral("image.mypalette.clear.question.icon");
const QString Theme::KeyOfMyPaletteFullBackButtonImage = QStringLiteral("image.mypalettefull.back");
const QString Theme::KeyOfMyPaletteFullSliderBackgroundImage = QStringLiteral("image.mypalettefull.slider.background");
const QString Theme::KeyOfMyPaletteFullSliderThumbImage = QStringLiteral("image.mypalettefull.slider.thumb");

const QString Theme::KeyOfHuecastGroupOpenImage = QStringLiteral("image.huecast.group.open");
const QString Theme::KeyOfHuecastGroupClosedImage = QStringLiteral("image.huecast.group.closed");

const QString Theme::KeyOfCollectionSelectorTextColor = QStringLiteral("color.widget.collectionselector.text");
const QString Theme::KeyOfPreferredFontFaces = QStringLiteral("list.of.preferred.font.faces");

QString Theme::s_preferredFontFamily;
int Theme::s_preferredFontBaseSize = 0;
bool Theme::s_preferredFontChosen = false;
QHash<QString, QFont> Theme::g_fontCache;

namespace {

QList<Theme::FontFace> builtInFontFaces()
{
    return {{QStringLiteral("Myriad Pro"), 12}, {QStringLiteral("Arial"), 10}};
}

// The stored lists use the 0 to 99 weight scale; the nearest named weight.
QFont::Weight fontWeight(int storedWeight)
{
    struct Step {
        int stored;
        QFont::Weight weight;
    };
    static const Step steps[] = {{0, QFont::Thin},      {12, QFont::ExtraLight}, {25, QFont::Light},
                                 {50, QFont::Normal},   {57, QFont::Medium},     {63, QFont::DemiBold},
                                 {75, QFont::Bold},     {81, QFont::ExtraBold},  {87, QFont::Black}};
    const Step *nearest = &steps[0];
    for (const Step &step : steps) {
        if (std::abs(step.stored - storedWeight) < std::abs(nearest->stored - storedWeight))
            nearest = &step;
    }
    return nearest->weight;
}

int fontSizeStep(int size)
{
    switch (size) {
    case Theme::FontSizeSmallest:
        return -2;
    case Theme::FontSizeSmaller:
        return -1;
    case Theme::FontSizeLarger:
        return 1;
    case Theme::FontSizeLargest:
        return 2;
    default:
        return 0;
    }
}

} // namespace

QImage Theme::placeholderImage(const QSize &size)
{
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_ARGB32);
    image.fill(QColor(255, 255, 255));
    const int right = size.width() - 2;
    const int bottom = size.height() - 2;
    if (right >= 1 && bottom >= 1) {
        // One-pixel outline on the pixels (1, 1) to (w - 2, h - 2), drawn as
        // lines so that the end pixels are exact for every size.
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(255, 0, 0), 0));
        painter.drawLine(1, 1, right, 1);
        painter.drawLine(1, bottom, right, bottom);
        painter.drawLine(1, 1, 1, bottom);
        painter.drawLine(right, 1, right, bottom);
    }
    return image;
}

QImage Theme::getImageByKey(const QUuid &collection, const QString &key, const QSize &size)
{
    QByteArray bytes;
    if (DBManager::GetThemeEntry(collection, key, bytes) == 0) {
        QImage image;
        if (image.loadFromData(bytes))
            return image;
    }
    return placeholderImage(size);
}

QImage Theme::getImageByKey(const QString &key, const QSize &size)
{
    return getImageByKey(DBStructure::SystemWideCollectionUuid, key, size);
}

QColor Theme::getColorByKey(const QUuid &collection, const QString &key, const QColor &defaultColour)
{
    QByteArray bytes;
    if (DBManager::GetThemeEntry(collection, key, bytes) != 0)
        return defaultColour;
    const int end = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.size() != 3 && parts.size() != 4)
        return defaultColour;
    int channels[4] = {0, 0, 0, 255};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        channels[i] = parts.at(i).toInt(&ok, 10);
        if (!ok || channels[i] < 0 || channels[i] > 255)
            return defaultColour;
    }
    return QColor(channels[0], channels[1], channels[2], channels[3]);
}

QColor Theme::getColorByKey(const QString &key, const QColor &defaultColour)
{
    return getColorByKey(DBStructure::SystemWideCollectionUuid, key, defaultColour);
}

QList<Theme::FontFace> Theme::fontFacesFromList(const QByteArray &list)
{
    QList<FontFace> faces;
    QStringList families;
    for (const QString &entry : QString::fromUtf8(list).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList pieces = entry.split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (pieces.size() != 2)
            continue;
        bool ok = false;
        const int pointSize = pieces.at(1).toInt(&ok, 10);
        if (!ok || pointSize <= 0)
            continue;
        if (families.contains(pieces.at(0)))
            return builtInFontFaces();
        families.append(pieces.at(0));
        faces.append({pieces.at(0), pointSize});
    }
    return faces.isEmpty() ? builtInFontFaces() : faces;
}

QString Theme::preferredFontFamily()
{
    if (s_preferredFontChosen)
        return s_preferredFontFamily;

    QByteArray list;
    if (DBManager::GetThemeEntry(DBStructure::SystemWideCollectionUuid, KeyOfPreferredFontFaces, list) != 0
        && DBManager::GetThemeEntry(DBStructure::SystemWideCollectionUuid, KeyOfPreferredFontFaces + QStringLiteral(".macos"), list) != 0)
        list = QByteArrayLiteral("Myriad Pro,12;Arial,10");
    const QList<FontFace> faces = fontFacesFromList(list);

    const QStringList installed = QFontDatabase::families();
    for (const FontFace &face : faces) {
        const auto found = std::find_if(installed.cbegin(), installed.cend(), [&face](const QString &family) {
            return family.compare(face.family, Qt::CaseInsensitive) == 0;
        });
        if (found != installed.cend()) {
            s_preferredFontFamily = *found;
            s_preferredFontBaseSize = face.pointSize;
            s_preferredFontChosen = true;
            return s_preferredFontFamily;
        }
    }
    // None of them is installed (the built-in pair never is on Linux): the
    // toolkit's default family at the list's first size, chosen once.
    s_preferredFontFamily = QGuiApplication::font().family();
    s_preferredFontBaseSize = faces.first().pointSize;
    s_preferredFontChosen = true;
    return s_preferredFontFamily;
}

QFont Theme::getFont(const QString &family, int pointSize, int weight, bool italic, int letterSpacing, int stretch)
{
    // Qt refuses a point size of 0 or less with a warning on every call.
    const int size = std::max(1, pointSize);
    const QString key = QStringLiteral("%1,%2,%3,%4,%5,%6")
                            .arg(family)
                            .arg(size)
                            .arg(weight)
                            .arg(italic ? 1 : 0)
                            .arg(letterSpacing)
                            .arg(stretch);
    auto cached = g_fontCache.constFind(key);
    if (cached == g_fontCache.constEnd()) {
        QFont font(family);
        font.setPointSize(size);
        font.setWeight(fontWeight(weight));
        font.setItalic(italic);
        font.setStyleStrategy(QFont::PreferAntialias);
        font.setLetterSpacing(QFont::PercentageSpacing, letterSpacing);
        font.setStretch(stretch);
        cached = g_fontCache.insert(key, font);
    }
    return cached.value();
}

QFont Theme::variantFont(int size, int weight, bool italic)
{
    const QString family = preferredFontFamily();
    return getFont(family, s_preferredFontBaseSize + fontSizeStep(size), weight, italic, 100, 100);
}

QFont Theme::normalFont(int size)
{
    return variantFont(size, 50, false);
}

QFont Theme::italicFont(int size)
{
    return variantFont(size, 50, true);
}

QFont Theme::semiBoldFont(int size)
{
    return variantFont(size, 63, false);
}

QFont Theme::semiBoldItalicFont(int size)
{
    return variantFont(size, 63, true);
}

QFont Theme::boldFont(int size)
{
    return variantFont(size, 75, false);
}

QFont Theme::boldItalicFont(int size)
{
    return variantFont(size, 75, true);
}

void Theme::selectedCollectionChanged(const QUuid &collection)
{
    Q_UNUSED(collection)
    s_preferredFontFamily.clear();
    s_preferredFontBaseSize = 8;
    s_preferredFontChosen = false;
}

} // namespace Velmar
