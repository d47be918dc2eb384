#ifndef VELMAR_COLLECTIONSETTINGKEYS_H
#define VELMAR_COLLECTIONSETTINGKEYS_H

#include <QString>

namespace Velmar {

// The names of the SETTING rows of a collection and the value texts they
// may hold: the contract between the program and the collection files.
class CollectionSettingKeys
{
public:
    static const QString KeyOfCollectionEnabled;
    static const QString KeyOfCollectionName;
    static const QString KeyOfHeaderLink;
    static const QString KeyOfHelpLink;
    static const QString KeyOfDizevizEnabled;
    static const QString KeyOfDizevizFilenameToWatch;
    static const QString KeyOfDizevizFolderToWatch_MACOS;
    static const QString KeyOfDizevizFolderToWatch_WINDOWS;
    static const QString KeyOfFirstSegmentAngle;
    static const QString KeyOfNumOfSegments;
    static const QString KeyOfSegmentIncrementOrientation;
    static const QString KeyOfMaxChipsOnAPage;
    static const QString KeyOfCardType;
    static const QString KeyOfCardMode;
    static const QString KeyOfMoodMode;
    static const QString KeyOfMoodVisible;
    static const QString KeyOfHasExteriorFilter;
    static const QString KeyOfMustFill;
    static const QString KeyOfSavePaletteTextFormatAlloved;
    static const QString KeyOfHasColorSchemesPage;
    static const QString KeyOfHasProductGroupsPage;
    static const QString KeyOfHasTexturesPage;
    static const QString KeyOfHasHuecastPage;
    static const QString KeyOfTabBarPages;
    static const QString KeyOfSchemes;
    static const QString KeyOfProductGroupsMode;
    static const QString KeyOfTextureSize;
    static const QString KeyOfHuecastChipWidth;
    static const QString KeyOfHuecastChipHeight;
    static const QString KeyOfCie2000DDeltaIntervals;
    static const QString KeyOfOpacities;
    static const QString KeyOfColorMatchShowsRGBAndDe;
    static const QString KeyOfColorNameOrder;
    static const QString KeyOfColorAuxiliaryOrder;
    static const QString KeyOfColorNameSearchOrder;
    static const QString KeyOfPageNameSearchOrder;
    static const QString KeyOfPageNameDisplayOrder;
    static const QString KeyOfPageExtraDisplayOrder;
    static const QString KeyOfRowNameSearchOrder;
    static const QString KeyOfRowNameDisplayOrder;
    static const QString KeyOfRowExtraDisplayOrder;
    static const QString KeyOfColorTooltipShowRowRowIndex;
    static const QString KeyOfColorTooltipShowRowSegment;
    static const QString KeyOfColorTooltipShowRowAdditionalNames;
    static const QString KeyOfColorTooltipShowPageSegment;
    static const QString KeyOfColorTooltipShowPageIndex;
    static const QString KeyOfColorTooltipShowCollectionName;
    static const QString KeyOfColorTooltipShowRowAuxiliaryInfo;
    static const QString KeyOfColorTooltipShowAuxiliary;
    static const QString KeyOfColorTooltipShowRowCode;
    static const QString KeyOfColorTooltipShowColorCode;
    static const QString KeyOfColorTooltipShowRowName;
    static const QString KeyOfColorTooltipShowColorName;
    static const QString KeyOfColorTooltipShowPageName;
    static const QString KeyOfColorTooltipShowCardName;

    static const QString Value_PageOfColorSchemes;
    static const QString Value_PageOfProducts;
    static const QString Value_PageOfHuecast;
    static const QString Value_PageOfTextures;
    static const QString Value_SchemeHarmonic;
    static const QString Value_SchemeContrast;
    static const QString Value_SchemeWideContrast;
    static const QString Value_SchemeDynamic;
    static const QString Value_SchemeDramatic;
    static const QString Value_SchemeNeutral;
    static const QString Value_SchemeTonalNeutral;
    static const QString Value_SchemeComplementaryNeutral;
    static const QString Value_GroupsWithProductTooltip;
    static const QString Value_Products;

private:
    CollectionSettingKeys() = default;
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONSETTINGKEYS_H
