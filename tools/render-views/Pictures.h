#ifndef HUEFORM_PICTURES_H
#define HUEFORM_PICTURES_H

class PictureSink;

// Each group of views draws its pictures into the sink, on the collection
// the services were started on.
void drawButtonPictures(PictureSink &sink);
void drawMaterialPictures(PictureSink &sink);

#endif // HUEFORM_PICTURES_H
