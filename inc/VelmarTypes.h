#ifndef VELMAR_TYPES_H
#define VELMAR_TYPES_H

#include <QFlags>
#include <QMetaType>

// Values shared by every subsystem. They live here, apart from any class,
// so that the collection database never has to include the services or the
// views for a type.
namespace Velmar {

// Equal to the ids of the MOOD rows and to the MOOD column of a card.
enum Mood {
    MoodNone = 0,
    MoodFresh = 1,
    MoodWarm = 2,
    MoodCalm = 3,
    MoodRich = 4,
    MoodOffwhite = 5,
    MoodNeutral = 6,
    MoodAll = 7 // a filter value only: every mood
};

// Card navigation wraps around at both ends of the deck.
enum Direction {
    DirectionForward = 0,
    DirectionBackward = 1
};

// Equal to the ids of the SCHEME rows.
enum SchemeKind {
    SchemeNone = 0,
    SchemeHarmonic = 1,
    SchemeContrast = 2,
    SchemeWideContrast = 3,
    SchemeDynamic = 4,
    SchemeDramatic = 5,
    SchemeNeutral = 6, // the button that groups the two neutral kinds below
    SchemeTonalNeutral = 7,
    SchemeComplementaryNeutral = 8
};

enum TabBarPage {
    TabBarPageNone = 0,
    TabBarPageColorSchemes = 1,
    TabBarPageProducts = 2,
    TabBarPageHuecast = 4,
    TabBarPageTextures = 8
};
Q_DECLARE_FLAGS(TabBarPages, TabBarPage)

enum MoodMode {
    MoodModeUnset = 0,
    MoodModeNormal = 1,
    MoodModeWarmFreshEquals = 2
};

enum PaletteFileFormat {
    PaletteFileFormatXml = 0,
    PaletteFileFormatText = 1
};

// Where a drag started; carried in the drag-and-drop payload as "from".
enum DragSource {
    DragSourceNone = 0,
    DragSourceCardRoller = 1,
    DragSourceColorSchemer = 2,
    DragSourceMyPalette = 3,
    DragSourceHuecast = 4
};

} // namespace Velmar

Q_DECLARE_OPERATORS_FOR_FLAGS(Velmar::TabBarPages)

Q_DECLARE_METATYPE(Velmar::Mood)
Q_DECLARE_METATYPE(Velmar::Direction)
Q_DECLARE_METATYPE(Velmar::SchemeKind)
Q_DECLARE_METATYPE(Velmar::TabBarPage)
Q_DECLARE_METATYPE(Velmar::PaletteFileFormat)

#endif // VELMAR_TYPES_H
