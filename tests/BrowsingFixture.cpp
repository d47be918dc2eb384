#include "BrowsingFixture.h"

#include "DemoTheme.h"
#include "FixtureCards.h"
#include "FixtureTheme.h"

#include "database/DBManager.h"
#include "services/ColorManager.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QImage>

const QUuid BrowsingFixture::Deck(QStringLiteral("{0000d0c0-0000-0000-0000-000000000001}"));
const QUuid BrowsingFixture::Single(QStringLiteral("{0000d0c0-0000-0000-0000-000000000002}"));
const QUuid BrowsingFixture::Sarnex(QStringLiteral("{0000d0c0-0000-0000-0000-000000000003}"));
const QUuid BrowsingFixture::Plain(QStringLiteral("{0000d0c0-0000-0000-0000-000000000004}"));
const QUuid BrowsingFixture::Other(QStringLiteral("{0000d0c0-0000-0000-0000-000000000005}"));
const QUuid BrowsingFixture::Wide(QStringLiteral("{0000d0c0-0000-0000-0000-000000000006}"));

namespace {

QString prefixOf(const QUuid &collection)
{
    if (collection == BrowsingFixture::Deck)
        return QStringLiteral("D");
    if (collection == BrowsingFixture::Single)
        return QStringLiteral("S");
    if (collection == BrowsingFixture::Sarnex)
        return QStringLiteral("X");
    if (collection == BrowsingFixture::Other)
        return QStringLiteral("O");
    if (collection == BrowsingFixture::Wide)
        return QStringLiteral("W");
    return QStringLiteral("P");
}

bool writeCards(CollectionWriter &writer, qint64 collection, const QUuid &uuid, const QList<FixtureCards::Card> &cards)
{
    FixtureCards::Chips chips;
    chips.code = [&uuid](int page, int row) { return BrowsingFixture::chipCode(uuid, page, row); };
    chips.colour = [&uuid](int page, int row) { return BrowsingFixture::chipColour(uuid, page, row); };
    chips.finish = [&uuid](int page, int row, CollectionWriter::Chip &chip) {
        chip.isMto = uuid == BrowsingFixture::Sarnex && (row == 2 || page == 2);
    };
    return FixtureCards::write(writer, collection, prefixOf(uuid), cards, chips);
}

bool writeNormalSettings(CollectionWriter &writer, qint64 collection, bool exteriorFilter, int segments = 12)
{
    return writer.addSetting(collection, QStringLiteral("card.type"), QStringLiteral("normal"))
        && writer.addSetting(collection, QStringLiteral("has.exterior.filter"), exteriorFilter ? "1" : "0")
        && writer.addSetting(collection, QStringLiteral("num.of.segments"), QString::number(segments))
        && writer.addSetting(collection, QStringLiteral("first.segment.angle"), QStringLiteral("0"))
        && writer.addSetting(collection, QStringLiteral("segment.increment.orientation"), QStringLiteral("CW"))
        && writer.addSetting(collection, QStringLiteral("cie2000.delta.intervals"), QStringLiteral("3,6"))
        && writer.addSetting(collection, QStringLiteral("color.tooltip.show.row.code"), QStringLiteral("1"))
        && writer.addSettings(collection, QStringLiteral("page.name.display.order"), {QStringLiteral("0")});
}

bool writeTexts(CollectionWriter &writer, qint64 collection)
{
    const QList<QPair<QString, QString>> texts{
        {QStringLiteral("mood.filter.all.moods"), QStringLiteral("All moods")},
        {QStringLiteral("mood.filter.exterior.colors"), QStringLiteral("Exterior colours")},
        {QStringLiteral("do.not.show.mto"), QStringLiteral("Hide made to order")},
        {QStringLiteral("tiptext.mood.fresh.button"), QStringLiteral("Fresh colours")},
        {QStringLiteral("tiptext.mood.warm.button"), QStringLiteral("Warm colours")},
    };
    for (const auto &text : texts) {
        if (!writer.addText(collection, text.first, text.second))
            return false;
    }
    return true;
}

} // namespace

QColor BrowsingFixture::chipColour(const QUuid &collection, int page, int row)
{
    if (collection == Deck && page == 2 && row == 5)
        return QColor(0, 0, 0);
    const int salt = collection == Deck ? 0 : collection == Single ? 25 : collection == Sarnex ? 50 : 75;
    return QColor(QColor::fromHsv((page * 100 + row * 20 + salt) % 360, 210, 240 - row * 25).rgb());
}

QString BrowsingFixture::chipCode(const QUuid &collection, int page, int row)
{
    if (collection == Deck && page == 2 && row == 4)
        return QString();
    return QStringLiteral("%1-%2%3").arg(prefixOf(collection)).arg(page).arg(row);
}

QColor BrowsingFixture::mtoMarkColour()
{
    return QColor(250, 180, 20);
}

bool BrowsingFixture::write()
{
    {
        auto writer = m_folder.createFile(QStringLiteral("browse.db"));
        const qint64 deck = writer->addCollection(Deck, QStringLiteral("DECK"), QStringLiteral("Deck"), 1, true);
        const qint64 single = writer->addCollection(Single, QStringLiteral("SINGLE"), QStringLiteral("Single"), 2, true);
        const qint64 sarnex = writer->addCollection(Sarnex, QStringLiteral("SARNEX"), QStringLiteral("Sarnex"), 3, true);
        const qint64 plain = writer->addCollection(Plain, QStringLiteral("PLAIN"), QStringLiteral("Plain"), 4, true);
        const qint64 wide = writer->addCollection(Wide, QStringLiteral("WIDE"), QStringLiteral("Wide"), 6, true);
        const bool ok = FixtureTheme::write(*writer)
            && writeCards(*writer, deck, Deck, {{1, 1, 1, false, 5}, {2, 3, 2, false, 5}, {3, 5, 3, true, 3}})
            && writeNormalSettings(*writer, deck, true) && writeTexts(*writer, deck)
            && writeCards(*writer, single, Single, {{1, 7, 4, false, 4}})
            && writeNormalSettings(*writer, single, false) && writeTexts(*writer, single)
            && writeCards(*writer, sarnex, Sarnex, {{1, 2, 1, false, 4}, {2, 4, 1, false, 3}})
            && writer->addSetting(sarnex, QStringLiteral("card.type"), QStringLiteral("sarnex"))
            && writer->addSettings(sarnex, QStringLiteral("page.name.display.order"), {QStringLiteral("0")})
            && writer->addThemeItem(sarnex, QStringLiteral("image.mto"), DemoTheme::solidPng(QSize(96, 50), mtoMarkColour()))
            && writeTexts(*writer, sarnex)
            && writeCards(*writer, plain, Plain, {{1, 1, 1, false, 2}})
            && writeCards(*writer, wide, Wide, {{1, 1, 1, false, 0}, {2, 3, 2, false, 0}, {3, 5, 3, false, 0},
                                                {4, WideLastSegment, 1, false, 0}})
            && writeNormalSettings(*writer, wide, false, WideSegmentCount);
        if (!ok || !writer->isOk()) {
            m_error = writer->lastError();
            return false;
        }
        if (deck != 1) {
            m_error = QStringLiteral("the deck is not collection 1 of its file");
            return false;
        }
    }
    {
        // Numeric collection ids restart in every file: this one is 1 too.
        auto writer = m_folder.createFile(QStringLiteral("other.db"), false);
        const qint64 other = writer->addCollection(Other, QStringLiteral("OTHER"), QStringLiteral("Other"), 5, true);
        if (other != 1 || !writeCards(*writer, other, Other, {{1, 2, 1, false, 2}}) || !writer->isOk()) {
            m_error = QStringLiteral("other.db: %1 (id %2)").arg(writer->lastError()).arg(other);
            return false;
        }
    }
    Velmar::DBManager::s_installed_collections.clear();
    if (Velmar::Global::InitializePrerequisites(QString(), m_folder.lookupFolder()) != 0) {
        m_error = QStringLiteral("the services did not start");
        return false;
    }
    return true;
}

void BrowsingFixture::browse(const QUuid &collection, int page, int row, int mood, bool exterior, bool showMto)
{
    using Velmar::Settings;
    Settings::setUuidOfLastUsedCollection(collection);
    Velmar::DBManager::selectedCollectionChanged(collection);
    Settings::setPageIndex(collection, page);
    Settings::setRowIndex(collection, row);
    Settings::setMoodFilter(collection, Velmar::Mood(mood));
    Settings::setExteriorFilter(collection, exterior);
    Settings::setShowMto(collection, showMto);
}
