#ifndef HUEFORM_DEMOTHEME_H
#define HUEFORM_DEMOTHEME_H

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPair>
#include <QSize>
#include <QString>

// The theme of the demo collection: every image the views paint, drawn
// with shapes only (no text, so no fonts are needed to build it) at the
// size the views ask for, and encoded as PNG.
class DemoTheme
{
public:
    using Item = QPair<QString, QByteArray>;

    // Every image key with the size it is drawn at.
    static QList<QPair<QString, QSize>> imageSizes();
    // The images, colour and font list read from the system-wide collection,
    // drawn on the given chip colours.
    static QList<Item> systemWideItems(const QList<QColor> &colours);
    // The images a view takes from the selected collection: the banner, the
    // made-to-order mark and the about logo.
    static QList<Item> collectionItems(const QList<QColor> &colours);

    static QImage drawImage(const QString &key, const QList<QColor> &colours);

    // The image encoded as PNG, as theme rows hold images.
    static QByteArray png(const QImage &image);
    // A PNG of one colour, for fixtures.
    static QByteArray solidPng(const QSize &size, const QColor &colour);

private:
    DemoTheme() = default;
};

#endif // HUEFORM_DEMOTHEME_H
