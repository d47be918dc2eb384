// Swatch files for the host, checked byte for byte and read back by a
// reader of our own written from the format's published layout.

#include "FileSizeLimit.h"
#include "ReadOnlyFolder.h"
#include "TestEnvironment.h"
#include "WithoutPermissionOverride.h"

#include "plugin/SwatchFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Velmar;

namespace {

struct SwatchRecord {
    quint16 space = 0xffff;
    quint16 components[4] = {};
    QString name;
};

// The layout, big-endian throughout: version word, count word, then per
// record the colour space word, four component words, a 32-bit name length
// that counts the closing zero, the UTF-16 name and that zero. Gives false
// on anything else, trailing bytes included.
bool readSwatches(const QByteArray &bytes, QList<SwatchRecord> &records, quint16 &version)
{
    int at = 0;
    auto word = [&bytes, &at](quint16 &out) {
        if (at + 2 > bytes.size())
            return false;
        out = quint16((quint8(bytes[at]) << 8) | quint8(bytes[at + 1]));
        at += 2;
        return true;
    };
    quint16 count = 0;
    if (!word(version) || !word(count))
        return false;
    for (int i = 0; i < count; ++i) {
        SwatchRecord record;
        if (!word(record.space))
            return false;
        for (quint16 &component : record.components) {
            if (!word(component))
                return false;
        }
        quint16 high = 0;
        quint16 low = 0;
        if (!word(high) || !word(low))
            return false;
        const quint32 length = (quint32(high) << 16) | low;
        if (length == 0)
            return false;
        for (quint32 unit = 0; unit + 1 < length; ++unit) {
            quint16 code = 0;
            if (!word(code))
                return false;
            record.name.append(QChar(code));
        }
        quint16 terminator = 1;
        if (!word(terminator) || terminator != 0)
            return false;
        records << record;
    }
    return at == bytes.size();
}

} // namespace

class tst_SwatchFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }
    void twoColoursByteForByte();
    void threeColoursWithADuplicateByteForByte();
    void fullPaletteReadBack();
    void namesLongerThanAWord();
    void skipsTransparentAndInvalid();
    void writesAndCommits();
    void failedWriteKeepsTheOldFile();
    void folderTheUserCannotWrite_data();
    void folderTheUserCannotWrite();
    void recognisedByTheFileProgram();
};

void tst_SwatchFile::twoColoursByteForByte()
{
    SwatchFile swatch;
    // Added in the other order: records go by ARGB value.
    QVERIFY(swatch.add(QColor(255, 0, 0), QStringLiteral("Rouge")));
    QVERIFY(swatch.add(QColor(12, 200, 7), QString()));
    const QByteArray expected = QByteArray::fromHex(
        "0002" "0002"
        // RGB(12,200,7): no name of its own.
        "0000" "0c0c" "c8c8" "0707" "0000" "0000000e"
        "0052" "0047" "0042" "0028" "0031" "0032" "002c" "0032" "0030" "0030" "002c" "0037" "0029" "0000"
        // "Rouge": five code units, the words 0 and 6.
        "0000" "ffff" "0000" "0000" "0000" "0000" "0006"
        "0052006f007500670065" "0000");
    QCOMPARE(swatch.encode().toHex(), expected.toHex());
}

void tst_SwatchFile::threeColoursWithADuplicateByteForByte()
{
    SwatchFile swatch;
    QVERIFY(swatch.add(QColor(0, 0, 255), QStringLiteral("Blue")));
    QVERIFY(swatch.add(QColor(1, 2, 3), QString::fromUtf8("\xc3\x89t\xc3\xa9")));
    // The same colour again keeps the first name.
    QVERIFY(!swatch.add(QColor(0, 0, 255), QStringLiteral("Second")));
    // A character outside the basic plane is two code units.
    QVERIFY(swatch.add(QColor(0, 0, 0), QString::fromUtf8("\xf0\x9f\x8e\xa8")));
    QCOMPARE(swatch.count(), 3);
    const QByteArray expected = QByteArray::fromHex(
        "0002" "0003"
        "0000" "0000" "0000" "0000" "0000" "00000003" "d83cdfa8" "0000"
        "0000" "0000" "0000" "ffff" "0000" "00000005" "0042006c00750065" "0000"
        "0000" "0101" "0202" "0303" "0000" "00000004" "00c9007400e9" "0000");
    QCOMPARE(swatch.encode().toHex(), expected.toHex());
}

void tst_SwatchFile::fullPaletteReadBack()
{
    // 24 different colours in a scrambled order, as cells of a palette.
    SwatchFile swatch;
    QMap<QRgb, QString> added;
    for (int i = 0; i < 24; ++i) {
        const QColor colour((i * 53) % 256, (i * 101 + 17) % 256, (255 - i * 7) % 256);
        const QString name = QStringLiteral("Chip %1").arg(i);
        QVERIFY(swatch.add(colour, name));
        added.insert(colour.rgb(), name);
    }
    QCOMPARE(added.size(), 24);
    QList<SwatchRecord> records;
    quint16 version = 0;
    QVERIFY(readSwatches(swatch.encode(), records, version));
    QCOMPARE(version, quint16(2));
    QCOMPARE(records.size(), 24);
    // The map iterates by ascending ARGB value, as the records must come.
    int i = 0;
    for (auto it = added.cbegin(); it != added.cend(); ++it, ++i) {
        const SwatchRecord &record = records.at(i);
        const QColor expected = QColor::fromRgb(it.key());
        QCOMPARE(record.space, quint16(0));
        QCOMPARE(record.components[0], quint16(expected.red() * 257));
        QCOMPARE(record.components[1], quint16(expected.green() * 257));
        QCOMPARE(record.components[2], quint16(expected.blue() * 257));
        QCOMPARE(record.components[3], quint16(0));
        // Equal high and low bytes: 8-bit channels scaled to 16 bits.
        for (int c = 0; c < 3; ++c)
            QCOMPARE(record.components[c] >> 8, record.components[c] & 0xff);
        QCOMPARE(record.name, it.value());
    }
}

void tst_SwatchFile::namesLongerThanAWord()
{
    // 70000 code units need the upper word of the length.
    SwatchFile swatch;
    const QString name(70000, QLatin1Char('n'));
    QVERIFY(swatch.add(QColor(9, 9, 9), name));
    const QByteArray bytes = swatch.encode();
    QCOMPARE(bytes.mid(14, 4).toHex(), QByteArray("00011171"));
    QList<SwatchRecord> records;
    quint16 version = 0;
    QVERIFY(readSwatches(bytes, records, version));
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.first().name, name);
}

void tst_SwatchFile::skipsTransparentAndInvalid()
{
    SwatchFile swatch;
    QVERIFY(!swatch.add(QColor(Qt::transparent), QStringLiteral("none")));
    QVERIFY(!swatch.add(QColor(), QStringLiteral("invalid")));
    QVERIFY(swatch.isEmpty());
    QCOMPARE(swatch.encode().toHex(), QByteArray("00020000"));
    QCOMPARE(SwatchFile::recordName(QColor(12, 200, 7), QString()), QStringLiteral("RGB(12,200,7)"));
    QCOMPARE(SwatchFile::recordName(QColor(12, 200, 7), QStringLiteral("Sea")), QStringLiteral("Sea"));
}

void tst_SwatchFile::writesAndCommits()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SwatchFile swatch;
    swatch.add(QColor(10, 20, 30), QStringLiteral("Deep"));
    const QString path = dir.filePath(QStringLiteral("Deep.aco"));
    QVERIFY(swatch.write(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), swatch.encode());
    // Only the file itself is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Deep.aco")});

    // A folder that is not there: nothing written, and said so.
    QVERIFY(!swatch.write(dir.filePath(QStringLiteral("missing/Deep.aco"))));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
}

void tst_SwatchFile::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Palette.aco"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old swatches");
    }
    SwatchFile swatch;
    for (int i = 0; i < 24; ++i)
        swatch.add(QColor(i, i, i), QStringLiteral("Grey %1").arg(i));

    bool written = false;
    {
        // The process may not write files longer than 64 bytes for a moment,
        // so the write fails half-way, as on a full disk.
        const FileSizeLimit limit(64);
        written = swatch.write(path);
    }

    QVERIFY(!written);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old swatches"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Palette.aco")});
}

void tst_SwatchFile::folderTheUserCannotWrite_data()
{
    QTest::addColumn<bool>("oldFile");
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<int>("sizeLimit"); // 0: none
    QTest::addColumn<bool>("written");
    // Written in place over a file the user may write.
    QTest::newRow("own file") << true << true << 0 << true;
    // In place, but the disk is full: the old bytes go back.
    QTest::newRow("own file, disk full") << true << true << 64 << false;
    QTest::newRow("read-only file") << true << false << 0 << false;
    // A new file needs the folder.
    QTest::newRow("no file yet") << false << true << 0 << false;
}

void tst_SwatchFile::folderTheUserCannotWrite()
{
    QFETCH(bool, oldFile);
    QFETCH(bool, fileWritable);
    QFETCH(int, sizeLimit);
    QFETCH(bool, written);
    ReadOnlyFolder folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Palette.aco"));
    const QByteArray old("an older and longer swatch file than the new one");
    if (oldFile) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
        file.close();
        QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (fileWritable)
            mode |= QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        QVERIFY(file.setPermissions(mode));
    }
    SwatchFile swatch;
    // Shorter than the old file: what is left of it must be cut away.
    swatch.add(QColor(10, 20, 30), QString());
    QVERIFY(swatch.encode().size() < old.size());
    if (sizeLimit > 0) {
        // And a longer one, so that the write runs out of room.
        for (int i = 0; i < 24; ++i)
            swatch.add(QColor(i, i, 200), QStringLiteral("Blue %1").arg(i));
    }

    bool result = false;
    {
        WithoutPermissionOverride asTheUser;
        if (!folder.makeReadOnly())
            QSKIP("This process can write into a folder of mode 0555; the test would prove nothing.");
        if (sizeLimit > 0) {
            FileSizeLimit limit(static_cast<rlim_t>(sizeLimit));
            result = swatch.write(path);
        } else {
            result = swatch.write(path);
        }
    }
    QCOMPARE(result, written);
    QFile file(path);
    if (!oldFile) {
        QVERIFY(!file.exists());
    } else {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written ? swatch.encode() : old);
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), oldFile ? QStringList{QStringLiteral("Palette.aco")} : QStringList());
}

void tst_SwatchFile::recognisedByTheFileProgram()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("file"));
    if (program.isEmpty())
        QSKIP("the file program is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SwatchFile swatch;
    swatch.add(QColor(255, 0, 0), QStringLiteral("Red"));
    swatch.add(QColor(0, 128, 0), QStringLiteral("Green"));
    const QString path = dir.filePath(QStringLiteral("two.aco"));
    QVERIFY(swatch.write(path));
    QProcess process;
    process.start(program, {QStringLiteral("-b"), path});
    QVERIFY(process.waitForFinished(10000));
    const QString description = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(description.contains(QStringLiteral("Color swatch, version 2, 2 colors")), qPrintable(description));
}

QTEST_GUILESS_MAIN(tst_SwatchFile)
#include "tst_swatchfile.moc"
