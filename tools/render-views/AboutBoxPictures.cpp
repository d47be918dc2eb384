#include "PictureSink.h"
#include "Pictures.h"

#include "plugin/AboutBox.h"
#include "services/Global.h"

#include <memory>

// The about box of the collection the services were started on.
void drawAboutBoxPictures(PictureSink &sink)
{
    std::unique_ptr<Velmar::AboutBox> box(Velmar::Global::aboutBox(nullptr, QString()));
    sink.save(QStringLiteral("about-box"), box.get());
}
