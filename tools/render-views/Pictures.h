#ifndef HUEFORM_PICTURES_H
#define HUEFORM_PICTURES_H

class PictureSink;

// Each group of views draws its pictures into the sink, on the collection
// the services were started on.
void drawButtonPictures(PictureSink &sink);
void drawAboutBoxPictures(PictureSink &sink);
void drawCollectionChooserPictures(PictureSink &sink);
// Colour wheel, mood and filter strip, card roller.
void drawBrowsingPictures(PictureSink &sink);
void drawPalettePictures(PictureSink &sink);
void drawSchemePictures(PictureSink &sink);
void drawMaterialPictures(PictureSink &sink);
// The whole main widget on each tab page and with the nearest-colour dialog.
void drawMainWidgetPictures(PictureSink &sink);
// The picker dialog of a pick call, with the demo palette.
void drawPickerPictures(PictureSink &sink);

#endif // HUEFORM_PICTURES_H
