#include "FixtureTheme.h"

#include "CollectionWriter.h"
#include "DemoTheme.h"

#include "database/DBStructure.h"

QColor FixtureTheme::colourOf(const QString &key)
{
    // FNV-1a, so that a key keeps its colour from run to run.
    quint32 hash = 2166136261u;
    for (const QChar c : key) {
        hash ^= c.unicode();
        hash *= 16777619u;
    }
    return QColor::fromHsv(int(hash % 360), 160 + int((hash >> 9) % 96), 120 + int((hash >> 17) % 136));
}

QSize FixtureTheme::sizeOf(const QString &key)
{
    for (const auto &entry : DemoTheme::imageSizes()) {
        if (entry.first == key)
            return entry.second;
    }
    return QSize();
}

bool FixtureTheme::write(CollectionWriter &writer)
{
    const qint64 system = Velmar::DBStructure::SystemWideCollectionId;
    for (const auto &entry : DemoTheme::imageSizes()) {
        if (!writer.addThemeItem(system, entry.first, DemoTheme::solidPng(entry.second, colourOf(entry.first))))
            return false;
    }
    return writer.addThemeItem(system, QStringLiteral("color.widget.collectionselector.text"), "51,51,51")
        && writer.addThemeItem(system, QStringLiteral("list.of.preferred.font.faces"), "DejaVu Sans,12");
}
