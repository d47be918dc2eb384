#include "PictureSink.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

PictureSink::PictureSink(const QString &folder)
    : m_folder(folder)
{
}

void PictureSink::save(const QString &name, QWidget *widget)
{
    // Shown offscreen, so that layouts, polish and show events run as on screen.
    widget->show();
    QApplication::processEvents();
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image);
    const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
    if (image.isNull() || !image.save(path, "PNG"))
        m_failed.append(name);
    else
        m_written.append(path);
}
