#ifndef VELMAR_LOCALIZERKEYS_H
#define VELMAR_LOCALIZERKEYS_H

#include <QList>
#include <QString>

namespace Velmar {

// The keys of the LOCALE rows: every caption, label, tooltip and message of
// the plug-in is looked up by one of them in the selected collection.
class LocalizerKeys
{
public:
    // Common.
    static const QString KeyOfCommonMainwindowCaption;
    static const QString KeyOfCommonCancelButton;
    static const QString KeyOfCommonFiledialogPalettefileSavedialogcaption;
    static const QString KeyOfCommonFiledialogPalettefileOpendialogcaption;
    static const QString KeyOfCommonFiledialogPalettefileDefaultfilename;
    static const QString KeyOfCommonFiledialogTextfileFiltername;
    static const QString KeyOfCommonFiledialogPalettefileFiltername;
    static const QString KeyOfCommonConfirmationDialogCaption;
    // Single keys.
    static const QString KeyOfLicenseCopyright;
    static const QString KeyOfMotto;
    static const QString KeyOfSelectTexture;
    // Tab bar.
    static const QString KeyOfTabBarColorSchemesCaption;
    static const QString KeyOfTabBarProductsCaption;
    static const QString KeyOfTabBarHuecastCaption;
    static const QString KeyOfTabBarTexturesCaption;
    // Texts of the plug-ins for other hosts; this one reads none of them.
    static const QString KeyOfArchicadAddonMaterialPrefix;
    static const QString KeyOfArchicadAddonExportAsPenset;
    static const QString KeyOfArchicadAddonExportAsMaterial;
    static const QString KeyOfArchicadAddonExportButton;
    static const QString KeyOfArchicadAddonMenuAbout;
    static const QString KeyOfArchicadAddonMenuPicker;
    static const QString KeyOfArchicadAddonMenu;
    static const QString KeyOfArchicadAddonDescription;
    static const QString KeyOfArchicadAddonName;
    static const QString KeyOfSketchupSelectcolorButton;
    static const QString KeyOfRevitToolbarPickbuttontooltip;
    static const QString KeyOfRevitToolbarPickbuttontext;
    static const QString KeyOfRevitToolbarPickbuttonname;
    static const QString KeyOfRevitToolbarToolbarname;
    static const QString KeyOfRevitSelectcolorButton;
    static const QString KeyOfRevitRibbonPickbuttontooltip;
    static const QString KeyOfRevitRibbonPickbuttontext;
    static const QString KeyOfRevitRibbonPickbuttonname;
    static const QString KeyOfRevitRibbonPanelname;
    static const QString KeyOfAutocadCreatecolorbookDialogFilter;
    static const QString KeyOfAutocadCreatecolorbookDialogCaption;
    static const QString KeyOfAutocadCreatecolorbookButton;
    // This host.
    static const QString KeyOfPhotoshopSwatchalertText;
    static const QString KeyOfPhotoshopSwatchalertCaption;
    static const QString KeyOfPhotoshopSwatchdialogCaption;
    static const QString KeyOfPhotoshopSwatchdialogFiltername;
    static const QString KeyOfPhotoshopAboutText;
    static const QString KeyOfPhotoshopAboutCaption;
    static const QString KeyOfPhotoshopSelectcolorButton;
    static const QString KeyOfPhotoshopCreateswatchButton;
    // Another host.
    static const QString KeyOf3DSMaxSelectColorButton;
    // Tooltips.
    static const QString KeyOfTiptextCardselectColormatchButton;
    static const QString KeyOfTiptextMypalettePaletteNote;
    static const QString KeyOfTiptextMypaletteDeletechip;
    static const QString KeyOfTiptextMypaletteGridoff;
    static const QString KeyOfTiptextMypaletteGridon;
    static const QString KeyOfTiptextMypaletteClearpalettebutton;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeToComplementaryNeutral;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeToTonalNeutral;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeComplementaryNeutral;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeTonalNeutral;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeDramatic;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeDynamic;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeTonal;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeWideContrast;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeContrast;
    static const QString KeyOfTiptextHarmonizerPaletteSchemeHarmonic;
    static const QString KeyOfTiptextMoodNeutralButton;
    static const QString KeyOfTiptextMoodOffwhiteButton;
    static const QString KeyOfTiptextMoodRichButton;
    static const QString KeyOfTiptextMoodWarmButton;
    static const QString KeyOfTiptextMoodCalmButton;
    static const QString KeyOfTiptextMoodFreshButton;
    // Nearest-colour dialog.
    static const QString KeyOfColormatcherDialogCaption;
    static const QString KeyOfColormatcherDialogNearest;
    static const QString KeyOfColormatcherDialogSelected;
    static const QString KeyOfColormatcherDialogTodo;
    // Measuring device.
    static const QString KeyOfDizevizNoColorsFound;
    static const QString KeyOfDizevizDialogTodo;
    static const QString KeyOfDizevizDialogCaption;
    // My palette.
    static const QString KeyOfMypaletteNoteInstructions;
    static const QString KeyOfMypaletteClearpalettebuttonQuestion;
    static const QString KeyOfMypalettePaletteSave;
    static const QString KeyOfMypalettePaletteLoad;
    static const QString KeyOfMypalettePaletteCaption;
    // Colour schemer.
    static const QString KeyOfHarmonizerDragDropMessage;
    static const QString KeyOfHarmonizerPaletteSchemeComplementaryNeutral;
    static const QString KeyOfHarmonizerPaletteSchemeTonalNeutral;
    static const QString KeyOfHarmonizerPaletteSchemeDramatic;
    static const QString KeyOfHarmonizerPaletteSchemeDynamic;
    static const QString KeyOfHarmonizerPaletteSchemeTonal;
    static const QString KeyOfHarmonizerPaletteSchemeWideContrast;
    static const QString KeyOfHarmonizerPaletteSchemeContrast;
    static const QString KeyOfHarmonizerPaletteSchemeHarmonic;
    static const QString KeyOfHarmonizerPaletteProductGroupsTabCaption;
    static const QString KeyOfHarmonizerPaletteSchemerTabCaption;
    // Mood strip.
    static const QString KeyOfMoodFilterExteriorColors;
    static const QString KeyOfMoodFilterAllMoods;
    static const QString KeyOfDontShowMto;
    // Main window.
    static const QString KeyOfColorPaletteNotFound;
    static const QString KeyOfColorPaletteSearchText;
    static const QString KeyOfColorPaletteCopyright;
    static const QString KeyOfColorPaletteMotto;
    static const QString KeyOfColorPaletteCaption;
    // About box.
    static const QString KeyOfAboutBoxCaption;
    static const QString KeyOfAboutBoxMainText;
    static const QString KeyOfAboutBoxCopyrightText;
    static const QString KeyOfAboutBoxVersion;
    static const QString KeyOfAboutBoxQtLicenseButton;
    static const QString KeyOfAboutBoxCloseButton;

    // The keys of every group but the about box, with "3dsmax.select.color.button"
    // and "do.not.show.mto" left out; the common group comes last.
    static QList<QString> AllKeys();

private:
    LocalizerKeys() = default;
};

} // namespace Velmar

#endif // VELMAR_LOCALIZERKEYS_H
