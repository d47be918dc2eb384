#include "services/LocalizerKeys.h"

namespace Velmar {

const QString LocalizerKeys::KeyOfCommonMainwindowCaption = QStringLiteral("common.mainwindow.caption");
const QString LocalizerKeys::KeyOfCommonCancelButton = QStringLiteral("common.cancel.button");
const QString LocalizerKeys::KeyOfCommonFiledialogPalettefileSavedialogcaption = QStringLiteral("common.filedialog.palettefile.savedialogcaption");
const QString LocalizerKeys::KeyOfCommonFiledialogPalettefileOpendialogcaption = QStringLiteral("common.filedialog.palettefile.opendialogcaption");
const QString LocalizerKeys::KeyOfCommonFiledialogPalettefileDefaultfilename = QStringLiteral("common.filedialog.palettefile.defaultfilename");
const QString LocalizerKeys::KeyOfCommonFiledialogTextfileFiltername = QStringLiteral("common.filedialog.textfile.filtername");
const QString LocalizerKeys::KeyOfCommonFiledialogPalettefileFiltername = QStringLiteral("common.filedialog.palettefile.filtername");
const QString LocalizerKeys::KeyOfCommonConfirmationDialogCaption = QStringLiteral("common.confirmation.dialog.caption");
const QString LocalizerKeys::KeyOfLicenseCopyright = QStringLiteral("license.copyright");
const QString LocalizerKeys::KeyOfMotto = QStringLiteral("motto");
const QString LocalizerKeys::KeyOfSelectTexture = QStringLiteral("textures.select.message");
const QString LocalizerKeys::KeyOfTabBarColorSchemesCaption = QStringLiteral("tab.bar.color.schemes.caption");
const QString LocalizerKeys::KeyOfTabBarProductsCaption = QStringLiteral("tab.bar.products.caption");
const QString LocalizerKeys::KeyOfTabBarHuecastCaption = QStringLiteral("tab.bar.huecast.caption");
const QString LocalizerKeys::KeyOfTabBarTexturesCaption = QStringLiteral("tab.bar.textures.caption");
const QString LocalizerKeys::KeyOfArchicadAddonMaterialPrefix = QStringLiteral("archicad.addon.material.prefix");
const QString LocalizerKeys::KeyOfArchicadAddonExportAsPenset = QStringLiteral("archicad.addon.export.as.penset");
const QString LocalizerKeys::KeyOfArchicadAddonExportAsMaterial = QStringLiteral("archicad.addon.export.as.material");
const QString LocalizerKeys::KeyOfArchicadAddonExportButton = QStringLiteral("archicad.addon.export.button");
const QString LocalizerKeys::KeyOfArchicadAddonMenuAbout = QStringLiteral("archicad.addon.menu.about");
const QString LocalizerKeys::KeyOfArchicadAddonMenuPicker = QStringLiteral("archicad.addon.menu.picker");
const QString LocalizerKeys::KeyOfArchicadAddonMenu = QStringLiteral("archicad.addon.menu");
const QString LocalizerKeys::KeyOfArchicadAddonDescription = QStringLiteral("archicad.addon.description");
const QString LocalizerKeys::KeyOfArchicadAddonName = QStringLiteral("archicad.addon.name");
const QString LocalizerKeys::KeyOfSketchupSelectcolorButton = QStringLiteral("sketchup.selectcolor.button");
const QString LocalizerKeys::KeyOfRevitToolbarPickbuttontooltip = QStringLiteral("revit.toolbar.pickbuttontooltip");
const QString LocalizerKeys::KeyOfRevitToolbarPickbuttontext = QStringLiteral("revit.toolbar.pickbuttontext");
const QString LocalizerKeys::KeyOfRevitToolbarPickbuttonname = QStringLiteral("revit.toolbar.pickbuttonname");
const QString LocalizerKeys::KeyOfRevitToolbarToolbarname = QStringLiteral("revit.toolbar.toolbarname");
const QString LocalizerKeys::KeyOfRevitSelectcolorButton = QStringLiteral("revit.selectcolor.button");
const QString LocalizerKeys::KeyOfRevitRibbonPickbuttontooltip = QStringLiteral("revit.ribbon.pickbuttontooltip");
const QString LocalizerKeys::KeyOfRevitRibbonPickbuttontext = QStringLiteral("revit.ribbon.pickbuttontext");
const QString LocalizerKeys::KeyOfRevitRibbonPickbuttonname = QStringLiteral("revit.ribbon.pickbuttonname");
const QString LocalizerKeys::KeyOfRevitRibbonPanelname = QStringLiteral("revit.ribbon.panelname");
const QString LocalizerKeys::KeyOfAutocadCreatecolorbookDialogFilter = QStringLiteral("autocad.createcolorbook.dialog.filter");
const QString LocalizerKeys::KeyOfAutocadCreatecolorbookDialogCaption = QStringLiteral("autocad.createcolorbook.dialog.caption");
const QString LocalizerKeys::KeyOfAutocadCreatecolorbookButton = QStringLiteral("autocad.createcolorbook.button");
const QString LocalizerKeys::KeyOfPhotoshopSwatchalertText = QStringLiteral("photoshop.swatchalert.text");
const QString LocalizerKeys::KeyOfPhotoshopSwatchalertCaption = QStringLiteral("photoshop.swatchalert.caption");
const QString LocalizerKeys::KeyOfPhotoshopSwatchdialogCaption = QStringLiteral("photoshop.swatchdialog.caption");
const QString LocalizerKeys::KeyOfPhotoshopSwatchdialogFiltername = QStringLiteral("photoshop.swatchdialog.filtername");
const QString LocalizerKeys::KeyOfPhotoshopAboutText = QStringLiteral("photoshop.about.text");
const QString LocalizerKeys::KeyOfPhotoshopAboutCaption = QStringLiteral("photoshop.about.caption");
const QString LocalizerKeys::KeyOfPhotoshopSelectcolorButton = QStringLiteral("photoshop.selectcolor.button");
const QString LocalizerKeys::KeyOfPhotoshopCreateswatchButton = QStringLiteral("photoshop.createswatch.button");
const QString LocalizerKeys::KeyOf3DSMaxSelectColorButton = QStringLiteral("3dsmax.select.color.button");
const QString LocalizerKeys::KeyOfTiptextCardselectColormatchButton = QStringLiteral("tiptext.cardselect.colormatch.button");
const QString LocalizerKeys::KeyOfTiptextMypalettePaletteNote = QStringLiteral("tiptext.mypalette.palette.note");
const QString LocalizerKeys::KeyOfTiptextMypaletteDeletechip = QStringLiteral("tiptext.mypalette.deletechip");
const QString LocalizerKeys::KeyOfTiptextMypaletteGridoff = QStringLiteral("tiptext.mypalette.gridoff");
const QString LocalizerKeys::KeyOfTiptextMypaletteGridon = QStringLiteral("tiptext.mypalette.gridon");
const QString LocalizerKeys::KeyOfTiptextMypaletteClearpalettebutton = QStringLiteral("tiptext.mypalette.clearpalettebutton");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeToComplementaryNeutral = QStringLiteral("tiptext.harmonizer.palette.scheme.to.complementary.neutral");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeToTonalNeutral = QStringLiteral("tiptext.harmonizer.palette.scheme.to.tonal.neutral");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeComplementaryNeutral = QStringLiteral("tiptext.harmonizer.palette.scheme.complementary.neutral");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeTonalNeutral = QStringLiteral("tiptext.harmonizer.palette.scheme.tonal.neutral");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeDramatic = QStringLiteral("tiptext.harmonizer.palette.scheme.dramatic");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeDynamic = QStringLiteral("tiptext.harmonizer.palette.scheme.dynamic");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeTonal = QStringLiteral("tiptext.harmonizer.palette.scheme.tonal");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeWideContrast = QStringLiteral("tiptext.harmonizer.palette.scheme.wide.contrast");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeContrast = QStringLiteral("tiptext.harmonizer.palette.scheme.contrast");
const QString LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeHarmonic = QStringLiteral("tiptext.harmonizer.palette.scheme.harmonic");
const QString LocalizerKeys::KeyOfTiptextMoodNeutralButton = QStringLiteral("tiptext.mood.neutral.button");
const QString LocalizerKeys::KeyOfTiptextMoodOffwhiteButton = QStringLiteral("tiptext.mood.offwhite.button");
const QString LocalizerKeys::KeyOfTiptextMoodRichButton = QStringLiteral("tiptext.mood.rich.button");
const QString LocalizerKeys::KeyOfTiptextMoodWarmButton = QStringLiteral("tiptext.mood.warm.button");
const QString LocalizerKeys::KeyOfTiptextMoodCalmButton = QStringLiteral("tiptext.mood.calm.button");
const QString LocalizerKeys::KeyOfTiptextMoodFreshButton = QStringLiteral("tiptext.mood.fresh.button");
const QString LocalizerKeys::KeyOfColormatcherDialogCaption = QStringLiteral("colormatcher.dialog.caption");
const QString LocalizerKeys::KeyOfColormatcherDialogNearest = QStringLiteral("colormatcher.dialog.nearest");
const QString LocalizerKeys::KeyOfColormatcherDialogSelected = QStringLiteral("colormatcher.dialog.selected");
const QString LocalizerKeys::KeyOfColormatcherDialogTodo = QStringLiteral("colormatcher.dialog.todo");
const QString LocalizerKeys::KeyOfDizevizNoColorsFound = QStringLiteral("dizeviz.no.colors.found");
const QString LocalizerKeys::KeyOfDizevizDialogTodo = QStringLiteral("dizeviz.dialog.todo");
const QString LocalizerKeys::KeyOfDizevizDialogCaption = QStringLiteral("dizeviz.dialog.caption");
const QString LocalizerKeys::KeyOfMypaletteNoteInstructions = QStringLiteral("mypalette.note.instructions");
const QString LocalizerKeys::KeyOfMypaletteClearpalettebuttonQuestion = QStringLiteral("mypalette.clearpalettebutton.question");
const QString LocalizerKeys::KeyOfMypalettePaletteSave = QStringLiteral("mypalette.palette.save");
const QString LocalizerKeys::KeyOfMypalettePaletteLoad = QStringLiteral("mypalette.palette.load");
const QString LocalizerKeys::KeyOfMypalettePaletteCaption = QStringLiteral("mypalette.palette.caption");
const QString LocalizerKeys::KeyOfHarmonizerDragDropMessage = QStringLiteral("harmonizer.drag.drop.message");
const QString LocalizerKeys::KeyOfHarmonizerPaletteSchemeComplementaryNeutral = QStringLiteral("harmonizer.palette.scheme.complementary.neutral");
const QString LocalizerKeys::KeyOfHarmonizerPaletteSchemeTonalNeutral = QStringLiteral("harmonizer.palette.scheme.tonal.neutral");
const QString LocalizerKeys::KeyOfHarmonizerPaletteSchemeDramatic = QStringLiteral("harmonizer.palette.scheme.dramatic");
const QString LocalizerKeys::KeyOfHarmonizerPaletteSchemeDynamic = QStringLiteral("harmonizer.palette.scheme.dynamic");
const QString LocalizerKeys::KeyOfHarmonizerPaletteSchemeTonal = QStringLiteral("harmonizer.palette.scheme.tonal");
const QString LocalizerKeys::KeyOfHarmonizerPaletteSchemeWideContrast = QStringLiteral("harmonizer.palette.scheme.wide.contrast");
const QString LocalizerKeys::KeyOfHarmonizerPaletteSchemeContrast = QStringLiteral("harmonizer.palette.scheme.contrast");
const QString LocalizerKeys::KeyOfHarmonizerPaletteSchemeHarmonic = QStringLiteral("harmonizer.palette.scheme.harmonic");
const QString LocalizerKeys::KeyOfHarmonizerPaletteProductGroupsTabCaption = QStringLiteral("harmonizer.palette.product.groups.tab.caption");
const QString LocalizerKeys::KeyOfHarmonizerPaletteSchemerTabCaption = QStringLiteral("harmonizer.palette.schemer.tab.caption");
const QString LocalizerKeys::KeyOfMoodFilterExteriorColors = QStringLiteral("mood.filter.exterior.colors");
const QString LocalizerKeys::KeyOfMoodFilterAllMoods = QStringLiteral("mood.filter.all.moods");
const QString LocalizerKeys::KeyOfDontShowMto = QStringLiteral("do.not.show.mto");
const QString LocalizerKeys::KeyOfColorPaletteNotFound = QStringLiteral("color.palette.not.found");
const QString LocalizerKeys::KeyOfColorPaletteSearchText = QStringLiteral("color.palette.enter.search.text");
const QString LocalizerKeys::KeyOfColorPaletteCopyright = QStringLiteral("color.palette.copyright");
const QString LocalizerKeys::KeyOfColorPaletteMotto = QStringLiteral("color.palette.motto");
const QString LocalizerKeys::KeyOfColorPaletteCaption = QStringLiteral("color.palette.caption");
const QString LocalizerKeys::KeyOfAboutBoxCaption = QStringLiteral("aboutbox.caption");
const QString LocalizerKeys::KeyOfAboutBoxMainText = QStringLiteral("aboutbox.main");
const QString LocalizerKeys::KeyOfAboutBoxCopyrightText = QStringLiteral("aboutbox.copyright");
const QString LocalizerKeys::KeyOfAboutBoxVersion = QStringLiteral("aboutbox.version");
const QString LocalizerKeys::KeyOfAboutBoxQtLicenseButton = QStringLiteral("aboutbox.qt.license.button");
const QString LocalizerKeys::KeyOfAboutBoxCloseButton = QStringLiteral("aboutbox.close.button");

QList<QString> LocalizerKeys::AllKeys()
{
    return {
        KeyOfLicenseCopyright,
        KeyOfMotto,
        KeyOfSelectTexture,
        KeyOfTabBarColorSchemesCaption,
        KeyOfTabBarProductsCaption,
        KeyOfTabBarHuecastCaption,
        KeyOfTabBarTexturesCaption,
        KeyOfArchicadAddonMaterialPrefix,
        KeyOfArchicadAddonExportAsPenset,
        KeyOfArchicadAddonExportAsMaterial,
        KeyOfArchicadAddonExportButton,
        KeyOfArchicadAddonMenuAbout,
        KeyOfArchicadAddonMenuPicker,
        KeyOfArchicadAddonMenu,
        KeyOfArchicadAddonDescription,
        KeyOfArchicadAddonName,
        KeyOfSketchupSelectcolorButton,
        KeyOfRevitToolbarPickbuttontooltip,
        KeyOfRevitToolbarPickbuttontext,
        KeyOfRevitToolbarPickbuttonname,
        KeyOfRevitToolbarToolbarname,
        KeyOfRevitSelectcolorButton,
        KeyOfRevitRibbonPickbuttontooltip,
        KeyOfRevitRibbonPickbuttontext,
        KeyOfRevitRibbonPickbuttonname,
        KeyOfRevitRibbonPanelname,
        KeyOfAutocadCreatecolorbookDialogFilter,
        KeyOfAutocadCreatecolorbookDialogCaption,
        KeyOfAutocadCreatecolorbookButton,
        KeyOfPhotoshopSwatchalertText,
        KeyOfPhotoshopSwatchalertCaption,
        KeyOfPhotoshopSwatchdialogCaption,
        KeyOfPhotoshopSwatchdialogFiltername,
        KeyOfPhotoshopAboutText,
        KeyOfPhotoshopAboutCaption,
        KeyOfPhotoshopSelectcolorButton,
        KeyOfPhotoshopCreateswatchButton,
        KeyOfTiptextCardselectColormatchButton,
        KeyOfTiptextMypalettePaletteNote,
        KeyOfTiptextMypaletteDeletechip,
        KeyOfTiptextMypaletteGridoff,
        KeyOfTiptextMypaletteGridon,
        KeyOfTiptextMypaletteClearpalettebutton,
        KeyOfTiptextHarmonizerPaletteSchemeToComplementaryNeutral,
        KeyOfTiptextHarmonizerPaletteSchemeToTonalNeutral,
        KeyOfTiptextHarmonizerPaletteSchemeComplementaryNeutral,
        KeyOfTiptextHarmonizerPaletteSchemeTonalNeutral,
        KeyOfTiptextHarmonizerPaletteSchemeDramatic,
        KeyOfTiptextHarmonizerPaletteSchemeDynamic,
        KeyOfTiptextHarmonizerPaletteSchemeTonal,
        KeyOfTiptextHarmonizerPaletteSchemeWideContrast,
        KeyOfTiptextHarmonizerPaletteSchemeContrast,
        KeyOfTiptextHarmonizerPaletteSchemeHarmonic,
        KeyOfTiptextMoodNeutralButton,
        KeyOfTiptextMoodOffwhiteButton,
        KeyOfTiptextMoodRichButton,
        KeyOfTiptextMoodWarmButton,
        KeyOfTiptextMoodCalmButton,
        KeyOfTiptextMoodFreshButton,
        KeyOfColormatcherDialogCaption,
        KeyOfColormatcherDialogNearest,
        KeyOfColormatcherDialogSelected,
        KeyOfColormatcherDialogTodo,
        KeyOfDizevizNoColorsFound,
        KeyOfDizevizDialogTodo,
        KeyOfDizevizDialogCaption,
        KeyOfMypaletteNoteInstructions,
        KeyOfMypaletteClearpalettebuttonQuestion,
        KeyOfMypalettePaletteSave,
        KeyOfMypalettePaletteLoad,
        KeyOfMypalettePaletteCaption,
        KeyOfHarmonizerDragDropMessage,
        KeyOfHarmonizerPaletteSchemeComplementaryNeutral,
        KeyOfHarmonizerPaletteSchemeTonalNeutral,
        KeyOfHarmonizerPaletteSchemeDramatic,
        KeyOfHarmonizerPaletteSchemeDynamic,
        KeyOfHarmonizerPaletteSchemeTonal,
        KeyOfHarmonizerPaletteSchemeWideContrast,
        KeyOfHarmonizerPaletteSchemeContrast,
        KeyOfHarmonizerPaletteSchemeHarmonic,
        KeyOfHarmonizerPaletteProductGroupsTabCaption,
        KeyOfHarmonizerPaletteSchemerTabCaption,
        KeyOfMoodFilterExteriorColors,
        KeyOfMoodFilterAllMoods,
        KeyOfColorPaletteNotFound,
        KeyOfColorPaletteSearchText,
        KeyOfColorPaletteCopyright,
        KeyOfColorPaletteMotto,
        KeyOfColorPaletteCaption,
        KeyOfCommonCancelButton,
        KeyOfCommonFiledialogPalettefileSavedialogcaption,
        KeyOfCommonFiledialogPalettefileOpendialogcaption,
        KeyOfCommonFiledialogPalettefileDefaultfilename,
        KeyOfCommonFiledialogTextfileFiltername,
        KeyOfCommonFiledialogPalettefileFiltername,
        KeyOfCommonConfirmationDialogCaption,
        KeyOfCommonMainwindowCaption
    };
}

} // namespace Velmar
