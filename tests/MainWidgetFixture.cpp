#include "MainWidgetFixture.h"

#include "DemoTheme.h"
#include "FixtureCards.h"
#include "FixtureTheme.h"
#include "MaterialsWriter.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "services/CollectionSettings.h"
#include "services/ColorManager.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSqlQuery>

const QUuid MainWidgetFixture::Alpha(QStringLiteral("{00a1fa00-0000-4000-8000-000000000001}"));
const QUuid MainWidgetFixture::Bravo(QStringLiteral("{00b2a000-0000-4000-8000-000000000002}"));
const QUuid MainWidgetFixture::Sarnex(QStringLiteral("{005a2e00-0000-4000-8000-000000000003}"));
const QUuid MainWidgetFixture::Plain(QStringLiteral("{00991a00-0000-4000-8000-000000000004}"));
const QUuid MainWidgetFixture::Scratch(QStringLiteral("{005c2a00-0000-4000-8000-000000000005}"));
const QUuid MainWidgetFixture::Missing(QStringLiteral("{00dead00-0000-4000-8000-000000000006}"));

namespace {

QString prefixOf(const QUuid &collection)
{
    if (collection == MainWidgetFixture::Alpha)
        return QStringLiteral("A");
    if (collection == MainWidgetFixture::Bravo)
        return QStringLiteral("B");
    if (collection == MainWidgetFixture::Sarnex)
        return QStringLiteral("X");
    if (collection == MainWidgetFixture::Scratch)
        return QStringLiteral("S");
    return QStringLiteral("P");
}

bool writeCards(CollectionWriter &writer, qint64 collection, const QUuid &uuid, const QList<FixtureCards::Card> &cards)
{
    FixtureCards::Chips chips;
    chips.code = [&uuid](int page, int row) { return MainWidgetFixture::chipCode(uuid, page, row); };
    chips.colour = [&uuid](int page, int row) { return MainWidgetFixture::chipColour(uuid, page, row); };
    // The ghost chip's Lab is another colour's: only nearest-colour matching
    // can find it by that colour.
    chips.finish = [&uuid](int page, int row, CollectionWriter::Chip &chip) {
        if (uuid == MainWidgetFixture::Alpha && page == 6 && row == 3) {
            const Velmar::ColorLAB lab = Velmar::ColorManager::fromRgb(MainWidgetFixture::ghostColour());
            chip.L = lab.L;
            chip.a = lab.a;
            chip.b = lab.b;
        }
    };
    return FixtureCards::write(writer, collection, prefixOf(uuid), cards, chips);
}

qint64 cardId(CollectionWriter &writer, const QString &name)
{
    QSqlQuery query(writer.database());
    query.prepare(QStringLiteral("SELECT ID FROM PAGE WHERE NAME = :NAME"));
    query.bindValue(QStringLiteral(":NAME"), name);
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

// A texture on Alpha's first card, two on its second; one trend group.
bool writeMaterials(CollectionWriter &writer, qint64 alpha)
{
    const qint64 linen = MaterialsWriter::addTexture(writer, alpha, QStringLiteral("Linen"),
                                                     DemoTheme::solidPng(QSize(64, 64), QColor(200, 200, 200)));
    const qint64 stucco = MaterialsWriter::addTexture(writer, alpha, QStringLiteral("Stucco"),
                                                      DemoTheme::solidPng(QSize(64, 64), QColor(150, 150, 150)));
    const qint64 first = cardId(writer, QStringLiteral("A card 1"));
    const qint64 second = cardId(writer, QStringLiteral("A card 2"));
    const qint64 group = MaterialsWriter::addHuecastGroup(writer, alpha, QStringLiteral("Spring"), true, 1);
    return linen > 0 && stucco > 0 && first > 0 && second > 0 && group > 0
        && MaterialsWriter::placeTexture(writer, linen, first, 0.8, QStringLiteral("Linen"))
        && MaterialsWriter::placeTexture(writer, linen, second, 0.8, QStringLiteral("Linen"))
        && MaterialsWriter::placeTexture(writer, stucco, second, 0.6, QStringLiteral("Stucco"))
        && MaterialsWriter::addHuecastEntry(writer, alpha, group, QStringLiteral("Blossom"), QStringLiteral("B-1"),
                                            QColor(240, 190, 200), 1)
            > 0
        && MaterialsWriter::addHuecastEntry(writer, alpha, group, QStringLiteral("Leaf"), QStringLiteral("L-1"),
                                            QColor(120, 190, 90), 2)
            > 0;
}

bool writeSettings(CollectionWriter &writer, qint64 collection, const QList<QPair<QString, QString>> &settings)
{
    for (const auto &setting : settings) {
        if (!writer.addSetting(collection, setting.first, setting.second))
            return false;
    }
    return true;
}

bool writeTexts(CollectionWriter &writer, qint64 collection, const QString &name, const QString &copyright)
{
    const QList<QPair<QString, QString>> texts{
        {QStringLiteral("mypalette.palette.save"), QStringLiteral("Save")},
        {QStringLiteral("mypalette.palette.load"), QStringLiteral("Open")},
        {QStringLiteral("common.filedialog.palettefile.filtername"), QStringLiteral("Palette files")},
        {QStringLiteral("common.filedialog.textfile.filtername"), QStringLiteral("Text files")},
        {QStringLiteral("common.filedialog.palettefile.defaultfilename"), QStringLiteral("My palette.palette")},
        {QStringLiteral("common.filedialog.palettefile.savedialogcaption"), QStringLiteral("Save palette")},
        {QStringLiteral("common.filedialog.palettefile.opendialogcaption"), QStringLiteral("Open palette")},
        {QStringLiteral("color.palette.copyright"), QStringLiteral("About %1").arg(name)},
        {QStringLiteral("color.palette.motto"), QStringLiteral("Our motto")},
        {QStringLiteral("license.copyright"), copyright},
        {QStringLiteral("motto"), QStringLiteral("<p>Colour first, always.</p>")},
        {QStringLiteral("colormatcher.dialog.caption"), QStringLiteral("Nearest colours")},
        {QStringLiteral("dizeviz.dialog.todo"), QStringLiteral("Choose one of these colours")},
    };
    for (const auto &text : texts) {
        if (!writer.addText(collection, text.first, text.second))
            return false;
    }
    return true;
}

} // namespace

QColor MainWidgetFixture::chipColour(const QUuid &collection, int page, int row)
{
    if (collection == Alpha && page == 6) {
        switch (row) {
        case 1:
            return QColor(102, 100, 100);
        case 2:
            return QColor(100, 100, 100);
        case 3:
            return QColor(240, 240, 20);
        default:
            break;
        }
    }
    const int salt = collection == Alpha ? 0 : collection == Bravo ? 170 : collection == Sarnex ? 85 : 40;
    return QColor(QColor::fromHsv((page * 57 + row * 13 + salt) % 360, 180, 230 - row * 30).rgb());
}

QString MainWidgetFixture::chipCode(const QUuid &collection, int page, int row)
{
    return QStringLiteral("%1-%2%3").arg(prefixOf(collection)).arg(page).arg(row);
}

QColor MainWidgetFixture::ghostColour()
{
    return QColor(10, 120, 240);
}

QColor MainWidgetFixture::bannerColour()
{
    return QColor(30, 90, 160);
}

QString MainWidgetFixture::headerLink()
{
    return QStringLiteral("https://example.com/alpha");
}

QString MainWidgetFixture::longCopyrightText()
{
    return QStringLiteral("<p>Alpha colours © 2024, Zürich. All rights reserved; the long version of the notice.</p>");
}

QString MainWidgetFixture::shortCopyrightText()
{
    return QStringLiteral("<p>Bravo ©</p>");
}

void MainWidgetFixture::isolate()
{
    const QByteArray temporary = qgetenv("TMPDIR");
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    if (memory.isDir() && memory.isWritable())
        qputenv("TMPDIR", "/dev/shm");
    TestEnvironment::isolate();
    if (temporary.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", temporary);
}

bool MainWidgetFixture::write()
{
    QDir().mkpath(dizevizFolder());
    {
        auto writer = m_folder.createFile(QStringLiteral("main.db"));
        const qint64 system = Velmar::DBStructure::SystemWideCollectionId;
        const qint64 alpha = writer->addCollection(Alpha, QStringLiteral("ALPHA"), QStringLiteral("Alpha"), 1, true);
        const qint64 bravo = writer->addCollection(Bravo, QStringLiteral("BRAVO"), QStringLiteral("Bravo"), 2, true);
        const qint64 sarnex = writer->addCollection(Sarnex, QStringLiteral("SARNEX"), QStringLiteral("Sarnex"), 3, true);
        const qint64 plain = writer->addCollection(Plain, QStringLiteral("PLAIN"), QStringLiteral("Plain"), 4, true);
        const QList<QPair<QString, QString>> normal{
            {QStringLiteral("card.type"), QStringLiteral("normal")},
            {QStringLiteral("num.of.segments"), QStringLiteral("12")},
            {QStringLiteral("first.segment.angle"), QStringLiteral("0")},
            {QStringLiteral("segment.increment.orientation"), QStringLiteral("CW")},
            {QStringLiteral("mode.card"), QStringLiteral("ModeColorToColor")},
            {QStringLiteral("color.tooltip.show.row.code"), QStringLiteral("1")},
        };
        const bool ok = FixtureTheme::write(*writer)
            && writer->addSetting(system, QStringLiteral("has.textures.page"), QStringLiteral("1"))
            && writeCards(*writer, alpha, Alpha,
                          {{1, 1, 1, false, 4}, {2, 3, 3, true, 4}, {3, 5, 5, false, 4}, {4, 7, 6, false, 4},
                           {5, 9, 2, false, 4}, {6, 11, 4, false, 4}})
            && writeSettings(*writer, alpha, normal) && writeMaterials(*writer, alpha)
            && writeSettings(*writer, alpha,
                             {{QStringLiteral("has.exterior.filter"), QStringLiteral("1")},
                              {QStringLiteral("mood.visible"), QStringLiteral("1")},
                              {QStringLiteral("has.product.groups.page"), QStringLiteral("1")},
                              {QStringLiteral("has.textures.page"), QStringLiteral("1")},
                              {QStringLiteral("has.huecast.page"), QStringLiteral("1")},
                              {QStringLiteral("save.palette.text.format"), QStringLiteral("1")},
                              {QStringLiteral("header.link"), headerLink()},
                              {QStringLiteral("dizeviz.enabled"), QStringLiteral("1")},
                              {QStringLiteral("dizeviz.folder.to.watch.macos"), dizevizFolder()},
                              {QStringLiteral("dizeviz.filename.to.watch"), QStringLiteral("measure.cxf")}})
            && writer->addSettings(alpha, QStringLiteral("schemes"), {QStringLiteral("contrast"), QStringLiteral("harmonic")})
            && writer->addSettings(alpha, QStringLiteral("tab.bar.page"),
                                   {QStringLiteral("PageOfColorSchemes"), QStringLiteral("PageOfTextures"),
                                    QStringLiteral("PageOfProducts"), QStringLiteral("PageOfHuecast")})
            && writer->addSettings(alpha, QStringLiteral("page.name.search.order"), {QStringLiteral("0")})
            && writer->addSettings(alpha, QStringLiteral("row.name.search.order"), {QStringLiteral("0")})
            && writer->addSettings(alpha, QStringLiteral("page.name.display.order"), {QStringLiteral("0")})
            && writer->addThemeItem(alpha, QStringLiteral("image.banner"),
                                    DemoTheme::solidPng(QSize(400, 50), bannerColour()))
            && writeTexts(*writer, alpha, QStringLiteral("Alpha"), longCopyrightText())
            && writeCards(*writer, bravo, Bravo, {{1, 2, 1, false, 1}})
            && writeSettings(*writer, bravo, normal)
            && writeSettings(*writer, bravo,
                             {{QStringLiteral("has.exterior.filter"), QStringLiteral("0")},
                              {QStringLiteral("mood.visible"), QStringLiteral("0")},
                              {QStringLiteral("help.link"), QStringLiteral("file:///%app%/Contents/Resources/help/main.html#bravo")}})
            && writeTexts(*writer, bravo, QStringLiteral("Bravo"), shortCopyrightText())
            && writeCards(*writer, sarnex, Sarnex, {{1, 2, 1, false, 3}, {2, 4, 1, false, 3}})
            && writer->addSetting(sarnex, QStringLiteral("card.type"), QStringLiteral("sarnex"))
            && writer->addSetting(sarnex, QStringLiteral("help.link"), QStringLiteral("https://example.com/help"))
            && writer->addSettings(sarnex, QStringLiteral("schemes"), {QStringLiteral("wide contrast")})
            && writeTexts(*writer, sarnex, QStringLiteral("Sarnex"), longCopyrightText())
            && writeCards(*writer, plain, Plain, {{1, 1, 1, false, 0}})
            && writer->addSetting(plain, QStringLiteral("help.link"), QStringLiteral("http://[not a host/help"));
        if (!ok || !writer->isOk()) {
            m_error = QStringLiteral("main.db: %1").arg(writer->lastError());
            return false;
        }
    }
    {
        auto writer = m_folder.createFile(QStringLiteral("scratch.db"), false);
        const qint64 scratch = writer->addCollection(Scratch, QStringLiteral("SCRATCH"), QStringLiteral("Scratch"), 5, true);
        if (!writeCards(*writer, scratch, Scratch, {{1, 4, 2, false, 4}})
            || !writeSettings(*writer, scratch, {{QStringLiteral("card.type"), QStringLiteral("normal")}})
            || !writer->isOk()) {
            m_error = QStringLiteral("scratch.db: %1").arg(writer->lastError());
            return false;
        }
    }
    Velmar::DBManager::s_installed_collections.clear();
    if (Velmar::Global::InitializePrerequisites(QString(), m_folder.lookupFolder()) != 0) {
        m_error = QStringLiteral("the services did not start");
        return false;
    }
    browse(Alpha);
    return true;
}

void MainWidgetFixture::browse(const QUuid &collection, int page, int row, int segment, int mood, bool exterior)
{
    using Velmar::Settings;
    {
        // One write of the store instead of one a value: every write is
        // flushed to the disk.
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavo Rindel"),
                        Settings::hostApplicationKey());
        store.remove(collection.toString());
        store.beginGroup(collection.toString());
        store.setValue(QStringLiteral("PageIndex"), page);
        store.setValue(QStringLiteral("RowIndex"), row);
        store.setValue(QStringLiteral("SegmentIndex"), segment);
        store.setValue(QStringLiteral("MoodFilter"), mood);
        store.setValue(QStringLiteral("ExteriorColors"), exterior);
        store.endGroup();
        store.setValue(QStringLiteral("UuidOfLastUsedCollection"), collection.toString());
    }
    Settings::s_lastUsedCollection = collection;
    Velmar::DBManager::selectedCollectionChanged(collection);
    Velmar::CollectionSettings::selectedCollectionChanged(collection);
}
