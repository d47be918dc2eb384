// Palette files: the XML palette byte for byte, the text export, loading
// versions 3 and 2, broken and hostile files, and that a failed save or load
// never costs the user the palette or the file they had.

#include "FileBytes.h"
#include "FileSizeLimit.h"
#include "FixtureFolder.h"
#include "PaletteFixture.h"
#include "ReadOnlyFolder.h"
#include "TestEnvironment.h"
#include "WithoutPermissionOverride.h"

#include "inc/XmlPointer.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/PaletteFile.h"
#include "services/Settings.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <libxml/encoding.h>
#include <libxml/xmlreader.h>

#include <cstring>

using namespace Velmar;

namespace {

const QString fixtureFile = QStringLiteral(VELMAR_TEST_DATA_DIR "/one-chip.palette");

// Read through libxml2's own streaming reader, which knows nothing of ours.
bool wellFormed(const QByteArray &bytes)
{
    xmlTextReaderPtr reader = xmlReaderForMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr,
                                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!reader)
        return false;
    int status = 1;
    while (status == 1)
        status = xmlTextReaderRead(reader);
    xmlFreeTextReader(reader);
    return status == 0;
}

// The palette as "column,row=code", sorted, from the widget or the settings.
QStringList cellsOf(const MyPaletteWidget &palette)
{
    QStringList cells;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            const QString code = palette.myPaletteColorCodeAtCoord(QPoint(column, row));
            if (!code.isEmpty())
                cells << QStringLiteral("%1,%2=%3").arg(column).arg(row).arg(code);
        }
    }
    cells.sort();
    return cells;
}

QStringList storedCells()
{
    QStringList cells;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            const DB::ItemIndex index = Settings::myPaletteEntry(QPoint(column, row));
            for (const QString &code : {QStringLiteral("GB-0101"), QStringLiteral("GB-0102"), QStringLiteral("GB-0103"),
                                        QStringLiteral("GB-0301"), QStringLiteral("GB-0302"), QStringLiteral("GB-0303"),
                                        QStringLiteral("GB-0304"), QStringLiteral("NP-0101")}) {
                const DB::ItemIndex expected = PaletteFixture::index(code);
                if (index.entryId > 0 && index.collection == expected.collection && index.entryId == expected.entryId
                    && index.pageId == expected.pageId)
                    cells << QStringLiteral("%1,%2=%3").arg(column).arg(row).arg(code);
            }
        }
    }
    cells.sort();
    return cells;
}

QString entryXml(int row, int column, const QUuid &collection, int pageIndex, int rowIndex, const QString &code)
{
    return QStringLiteral("<chip row=\"%1\" col=\"%2\"><entry uuid-of-collection=\"%3\" page-index=\"%4\" "
                          "row-index=\"%5\" color-code=\"%6\"/></chip>")
        .arg(row)
        .arg(column)
        .arg(collection.toString())
        .arg(pageIndex)
        .arg(rowIndex)
        .arg(code);
}

QString entryXml(int row, int column, const QString &code)
{
    const PaletteFixture::Chip chip = PaletteFixture::chip(code);
    return entryXml(row, column, chip.collection, chip.pageIndex, chip.rowIndex, code);
}

QByteArray paletteXml(const QString &rootAttributes, const QString &body)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tavo-palette %1>%2</tavo-palette>\n")
                .arg(rootAttributes, body))
        .toUtf8();
}

QByteArray version3(const QString &body)
{
    return paletteXml(QStringLiteral("version=\"3.0\" system=\"multi-collection\""), body);
}

int identityCodec(unsigned char *out, int *outLength, const unsigned char *in, int *inLength)
{
    const int n = qMin(*outLength, *inLength);
    memcpy(out, in, size_t(n));
    *outLength = n;
    *inLength = n;
    return n;
}

} // namespace

class TestPaletteFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void goldenBytes();
    void roundTripKeepsCellsDescriptionAndKeys();
    void emptyPaletteWritesAnEmptyChipsElement();
    void textExportNamesTheCellsOwnCollection();
    void emptyTextExportLeavesTheFileAlone();
    void failedWriteKeepsThePreviousFile();
    void folderTheUserCannotWrite_data();
    void folderTheUserCannotWrite();
    void readOnlyFileLoads();
    void missingFileChangesNothing();
    void majorVersion_data();
    void majorVersion();
    void load_data();
    void load();
    void loadingKeepsTheSelection();
    void disallowedCharactersAreNotWritten();
    void externalEntitiesAreNotRead();
    void libxml2StaysUsableForTheHost();
    void scopedHolderKeepsWhatItIsResetTo();

private:
    void setPaletteBefore();

    FixtureFolder m_folder;
    QTemporaryDir m_files;
};

void TestPaletteFiles::initTestCase()
{
    TestEnvironment::isolate();
    QString error;
    QVERIFY2(PaletteFixture::start(m_folder, &error), qPrintable(error));
    QVERIFY(m_files.isValid());
}

void TestPaletteFiles::init()
{
    PaletteFixture::clearSettings();
}

// The palette every load row starts from.
void TestPaletteFiles::setPaletteBefore()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    PaletteFixture::store(QPoint(5, 3), QStringLiteral("GB-0102"));
    Settings::setMyPaletteEntryState(QPoint(1, 0), true);
    Settings::setMyPaletteDescription(QStringLiteral("Before"));
}

void TestPaletteFiles::goldenBytes()
{
    PaletteFixture::store(QPoint(2, 1), QStringLiteral("GB-0304"));
    Settings::setMyPaletteDescription(QStringLiteral("&<\"\u00e4"));
    MyPaletteWidget palette;
    QCOMPARE(palette.myPaletteNote(), QStringLiteral("&<\"\u00e4"));

    const QString path = m_files.filePath(QStringLiteral("golden.palette"));
    palette.savePaletteTo(PaletteFileFormatXml, path);
    const QByteArray written = FileBytes::read(path);
    const QByteArray expected = FileBytes::read(fixtureFile);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(written, expected);
    QVERIFY(wellFormed(written.mid(3)));

    // And it loads into the same palette.
    palette.clearPalette(true, true);
    palette.loadPaletteFrom(PaletteFileFormatXml, path);
    QCOMPARE(cellsOf(palette), QStringList{QStringLiteral("2,1=GB-0304")});
    QCOMPARE(palette.myPaletteNote(), QStringLiteral("&<\"\u00e4"));
}

void TestPaletteFiles::roundTripKeepsCellsDescriptionAndKeys()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("NP-0101"));
    PaletteFixture::store(QPoint(3, 0), QStringLiteral("GB-0102"));
    PaletteFixture::store(QPoint(5, 2), QStringLiteral("GB-0301"));
    PaletteFixture::store(QPoint(1, 3), QStringLiteral("GB-0304"));
    const QString description = QStringLiteral("Salon \u2014 \u00e9t\u00e9 \U0001F33F <b>&amp;</b>");
    Settings::setMyPaletteDescription(description);
    MyPaletteWidget palette;
    QVector<MyPaletteWidget::ColorEntry> before;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 6; ++column)
            before << palette.cellAt(QPoint(column, row));
    const QStringList keysBefore = storedCells();
    QCOMPARE(keysBefore.size(), 4);

    const QString path = m_files.filePath(QStringLiteral("round.palette"));
    palette.savePaletteTo(PaletteFileFormatXml, path);
    palette.clearPalette(true, true);
    QVERIFY(palette.myPaletteIsEmpty());
    QVERIFY(storedCells().isEmpty());
    QCOMPARE(Settings::myPaletteDescription(), QString());

    QSignalSpy changed(&palette, SIGNAL(myPaletteChanged()));
    palette.loadPaletteFrom(PaletteFileFormatXml, path);
    QCOMPARE(changed.count(), 1);
    int i = 0;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column, ++i) {
            const MyPaletteWidget::ColorEntry after = palette.cellAt(QPoint(column, row));
            QCOMPARE(after.itemIndex().collection, before.at(i).itemIndex().collection);
            QCOMPARE(after.itemIndex().pageId, before.at(i).itemIndex().pageId);
            QCOMPARE(after.itemIndex().entryId, before.at(i).itemIndex().entryId);
            QCOMPARE(after.color(), before.at(i).color());
            QCOMPARE(after.text(), before.at(i).text());
        }
    }
    QCOMPARE(storedCells(), keysBefore);
    QCOMPARE(palette.myPaletteNote(), description);
    QCOMPARE(Settings::myPaletteDescription(), description);

    // A new palette built from the settings shows the same.
    MyPaletteWidget again;
    QCOMPARE(cellsOf(again), cellsOf(palette));
    QCOMPARE(again.myPaletteNote(), description);
}

void TestPaletteFiles::emptyPaletteWritesAnEmptyChipsElement()
{
    MyPaletteWidget palette;
    const QString path = m_files.filePath(QStringLiteral("empty.palette"));
    palette.savePaletteTo(PaletteFileFormatXml, path);
    const QByteArray bytes = FileBytes::read(path);
    QVERIFY(bytes.startsWith("\xef\xbb\xbf<?xml"));
    QVERIFY(bytes.contains("<description/>"));
    QVERIFY(!bytes.contains("<chip "));
    PaletteFile::Contents contents;
    QVERIFY(PaletteFile::parse(bytes, contents));
    QVERIFY(contents.chips.isEmpty());
}

void TestPaletteFiles::textExportNamesTheCellsOwnCollection()
{
    // Both collections have the numeric id 1 in their own file.
    PaletteFixture::store(QPoint(1, 0), QStringLiteral("GB-0102"));
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("NP-0101"));
    PaletteFixture::store(QPoint(3, 2), QStringLiteral("GB-0304"));
    // A reference whose card no longer holds the chip is left out.
    DB::ItemIndex moved = PaletteFixture::index(QStringLiteral("GB-0301"));
    moved.pageId = PaletteFixture::chip(QStringLiteral("GB-0101")).pageId;
    Settings::setMyPaletteEntry(QPoint(4, 3), moved);
    MyPaletteWidget palette;
    QVERIFY(palette.cellAt(QPoint(4, 3)).isFilled());

    const QString path = m_files.filePath(QStringLiteral("codes.txt"));
    palette.savePaletteTo(PaletteFileFormatText, path);
    QCOMPARE(FileBytes::read(path), QByteArray("\xef\xbb\xbf"
                                       "Nordic Paints : NP-0101\n"
                                       "Galleria Interiors : GB-0102\n"
                                       "Galleria Interiors : GB-0304\n"));

    const QString xmlPath = m_files.filePath(QStringLiteral("moved.palette"));
    palette.savePaletteTo(PaletteFileFormatXml, xmlPath);
    QVERIFY(!FileBytes::read(xmlPath).contains("GB-0301"));
}

void TestPaletteFiles::emptyTextExportLeavesTheFileAlone()
{
    MyPaletteWidget palette;
    const QString existing = m_files.filePath(QStringLiteral("kept.txt"));
    QVERIFY(FileBytes::write(existing, "earlier export\n"));
    const QDateTime modified = QFileInfo(existing).lastModified();
    palette.savePaletteTo(PaletteFileFormatText, existing);
    QCOMPARE(FileBytes::read(existing), QByteArray("earlier export\n"));
    QCOMPARE(QFileInfo(existing).lastModified(), modified);

    const QString missing = m_files.filePath(QStringLiteral("never.txt"));
    palette.savePaletteTo(PaletteFileFormatText, missing);
    QVERIFY(!QFile::exists(missing));
    // Neither is anything written for a format this version does not know.
    palette.savePaletteTo(static_cast<PaletteFileFormat>(2), missing);
    QVERIFY(!QFile::exists(missing));
}

void TestPaletteFiles::failedWriteKeepsThePreviousFile()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    PaletteFixture::store(QPoint(1, 0), QStringLiteral("GB-0102"));
    MyPaletteWidget palette;
    QTemporaryDir folder;
    const QString xmlPath = folder.filePath(QStringLiteral("mine.palette"));
    const QString textPath = folder.filePath(QStringLiteral("mine.txt"));
    const QByteArray previous = FileBytes::read(fixtureFile);
    QVERIFY(FileBytes::write(xmlPath, previous));
    QVERIFY(FileBytes::write(textPath, previous));
    {
        // Room for a few bytes only, like a full disk.
        FileSizeLimit limit(40);
        palette.savePaletteTo(PaletteFileFormatXml, xmlPath);
        palette.savePaletteTo(PaletteFileFormatText, textPath);
    }
    QCOMPARE(FileBytes::read(xmlPath), previous);
    QCOMPARE(FileBytes::read(textPath), previous);
    // No temporary file is left behind.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2);

    // With room again the same calls replace both files.
    palette.savePaletteTo(PaletteFileFormatXml, xmlPath);
    palette.savePaletteTo(PaletteFileFormatText, textPath);
    QVERIFY(FileBytes::read(xmlPath).contains("color-code=\"GB-0102\""));
    QVERIFY(FileBytes::read(textPath).endsWith("Galleria Interiors : GB-0102\n"));
}

void TestPaletteFiles::folderTheUserCannotWrite_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("diskFull");
    QTest::addColumn<QByteArray>("written"); // what the new file ends with
    const QByteArray palette("\t</chips>\n</tavo-palette>\n");
    const QByteArray text("Galleria Interiors : GB-0102\n");
    QTest::newRow("palette file") << int(PaletteFileFormatXml) << false << palette;
    QTest::newRow("text export") << int(PaletteFileFormatText) << false << text;
    QTest::newRow("palette file, disk full") << int(PaletteFileFormatXml) << true << QByteArray();
    QTest::newRow("text export, disk full") << int(PaletteFileFormatText) << true << QByteArray();
}

void TestPaletteFiles::folderTheUserCannotWrite()
{
    QFETCH(int, format);
    QFETCH(bool, diskFull);
    QFETCH(QByteArray, written);
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    PaletteFixture::store(QPoint(1, 0), QStringLiteral("GB-0102"));
    MyPaletteWidget palette;
    ReadOnlyFolder folder;
    QVERIFY(folder.isValid());
    // The user's own file in a folder they cannot write.
    const QString path = folder.filePath(QStringLiteral("mine.palette"));
    // Longer than the text export, which must cut it; on a full disk shorter
    // than either format, so that only the new file runs out of room.
    const QByteArray previous = diskFull ? QByteArray("an earlier palette\n") : FileBytes::read(fixtureFile);
    QVERIFY(FileBytes::write(path, previous));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                      | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther));
    {
        WithoutPermissionOverride asTheUser;
        if (!folder.makeReadOnly())
            QSKIP("This process can write into a folder of mode 0555; the test would prove nothing.");
        if (diskFull) {
            FileSizeLimit limit(40);
            palette.savePaletteTo(PaletteFileFormat(format), path);
        } else {
            palette.savePaletteTo(PaletteFileFormat(format), path);
        }
    }
    const QByteArray after = FileBytes::read(path);
    if (written.isEmpty()) {
        QCOMPARE(after, previous);
    } else {
        QVERIFY2(after.startsWith("\xef\xbb\xbf") && after.endsWith(written), after.constData());
        QVERIFY(after.contains("GB-0101"));
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("mine.palette")});
}

void TestPaletteFiles::readOnlyFileLoads()
{
    const QString path = m_files.filePath(QStringLiteral("readonly.palette"));
    QFile::remove(path);
    QVERIFY(QFile::copy(fixtureFile, path));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    setPaletteBefore();
    MyPaletteWidget palette;
    {
        WithoutPermissionOverride readOnly;
        QFile probe(path);
        if (probe.open(QIODevice::ReadWrite))
            QSKIP("This process can write a file of mode 0444; the test would prove nothing.");
        palette.loadPaletteFrom(PaletteFileFormatXml, path);
    }
    QCOMPARE(cellsOf(palette), QStringList{QStringLiteral("2,1=GB-0304")});
    QCOMPARE(palette.myPaletteNote(), QStringLiteral("&<\"\u00e4"));
}

void TestPaletteFiles::missingFileChangesNothing()
{
    setPaletteBefore();
    MyPaletteWidget palette;
    QSignalSpy changed(&palette, SIGNAL(myPaletteChanged()));
    palette.loadPaletteFrom(PaletteFileFormatXml, m_files.filePath(QStringLiteral("nowhere.palette")));
    palette.loadPaletteFrom(PaletteFileFormatXml, m_files.path());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(cellsOf(palette), (QStringList{QStringLiteral("0,0=GB-0101"), QStringLiteral("5,3=GB-0102")}));
    QCOMPARE(palette.myPaletteNote(), QStringLiteral("Before"));
}

void TestPaletteFiles::majorVersion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("major");
    QTest::newRow("3.0") << "3.0" << 3;
    QTest::newRow("3.00") << "3.00" << 3;
    QTest::newRow("3.x") << "3.x" << 3;
    QTest::newRow("2.0") << "2.0" << 2;
    QTest::newRow("empty parts dropped") << "3..0." << 3;
    QTest::newRow("4.0") << "4.0" << 4;
    QTest::newRow("3") << "3" << 0;
    QTest::newRow("3.1") << "3.1" << 0;
    QTest::newRow("3.0.0") << "3.0.0" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestPaletteFiles::majorVersion()
{
    QFETCH(QString, text);
    QFETCH(int, major);
    QCOMPARE(PaletteFile::majorVersion(text), major);
}

void TestPaletteFiles::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("emitted");

    const QStringList before{QStringLiteral("0,0=GB-0101"), QStringLiteral("5,3=GB-0102")};
    const QString kept = QStringLiteral("Before");
    const QByteArray good = version3(QStringLiteral("<description>Autumn</description><chips>%1%2</chips>")
                                         .arg(entryXml(2, 1, QStringLiteral("GB-0302")), entryXml(3, 0, QStringLiteral("NP-0101"))));

    QTest::newRow("version 3") << good << QStringList{QStringLiteral("0,3=NP-0101"), QStringLiteral("1,2=GB-0302")}
                               << "Autumn" << 1;
    QTest::newRow("version 3.00, system in capitals")
        << paletteXml(QStringLiteral("version=\"3.00\" system=\"MULTI-Collection\""),
                      QStringLiteral("<chips>%1</chips>").arg(entryXml(0, 4, QStringLiteral("GB-0101"))))
        << QStringList{QStringLiteral("4,0=GB-0101")} << "" << 1;
    QTest::newRow("version 3.x")
        << paletteXml(QStringLiteral("version=\"3.x\" system=\"multi-collection\""),
                      QStringLiteral("<chips>%1</chips>").arg(entryXml(0, 4, QStringLiteral("GB-0101"))))
        << QStringList{QStringLiteral("4,0=GB-0101")} << "" << 1;
    QTest::newRow("version 2: code, chip name, card name")
        << paletteXml(QStringLiteral("version=\"2.0\" system=\"galleria\""),
                      QStringLiteral("<description>Old</description><chips><chip row=\"0\" col=\"0\">GB-0303</chip>"
                                     "<chip row=\"1\" col=\"1\">Terracotta</chip><chip row=\"2\" col=\"2\">Sunset Card</chip>"
                                     "</chips>"))
        << QStringList{QStringLiteral("0,0=GB-0303"), QStringLiteral("1,1=GB-0302")} << "Old" << 1;
    QTest::newRow("version 2 of a collection not installed")
        << paletteXml(QStringLiteral("version=\"2.0\" system=\"ELSEWHERE\""),
                      QStringLiteral("<chips><chip row=\"0\" col=\"0\">GB-0303</chip></chips>"))
        << before << kept << 1;
    QTest::newRow("truncated") << good.left(good.size() / 2) << before << kept << 1;
    QTest::newRow("not XML") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << before << kept << 1;
    QTest::newRow("empty file") << QByteArray() << before << kept << 1;
    QTest::newRow("wrong root element")
        << QByteArray(good).replace("tavo-palette", "palette") << before << kept << 1;
    QTest::newRow("version 3.1") << QByteArray(good).replace("\"3.0\"", "\"3.1\"") << before << kept << 1;
    QTest::newRow("version 4.0") << QByteArray(good).replace("\"3.0\"", "\"4.0\"") << before << kept << 1;
    QTest::newRow("version without a minor part") << QByteArray(good).replace("\"3.0\"", "\"3\"") << before << kept << 1;
    QTest::newRow("no version") << QByteArray(good).replace("version=\"3.0\" ", "") << before << kept << 1;
    QTest::newRow("no system") << QByteArray(good).replace(" system=\"multi-collection\"", "") << before << kept << 1;
    QTest::newRow("version 3 naming one collection")
        << QByteArray(good).replace("multi-collection", "GALLERIA") << before << kept << 1;
    QTest::newRow("chips outside the grid")
        << version3(QStringLiteral("<chips>%1%2%3%4</chips>")
                        .arg(entryXml(7, 0, QStringLiteral("GB-0101")), entryXml(0, -1, QStringLiteral("GB-0101")),
                             entryXml(0, 6, QStringLiteral("GB-0101")), entryXml(3, 5, QStringLiteral("GB-0103"))))
        << QStringList{QStringLiteral("5,3=GB-0103")} << "" << 1;
    QTest::newRow("chip without a row")
        << version3(QStringLiteral("<chips>%1</chips>").arg(entryXml(0, 4, QStringLiteral("GB-0101")).replace(QStringLiteral("row=\"0\" "), QString())))
        << QStringList{QStringLiteral("4,0=GB-0101")} << "" << 1;
    QTest::newRow("code names another chip")
        << version3(QStringLiteral("<description>Codes</description><chips>%1</chips>")
                        .arg(entryXml(0, 0, PaletteFixture::Galleria, 3, 1, QStringLiteral("GB-0302"))))
        << QStringList{} << "Codes" << 1;
    QTest::newRow("code differs in case")
        << version3(QStringLiteral("<chips>%1</chips>").arg(entryXml(0, 0, PaletteFixture::Galleria, 3, 1, QStringLiteral("gb-0301"))))
        << QStringList{QStringLiteral("0,0=GB-0301")} << "" << 1;
    QTest::newRow("duplicate cell, the last wins")
        << version3(QStringLiteral("<chips>%1%2</chips>")
                        .arg(entryXml(2, 2, QStringLiteral("GB-0301")), entryXml(2, 2, QStringLiteral("GB-0303"))))
        << QStringList{QStringLiteral("2,2=GB-0303")} << "" << 1;
    QTest::newRow("collection not installed")
        << version3(QStringLiteral("<chips>%1</chips>").arg(entryXml(0, 0, QUuid::createUuid(), 1, 1, QStringLiteral("GB-0101"))))
        << QStringList{} << "" << 1;
    QTest::newRow("no chips element")
        << version3(QStringLiteral("<description>Only words</description>")) << QStringList{} << "Only words" << 1;

    // A real palette with a few megabytes of comment: not read at all.
    QByteArray huge = good;
    huge.insert(huge.indexOf("<chips>"), "<!--" + QByteArray(4 * 1024 * 1024, 'x') + "-->");
    QTest::newRow("several megabytes") << huge << before << kept << 0;
}

void TestPaletteFiles::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, cells);
    QFETCH(QString, description);
    QFETCH(int, emitted);

    setPaletteBefore();
    MyPaletteWidget palette;
    const QString path = m_files.filePath(QStringLiteral("load.palette"));
    QVERIFY(FileBytes::write(path, file));
    QSignalSpy changed(&palette, SIGNAL(myPaletteChanged()));
    palette.loadPaletteFrom(PaletteFileFormatXml, path);

    cells.sort();
    QCOMPARE(cellsOf(palette), cells);
    QCOMPARE(storedCells(), cells);
    QCOMPARE(palette.myPaletteNote(), description);
    QCOMPARE(Settings::myPaletteDescription(), description);
    QCOMPARE(changed.count(), emitted);
}

void TestPaletteFiles::loadingKeepsTheSelection()
{
    setPaletteBefore();
    Settings::setMyPaletteEntryState(QPoint(0, 0), true);
    MyPaletteWidget palette;
    QCOMPARE(palette.myPaletteSelectedCount(), 2);
    palette.loadPaletteFrom(PaletteFileFormatXml, fixtureFile);
    QCOMPARE(palette.myPaletteSelectedCount(), 2);
    QCOMPARE(palette.myPaletteSelectedItemCoordsAt(0), QPoint(0, 0));
    QCOMPARE(palette.myPaletteSelectedItemCoordsAt(1), QPoint(1, 0));
    QVERIFY(Settings::myPaletteEntryState(QPoint(0, 0)));
    QVERIFY(Settings::myPaletteEntryState(QPoint(1, 0)));
    QCOMPARE(palette.myPaletteColorAtCoord(QPoint(0, 0)), QColor(Qt::transparent));
}

void TestPaletteFiles::disallowedCharactersAreNotWritten()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    MyPaletteWidget palette;
    // Pasted control characters, a lone surrogate and a non-character.
    const QString pasted = QStringLiteral("Sea") + QChar(0x0001) + QStringLiteral("side") + QChar(0xD800)
        + QChar(0xFFFE) + QStringLiteral("\t\U0001F30A");
    palette.descriptionField()->setText(pasted);
    const QString path = m_files.filePath(QStringLiteral("control.palette"));
    palette.savePaletteTo(PaletteFileFormatXml, path);
    QVERIFY(wellFormed(FileBytes::read(path).mid(3)));

    palette.clearPalette(true, true);
    palette.loadPaletteFrom(PaletteFileFormatXml, path);
    QCOMPARE(palette.myPaletteNote(), QStringLiteral("Seaside\t\U0001F30A"));
    QCOMPARE(cellsOf(palette), QStringList{QStringLiteral("0,0=GB-0101")});
}

void TestPaletteFiles::externalEntitiesAreNotRead()
{
    const QString secret = m_files.filePath(QStringLiteral("secret.txt"));
    QVERIFY(FileBytes::write(secret, "SECRET-CONTENT"));
    const QByteArray file = QStringLiteral("<?xml version=\"1.0\"?>\n"
                                           "<!DOCTYPE tavo-palette [<!ENTITY secret SYSTEM \"%1\">]>\n"
                                           "<tavo-palette version=\"3.0\" system=\"multi-collection\">"
                                           "<description>&secret;</description><chips>%2</chips></tavo-palette>\n")
                                .arg(QUrl::fromLocalFile(secret).toString(), entryXml(1, 1, QStringLiteral("GB-0103")))
                                .toUtf8();
    PaletteFile::Contents contents;
    QVERIFY(PaletteFile::parse(file, contents));
    QVERIFY(!contents.description.contains(QStringLiteral("SECRET")));
    QCOMPARE(contents.chips.size(), 1);

    // Nor is an external DTD loaded, whose entities would otherwise count.
    const QString dtd = m_files.filePath(QStringLiteral("palette.dtd"));
    QVERIFY(FileBytes::write(dtd, "<!ENTITY note \"FROM-THE-DTD\">"));
    const QByteArray withDtd = QStringLiteral("<?xml version=\"1.0\"?>\n"
                                              "<!DOCTYPE tavo-palette SYSTEM \"%1\">\n"
                                              "<tavo-palette version=\"3.0\" system=\"multi-collection\">"
                                              "<description>&note;</description><chips/></tavo-palette>\n")
                                   .arg(QUrl::fromLocalFile(dtd).toString())
                                   .toUtf8();
    QVERIFY(PaletteFile::parse(withDtd, contents));
    QVERIFY(!contents.description.contains(QStringLiteral("DTD")));
}

void TestPaletteFiles::libxml2StaysUsableForTheHost()
{
    // Another part of the host registered an encoding with libxml2; a
    // clean-up of the parser would free it under that code.
    xmlCharEncodingHandlerPtr hostHandler = xmlNewCharEncodingHandler("X-HOST-ENCODING", identityCodec, identityCodec);
    QVERIFY(hostHandler);
    QCOMPARE(xmlFindCharEncodingHandler("X-HOST-ENCODING"), hostHandler);

    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    MyPaletteWidget palette;
    const QString path = m_files.filePath(QStringLiteral("host.palette"));
    palette.savePaletteTo(PaletteFileFormatXml, path);
    palette.loadPaletteFrom(PaletteFileFormatXml, path);
    palette.loadPaletteFrom(PaletteFileFormatXml, fixtureFile);
    QCOMPARE(cellsOf(palette), QStringList{QStringLiteral("2,1=GB-0304")});

    QCOMPARE(xmlFindCharEncodingHandler("X-HOST-ENCODING"), hostHandler);
}

void TestPaletteFiles::scopedHolderKeepsWhatItIsResetTo()
{
#ifndef NDEBUG
    QSKIP("With assertions on, resetting a holder to its own object stops the program by design.");
#else
    Xml::xml_scoped_ptr<xmlDoc> doc(xmlReadMemory("<a>text</a>", 11, nullptr, nullptr, XML_PARSE_NONET));
    QVERIFY(doc);
    doc.reset(doc.get());
    // Still the live document, freed once when the holder goes.
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(xmlDocGetRootElement(doc.get())->name)), QByteArray("a"));
    Xml::xml_scoped_ptr<xmlDoc> empty;
    empty.reset(nullptr);
    QVERIFY(!empty);
#endif
}

QTEST_MAIN(TestPaletteFiles)
#include "tst_palettefiles.moc"
