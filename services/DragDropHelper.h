#ifndef VELMAR_DRAGDROPHELPER_H
#define VELMAR_DRAGDROPHELPER_H

#include "database/ColorEntry.h"

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QUuid>
#include <Qt>

#include <functional>

class QMimeData;
class QWidget;

namespace Velmar {

// The one payload of drags between the views: a chip of a collection, or a
// bare colour with two names, as a JSON object under our own MIME type.
class DragDropHelper
{
public:
    DragDropHelper();
    ~DragDropHelper();

    static const QString MimeType;

    static bool validDragSource(const QMimeData *data);
    // The source id 1 to 4, else 0.
    static int extractDragSource(const QMimeData *data);
    // The status of the chip's look-up; -1 for data that is not ours, with
    // both out-parameters left as they were.
    static int extractColorEntry(const QMimeData *data, QUuid &collection, DB::ColorEntry &entry);
    static int extractColor(const QMimeData *data, QColor &color);
    static int extractColorNames(const QMimeData *data, QString &name1, QString &name2);

    static QString buildColorChipData(int from, const QUuid &collection, const DB::ColorEntry &entry);
    static QString buildColorData(int from, const QColor &color, const QString &name1, const QString &name2);

    static Qt::DropAction initiateColorChipDragOperation(QWidget *source, int from, const QUuid &collection,
                                                         const DB::ColorEntry &entry, Qt::DropActions supported,
                                                         Qt::DropAction defaultAction);
    static Qt::DropAction initiateColorDragOperation(QWidget *source, int from, const QColor &color,
                                                     const QString &label, const QString &name1,
                                                     const QString &name2, Qt::DropActions supported,
                                                     Qt::DropAction defaultAction);

    // The drag image: the colour fading downwards, the text at its right.
    static QPixmap buildDragPixmap(const QColor &color, const QString &text);
    // A new MIME data object holding only the payload; the caller owns it.
    static QMimeData *buildMimeData(const QString &payload);

    // Every drag of the views starts here. It hands the source, the payload
    // (which the starter owns from then on), the drag image and the allowed
    // actions to s_dragStarter, which runs QDrag::exec unless replaced: its
    // nested event loop cannot be driven by a test, a replaced starter can.
    static Qt::DropAction startDrag(QWidget *source, QMimeData *data, const QPixmap &pixmap,
                                    Qt::DropActions actions);
    static std::function<Qt::DropAction(QWidget *source, QMimeData *data, const QPixmap &pixmap,
                                        Qt::DropActions actions)>
        s_dragStarter;
    // What s_dragStarter does by default.
    static Qt::DropAction execDrag(QWidget *source, QMimeData *data, const QPixmap &pixmap, Qt::DropActions actions);

private:
    static Qt::DropAction runDrag(QWidget *source, const QColor &color, const QString &text, const QString &payload,
                                  Qt::DropActions supported, Qt::DropAction defaultAction);
};

} // namespace Velmar

#endif // VELMAR_DRAGDROPHELPER_H
