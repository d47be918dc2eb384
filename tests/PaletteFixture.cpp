#include "PaletteFixture.h"

#include "FixtureFolder.h"
#include "FixtureTheme.h"

#include "database/DBManager.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QSqlDatabase>

const QUuid PaletteFixture::Galleria(QStringLiteral("{3f2a1c00-5e1d-4b7a-9c21-00000000000a}"));
const QUuid PaletteFixture::Nordic(QStringLiteral("{3f2a1c00-5e1d-4b7a-9c21-00000000000b}"));
QHash<QString, PaletteFixture::Chip> PaletteFixture::s_chips;

namespace {

struct ChipRow {
    const char *code;
    const char *english;
    const char *french;
    int red, green, blue;
};

} // namespace

bool PaletteFixture::start(const FixtureFolder &folder, QString *error)
{
    s_chips.clear();
    struct CardRow {
        QUuid collection;
        int pageIndex;
        const char *name;
        QVector<ChipRow> chips;
    };
    const QVector<CardRow> galleriaCards{
        {Galleria, 1, "Harbour Blues", {{"GB-0101", "Mist Blue", "Bleu brume", 176, 196, 222},
                                        {"GB-0102", "Harbour Blue", "Bleu du port", 70, 110, 160},
                                        {"GB-0103", "Ink Blue", "Bleu encre", 30, 50, 90}}},
        {Galleria, 3, "Sunset Card", {{"GB-0301", "Apricot", "Abricot", 250, 190, 140},
                                      {"GB-0302", "Terracotta", "Terre cuite", 200, 100, 70},
                                      {"GB-0303", "Brick", "Brique", 150, 60, 45},
                                      {"GB-0304", "", "", 90, 40, 35}}},
    };
    const QVector<CardRow> nordicCards{
        {Nordic, 1, "Fjord Card", {{"NP-0101", "Fjord", "Fjord", 60, 90, 100}}},
    };

    const auto writeFile = [&](const QString &fileName, const QUuid &uuid, const char *systemId, const char *name,
                               const QVector<CardRow> &cards) {
        auto writer = folder.createFile(fileName);
        // One transaction: the fixture is written in a blink instead of one
        // disk sync per row.
        QSqlDatabase database = writer->database();
        database.transaction();
        const qint64 collection = writer->addCollection(uuid, QLatin1String(systemId), QLatin1String(name), 1, true);
        if (uuid == Galleria) {
            writer->addSettings(collection, QStringLiteral("row.name.display.order"), {QStringLiteral("1"), QStringLiteral("0")});
            writer->addSettings(collection, QStringLiteral("row.name.search.order"), {QStringLiteral("0")});
            writer->addSettings(collection, QStringLiteral("page.name.search.order"), {QStringLiteral("0")});
            writer->addSetting(collection, QStringLiteral("color.tooltip.show.row.code"), QStringLiteral("1"));
            writer->addSetting(collection, QStringLiteral("color.tooltip.show.row.name"), QStringLiteral("1"));
            writer->addText(collection, QStringLiteral("mypalette.note.instructions"), QStringLiteral("Describe this palette"));
            writer->addText(collection, QStringLiteral("common.confirmation.dialog.caption"), QStringLiteral("Please confirm"));
            writer->addText(collection, QStringLiteral("mypalette.clearpalettebutton.question"),
                            QStringLiteral("Remove every colour from the palette?"));
        }
        FixtureTheme::write(*writer);
        for (const CardRow &cardRow : cards) {
            CollectionWriter::Card card;
            card.pageIndex = cardRow.pageIndex;
            card.segment = cardRow.pageIndex;
            card.name = QLatin1String(cardRow.name);
            card.names = QStringList{card.name};
            const qint64 page = writer->addCard(collection, card);
            int row = 1;
            for (const ChipRow &chipRow : cardRow.chips) {
                CollectionWriter::Chip chip;
                chip.rowIndex = row;
                chip.code = QLatin1String(chipRow.code);
                chip.names = QStringList{QString::fromUtf8(chipRow.english), QString::fromUtf8(chipRow.french)};
                chip.red = chipRow.red;
                chip.green = chipRow.green;
                chip.blue = chipRow.blue;
                Chip c;
                c.collection = uuid;
                c.id = writer->addChip(collection, page, chip);
                c.pageId = page;
                c.pageIndex = cardRow.pageIndex;
                c.rowIndex = row;
                c.code = chip.code;
                c.colour = QColor(chipRow.red, chipRow.green, chipRow.blue);
                // Galleria shows the second name first.
                const QString french = QString::fromUtf8(chipRow.french);
                c.entryName = french.isEmpty() ? c.code : c.code + QStringLiteral(" - ") + french;
                s_chips.insert(c.code, c);
                ++row;
            }
        }
        const bool committed = database.commit();
        if (!writer->isOk() && error)
            *error = writer->lastError();
        return writer->isOk() && committed;
    };
    if (!writeFile(QStringLiteral("galleria.db"), Galleria, "GALLERIA", "Galleria Interiors", galleriaCards)
        || !writeFile(QStringLiteral("nordic.db"), Nordic, "NORDIC", "Nordic Paints", nordicCards))
        return false;

    Velmar::DBManager::s_installed_collections.clear();
    const int status = Velmar::Global::InitializePrerequisites(QString(), folder.lookupFolder());
    if (status != 0) {
        if (error)
            *error = QStringLiteral("start-up status %1").arg(status);
        return false;
    }
    Velmar::Settings::setUuidOfLastUsedCollection(Galleria);
    Velmar::DBManager::selectedCollectionChanged(Galleria);
    Velmar::CollectionSettings::selectedCollectionChanged(Galleria);
    return true;
}

PaletteFixture::Chip PaletteFixture::chip(const QString &code)
{
    return s_chips.value(code);
}

Velmar::DB::ItemIndex PaletteFixture::index(const QString &code)
{
    const Chip c = chip(code);
    Velmar::DB::ItemIndex index;
    index.collection = c.collection;
    index.pageId = c.pageId;
    index.entryId = c.id;
    return index;
}

void PaletteFixture::store(const QPoint &cell, const QString &code)
{
    Velmar::Settings::setMyPaletteEntry(cell, index(code));
}

void PaletteFixture::clearSettings()
{
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            Velmar::Settings::setMyPaletteEntry(QPoint(column, row), Velmar::DB::ItemIndex());
            Velmar::Settings::setMyPaletteEntryState(QPoint(column, row), false);
        }
    }
    Velmar::Settings::setMyPaletteDescription(QString());
    Velmar::Settings::setMyPaletteGridState(true);
}
