#ifndef HUEFORM_DEMOMATERIALS_H
#define HUEFORM_DEMOMATERIALS_H

#include <QImage>
#include <QString>

class CollectionWriter;

// The material of the demo decks: drawn textures (system-wide and the
// interior deck's own) placed on its cards, trend-colour groups made of the
// decks' chips, and products and product groups for most chips. Runs after
// the decks and their settings are written.
class DemoMaterials
{
public:
    static bool write(CollectionWriter &writer);

    // A light, mostly grey pattern at the textures page's tile size, so that
    // the selected colour shows through it.
    static QImage drawTexture(const QString &name);

private:
    DemoMaterials() = default;
};

#endif // HUEFORM_DEMOMATERIALS_H
