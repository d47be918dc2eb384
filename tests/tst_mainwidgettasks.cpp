// The main widget's smaller services: the task row and where its buttons
// go, help, the link texts and their files, the palette file dialog, the
// watch on the Dizeviz folder and the slide of the zoomed palette.

#include "MainWidgetFixture.h"

#include "database/DBManager.h"
#include "plugin/CollectionSelectWidget.h"
#include "plugin/HelpButton.h"
#include "plugin/ImageButton.h"
#include "plugin/MainWidget.h"
#include "plugin/MyPaletteFullWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/TaskButton.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "views/SearchWidget.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <memory>

using namespace Velmar;

// Takes the addresses the widget opens instead of a browser.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestMainWidgetTasks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void taskButtonBand_data();
    void taskButtonBand();
    void taskButtonRects_data();
    void taskButtonRects();
    void pickerButtonsJoinTheRow();
    void help_data();
    void help();
    void linkFilesHoldTheCurrentTextOnly();
    void unknownLinksOpenNothing();
    void paletteDialog_data();
    void paletteDialog();
    void nameWithoutExtensionTakesTheFilters_data();
    void nameWithoutExtensionTakesTheFilters();
    void noDocumentsFolderProposesTheHome_data();
    void noDocumentsFolderProposesTheHome();
    void cancelledDialogLeavesNoConnection();
    void dizevizFileAppearsChangesAndVanishes();
    void zoomDuringTheSlideOutStaysZoomed();

private:
    void makeMainWidget();
    // Shows the main widget and presses its task button: the palette file
    // dialog it opened, or null when the widget did not show.
    QFileDialog *openPaletteDialog(int button);
    QString documentsFolder() const { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }

    MainWidgetFixture m_fixture;
    std::unique_ptr<MainWidget> m_main;
    UrlRecorder m_urls;
    QTemporaryDir m_temp;
    QTemporaryDir m_files;
};

void TestMainWidgetTasks::initTestCase()
{
    MainWidgetFixture::isolate();
    QVERIFY2(m_fixture.write(), qPrintable(m_fixture.error()));
    // The link files go to the temporary folder: one of the test's own.
    qputenv("TMPDIR", m_temp.path().toUtf8());
    QVERIFY(QDir().mkpath(documentsFolder()));
    for (const char *scheme : {"file", "https", "http"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &m_urls, "open");
}

void TestMainWidgetTasks::cleanupTestCase()
{
    for (const char *scheme : {"file", "https", "http"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

void TestMainWidgetTasks::init()
{
    QVERIFY(QDir().mkpath(documentsFolder()));
    MainWidgetFixture::browse(MainWidgetFixture::Alpha);
    m_urls.urls.clear();
    Global::g_modulePath = QString();
}

void TestMainWidgetTasks::cleanup()
{
    m_main.reset();
    QFile::remove(m_fixture.dizevizFile());
}

void TestMainWidgetTasks::makeMainWidget()
{
    // A chip in My palette, so that it can be saved.
    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(MainWidgetFixture::Alpha, 1, 1, entry), 0);
    DB::ItemIndex index;
    index.collection = MainWidgetFixture::Alpha;
    index.pageId = entry.pageId;
    index.entryId = entry.id;
    Settings::setMyPaletteEntry(QPoint(0, 0), index);
    m_main.reset(new MainWidget(Global::g_mainWidget, nullptr));
}

QFileDialog *TestMainWidgetTasks::openPaletteDialog(int button)
{
    makeMainWidget();
    m_main->show();
    if (!QTest::qWaitForWindowExposed(m_main.get()))
        return nullptr;
    m_main->taskButton(button)->click();
    return m_main->paletteFileDialog();
}

void TestMainWidgetTasks::taskButtonBand_data()
{
    QTest::addColumn<int>("searchHeight");
    QTest::addColumn<QRect>("band");
    QTest::newRow("the 26-pixel search field") << 26 << QRect(QPoint(247, 548), QPoint(788, 569));
    QTest::newRow("23 high stays") << 23 << QRect(QPoint(247, 546), QPoint(788, 568));
    QTest::newRow("24 high loses a pixel at each edge") << 24 << QRect(QPoint(247, 547), QPoint(788, 568));
}

void TestMainWidgetTasks::taskButtonBand()
{
    QFETCH(int, searchHeight);
    QFETCH(QRect, band);
    const QRect palette(QPoint(235, 327), QPoint(800, 539));
    QCOMPARE(MainWidget::taskButtonBand(QRect(12, 546, 210, searchHeight), palette), band);
}

void TestMainWidgetTasks::taskButtonRects_data()
{
    QTest::addColumn<QList<unsigned short>>("order");
    QTest::addColumn<int>("width");
    QTest::addColumn<QVector<QRect>>("rects");
    QTest::newRow("the picker's row of five in 300 pixels")
        << QList<unsigned short>{1, 2, 1000, 1001, 3} << 300
        << QVector<QRect>{QRect(0, 0, 66, 22), QRect(70, 0, 66, 22), QRect(140, 0, 66, 22), QRect(210, 0, 66, 22),
                          QRect(280, 1, 20, 20)};
    QTest::newRow("the main widget's own three")
        << QList<unsigned short>{1, 2, 3} << 300
        << QVector<QRect>{QRect(0, 0, 136, 22), QRect(140, 0, 136, 22), QRect(280, 1, 20, 20)};
    // (301 - 12 - 20) / 3 = 89.67: each left is truncated from the running sum.
    QTest::newRow("a share with a fraction")
        << QList<unsigned short>{1, 2, 1000, 3} << 301
        << QVector<QRect>{QRect(0, 0, 89, 22), QRect(93, 0, 89, 22), QRect(187, 0, 89, 22), QRect(281, 1, 20, 20)};
    QTest::newRow("help and about are both round")
        << QList<unsigned short>{1, 3, 4} << 300
        << QVector<QRect>{QRect(0, 0, 252, 22), QRect(256, 1, 20, 20), QRect(280, 1, 20, 20)};
    QTest::newRow("no buttons") << QList<unsigned short>{} << 300 << QVector<QRect>{};
}

void TestMainWidgetTasks::taskButtonRects()
{
    QFETCH(QList<unsigned short>, order);
    QFETCH(int, width);
    QFETCH(QVector<QRect>, rects);
    QCOMPARE(MainWidget::taskButtonRects(QRect(0, 0, width, 22), order), rects);
}

void TestMainWidgetTasks::pickerButtonsJoinTheRow()
{
    makeMainWidget();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    // As the picker dialog adds its buttons, once the row is shown.
    const unsigned short select = m_main->registerTaskButton(2);
    const unsigned short swatch = m_main->registerTaskButton(select);
    QCOMPARE(m_main->taskButtonOrder(), (QList<unsigned short>{1, 2, 1000, 1001, 3}));
    const QRect band = MainWidget::taskButtonBand(m_main->searchField()->geometry(), m_main->myPalette()->geometry());
    const QVector<QRect> rects = MainWidget::taskButtonRects(band, m_main->taskButtonOrder());
    QCOMPARE(m_main->taskButton(1)->geometry(), rects.at(0));
    QCOMPARE(m_main->taskButton(select)->geometry(), rects.at(2));
    QCOMPARE(m_main->taskButton(swatch)->geometry(), rects.at(3));
    QCOMPARE(m_main->taskButton(3)->geometry(), rects.at(4));
    QVERIFY(m_main->taskButton(swatch)->isVisible());
    QVERIFY(qobject_cast<HelpButton *>(m_main->taskButton(3)));
}

void TestMainWidgetTasks::help_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<QString>("expected");
    const QString page = QDir(QStringLiteral(HUEFORM_PLUGIN_FOLDER)).canonicalPath()
        + QStringLiteral("/Contents/Resources/help/main.html");
    QTest::newRow("the default page in the plug-in folder") << MainWidgetFixture::Alpha
                                                             << QUrl::fromLocalFile(page).toString();
    QTest::newRow("a collection's link with %app% in lower case")
        << MainWidgetFixture::Bravo << QUrl::fromLocalFile(page).toString() + QStringLiteral("#bravo");
    QTest::newRow("a page on the web") << MainWidgetFixture::Sarnex << QStringLiteral("https://example.com/help");
    QTest::newRow("no address at all") << MainWidgetFixture::Plain << QString();
}

void TestMainWidgetTasks::help()
{
    QFETCH(QUuid, collection);
    QFETCH(QString, expected);
    // The host reports the plug-in folder, here through a link to it.
    const QString link = m_temp.filePath(QStringLiteral("linked.addon"));
    QFile::remove(link);
    QVERIFY(QFile::link(QStringLiteral(HUEFORM_PLUGIN_FOLDER), link));
    Global::g_modulePath = link;
    MainWidgetFixture::browse(collection);
    makeMainWidget();
    m_main->taskButton(3)->click();
    QCOMPARE(m_urls.urls.size(), expected.isEmpty() ? 0 : 1);
    if (expected.isEmpty())
        return;
    const QUrl url = m_urls.urls.first();
    QCOMPARE(url.toString(), expected);
    // The project's own page is there to be opened.
    if (url.isLocalFile())
        QVERIFY(QFileInfo(url.toLocalFile()).isFile());
}

void TestMainWidgetTasks::linkFilesHoldTheCurrentTextOnly()
{
    makeMainWidget();
    emit m_main->copyrightLabel()->linkActivated(QStringLiteral("links/copyright"));
    QCOMPARE(m_urls.urls.size(), 1);
    const QString path = m_urls.urls.first().toLocalFile();
    QCOMPARE(QFileInfo(path).absolutePath(), QDir(m_temp.path()).canonicalPath());
    QVERIFY(QFileInfo(path).fileName().startsWith(QLatin1String("qt_temp_")));
    QVERIFY(path.endsWith(QLatin1String(".html")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Marked as UTF-8, then the text as it is.
    QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBF") + MainWidgetFixture::longCopyrightText().toUtf8());
    file.close();

    // A shorter text after a collection switch, into the same file.
    emit m_main->collectionChooser()->collectionSelectedInteractively(MainWidgetFixture::Bravo);
    emit m_main->copyrightLabel()->linkActivated(QStringLiteral("links/copyright"));
    QCOMPARE(m_urls.urls.size(), 2);
    QCOMPARE(m_urls.urls.at(1).toLocalFile(), path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBF") + MainWidgetFixture::shortCopyrightText().toUtf8());
    file.close();

    // The motto has a file of its own.
    emit m_main->mottoLabel()->linkActivated(QStringLiteral("links/motto"));
    QCOMPARE(m_urls.urls.size(), 3);
    QVERIFY(m_urls.urls.at(2).toLocalFile() != path);
    // The files stay for the browser after the widget has gone.
    m_main.reset();
    QVERIFY(QFile::exists(path));
}

void TestMainWidgetTasks::unknownLinksOpenNothing()
{
    MainWidgetFixture::browse(MainWidgetFixture::Bravo);
    makeMainWidget();
    emit m_main->mottoLabel()->linkActivated(QStringLiteral("links/elsewhere"));
    emit m_main->mottoLabel()->linkActivated(QStringLiteral("https://example.com"));
    // Bravo has no header link.
    emit m_main->mottoLabel()->linkActivated(QStringLiteral("links/header"));
    QVERIFY(m_urls.urls.isEmpty());
}

void TestMainWidgetTasks::paletteDialog_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("storedFormat");
    QTest::addColumn<QString>("lastFile"); // in the test's folder; none when empty
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QString>("preselected");
    QTest::addColumn<QString>("proposedName");
    QTest::addColumn<QString>("chosenFilter");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<int>("format");
    const QString palette = QStringLiteral("Palette files (*.palette)");
    const QString text = QStringLiteral("Text files (*.txt)");
    // No palette saved yet: the default name in the documents folder.
    const QString defaultName = QStringLiteral("My palette.palette");
    QTest::newRow("save as a palette") << MainWidgetFixture::Alpha << 1 << 0 << QString() << QStringList{palette, text}
                                       << palette << defaultName << palette << QStringLiteral("savePaletteTo") << 0;
    // The name follows the filter offered first: Return writes a text
    // export under a text file's name, never under a palette file's.
    QTest::newRow("save as text, offered first after a text save")
        << MainWidgetFixture::Alpha << 1 << 1 << QString() << QStringList{palette, text} << text
        << QStringLiteral("My palette.txt") << text << QStringLiteral("savePaletteTo") << 1;
    QTest::newRow("save as text, the last text file again")
        << MainWidgetFixture::Alpha << 1 << 1 << QStringLiteral("codes.txt") << QStringList{palette, text} << text
        << QStringLiteral("codes.txt") << text << QStringLiteral("savePaletteTo") << 1;
    QTest::newRow("no text export: a stored text format changes nothing")
        << MainWidgetFixture::Bravo << 1 << 1 << QString() << QStringList{palette} << palette << defaultName << palette
        << QStringLiteral("savePaletteTo") << 0;
    QTest::newRow("no text export: the last text file proposed as a palette")
        << MainWidgetFixture::Bravo << 1 << 1 << QStringLiteral("codes.TXT") << QStringList{palette} << palette
        << QStringLiteral("codes.palette") << palette << QStringLiteral("savePaletteTo") << 0;
    QTest::newRow("open a palette") << MainWidgetFixture::Alpha << 2 << 1 << QString() << QStringList{palette}
                                    << palette << defaultName << palette << QStringLiteral("loadPaletteFrom") << 0;
}

void TestMainWidgetTasks::paletteDialog()
{
    QFETCH(QUuid, collection);
    QFETCH(int, button);
    QFETCH(int, storedFormat);
    QFETCH(QString, lastFile);
    QFETCH(QStringList, filters);
    QFETCH(QString, preselected);
    QFETCH(QString, proposedName);
    QFETCH(QString, chosenFilter);
    QFETCH(QString, signal);
    QFETCH(int, format);
    MainWidgetFixture::browse(collection);
    Settings::setMyPaletteSaveFormat(storedFormat);
    QString proposedFolder = documentsFolder();
    if (lastFile.isEmpty()) {
        Settings::setMyPaletteLastPath(QString());
    } else {
        proposedFolder = m_files.path();
        QFile last(m_files.filePath(lastFile));
        QVERIFY(last.open(QIODevice::WriteOnly));
        Settings::setMyPaletteLastPath(last.fileName());
    }
    QFileDialog *dialog = openPaletteDialog(button);
    QVERIFY(dialog && dialog->isVisible());
    QSignalSpy save(m_main.get(), SIGNAL(savePaletteTo(PaletteFileFormat,QString)));
    QSignalSpy load(m_main.get(), SIGNAL(loadPaletteFrom(PaletteFileFormat,QString)));
    // A sheet on the Mac; here a dialog modal to the picker's window.
    QCOMPARE(dialog->windowModality(), Qt::WindowModal);
    QCOMPARE(dialog->nameFilters(), filters);
    QCOMPARE(dialog->selectedNameFilter(), preselected);
    QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), proposedName);
    QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).absolutePath(), QDir(proposedFolder).absolutePath());
    if (button == 1) {
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Save palette"));
    } else {
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Open palette"));
    }

    const QString chosen = m_files.filePath(QStringLiteral("chosen.file"));
    if (button == 2) {
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    dialog->selectNameFilter(chosenFilter);
    dialog->selectFile(chosen);
    static_cast<QDialog *>(dialog)->done(QDialog::Accepted);

    QSignalSpy &emitted = signal == QLatin1String("savePaletteTo") ? save : load;
    QCOMPARE((signal == QLatin1String("savePaletteTo") ? load : save).count(), 0);
    QCOMPARE(emitted.count(), 1);
    QCOMPARE(emitted.first().at(0).value<PaletteFileFormat>(), PaletteFileFormat(format));
    QCOMPARE(emitted.first().at(1).toString(), chosen);
    QCOMPARE(Settings::myPaletteSaveFormat(), format);
    QCOMPARE(Settings::myPaletteLastPath(), chosen);
    QFile::remove(chosen);
    if (!lastFile.isEmpty())
        QFile::remove(m_files.filePath(lastFile));
}

void TestMainWidgetTasks::nameWithoutExtensionTakesTheFilters_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("storedFormat");
    QTest::addColumn<int>("filterKey"); // the key the user picks another filter with; 0 for none
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("format");
    QTest::newRow("save, palette filter") << 1 << 0 << 0 << "Walls.palette" << 0;
    QTest::newRow("save, text filter offered first") << 1 << 1 << 0 << "Walls.txt" << 1;
    QTest::newRow("save, the text filter chosen") << 1 << 0 << int(Qt::Key_Down) << "Walls.txt" << 1;
    QTest::newRow("save, the palette filter chosen") << 1 << 1 << int(Qt::Key_Up) << "Walls.palette" << 0;
    QTest::newRow("open") << 2 << 1 << 0 << "Walls.palette" << 0;
}

void TestMainWidgetTasks::nameWithoutExtensionTakesTheFilters()
{
    QFETCH(int, button);
    QFETCH(int, storedFormat);
    QFETCH(int, filterKey);
    QFETCH(QString, fileName);
    QFETCH(int, format);
    Settings::setMyPaletteSaveFormat(storedFormat);
    Settings::setMyPaletteLastPath(QString());
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString expected = folder.filePath(fileName);
    if (button == 2) {
        QFile file(expected);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QFileDialog *dialog = openPaletteDialog(button);
    QVERIFY(dialog && dialog->isVisible());
    QSignalSpy save(m_main.get(), SIGNAL(savePaletteTo(PaletteFileFormat,QString)));
    QSignalSpy load(m_main.get(), SIGNAL(loadPaletteFrom(PaletteFileFormat,QString)));
    if (filterKey != 0) {
        auto *filters = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(filters);
        QTest::keyClick(filters, Qt::Key(filterKey));
    }
    // Typed without extension, and accepted as Return does (checked first:
    // the dialog asks about a name it cannot take, and waits).
    dialog->selectFile(folder.filePath(QStringLiteral("Walls")));
    QCOMPARE(dialog->selectedFiles(), QStringList{expected});
    QMetaObject::invokeMethod(dialog, "accept");

    QSignalSpy &emitted = button == 1 ? save : load;
    QCOMPARE((button == 1 ? load : save).count(), 0);
    QCOMPARE(emitted.count(), 1);
    QCOMPARE(emitted.first().at(0).value<PaletteFileFormat>(), PaletteFileFormat(format));
    QCOMPARE(emitted.first().at(1).toString(), expected);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{fileName});
}

void TestMainWidgetTasks::noDocumentsFolderProposesTheHome_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("save") << 1;
    QTest::newRow("open") << 2;
}

void TestMainWidgetTasks::noDocumentsFolderProposesTheHome()
{
    QFETCH(int, button);
    QVERIFY(QDir(documentsFolder()).removeRecursively());
    Settings::setMyPaletteLastPath(QString());
    Settings::setMyPaletteSaveFormat(0);
    const QString proposed = QDir::home().filePath(QStringLiteral("My palette.palette"));
    if (button == 2) {
        QFile file(proposed);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QFileDialog *dialog = openPaletteDialog(button);
    QVERIFY(dialog);
    QCOMPARE(dialog->selectedFiles(), QStringList{proposed});
    QMetaObject::invokeMethod(dialog, "accept");
    // The proposal taken as it stands is where the palette goes, or comes from.
    QVERIFY(!dialog->isVisible());
    QCOMPARE(Settings::myPaletteLastPath(), proposed);
    QFile file(proposed);
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (button == 1)
        QVERIFY(file.readAll().contains("color-code=\"A-11\""));
    QVERIFY(file.remove());
}

void TestMainWidgetTasks::cancelledDialogLeavesNoConnection()
{
    makeMainWidget();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    QSignalSpy save(m_main.get(), SIGNAL(savePaletteTo(PaletteFileFormat,QString)));
    // The last file proposed again, in its folder.
    const QString last = m_files.filePath(QStringLiteral("last.palette"));
    QFile file(last);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    Settings::setMyPaletteLastPath(last);
    for (int i = 0; i < 2; ++i) {
        m_main->taskButton(1)->click();
        QCOMPARE(m_main->paletteFileDialog()->selectedFiles().value(0), last);
        m_main->paletteFileDialog()->reject();
    }
    QCOMPARE(save.count(), 0);
    // Nothing listens any more: a dialog finished outside a save writes nothing.
    static_cast<QDialog *>(m_main->paletteFileDialog())->done(QDialog::Accepted);
    QCOMPARE(save.count(), 0);
}

void TestMainWidgetTasks::dizevizFileAppearsChangesAndVanishes()
{
    makeMainWidget();
    QCOMPARE(m_main->dizevizFolder(), m_fixture.dizevizFolder());
    QCOMPARE(m_main->dizevizFile(), m_fixture.dizevizFolder() + QDir::separator() + QStringLiteral("measure.cxf"));
    QCOMPARE(m_main->dizevizWatcher()->directories(), QStringList{m_fixture.dizevizFolder()});
    QVERIFY(m_main->collectionChooser()->dizevizButton()->isHidden());
    QSignalSpy changed(m_main.get(), SIGNAL(onDizevizFileChanged(QString)));

    QFile file(m_fixture.dizevizFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<cc:CxF/>");
    file.close();
    QTRY_VERIFY(changed.count() >= 1);
    QCOMPARE(changed.last().first().toString(), m_fixture.dizevizFile());
    QVERIFY(!m_main->collectionChooser()->dizevizButton()->isHidden());
    QTRY_VERIFY(m_main->dizevizWatcher()->files().contains(m_fixture.dizevizFile()));

    const int before = int(changed.count());
    QVERIFY(file.open(QIODevice::Append));
    file.write("<more/>");
    file.close();
    QTRY_VERIFY(changed.count() > before);

    QVERIFY(QFile::remove(m_fixture.dizevizFile()));
    QTRY_VERIFY(m_main->collectionChooser()->dizevizButton()->isHidden());
    QTRY_VERIFY(!m_main->dizevizWatcher()->files().contains(m_fixture.dizevizFile()));

    // A collection without a Dizeviz link watches nothing.
    emit m_main->collectionChooser()->collectionSelectedInteractively(MainWidgetFixture::Bravo);
    QVERIFY(m_main->dizevizWatcher()->directories().isEmpty());
    QVERIFY(m_main->dizevizWatcher()->signalsBlocked());
    const int afterSwitch = int(changed.count());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QTest::qWait(100);
    QCOMPARE(changed.count(), afterSwitch);
}

void TestMainWidgetTasks::zoomDuringTheSlideOutStaysZoomed()
{
    makeMainWidget();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    MyPaletteFullWidget *full = m_main->myPaletteFull();
    QPropertyAnimation *slide = m_main->zoomAnimation();

    emit m_main->myPalette()->zoomMyPaletteClicked();
    QVERIFY(full->isVisible());
    QCOMPARE(slide->duration(), 350);
    QCOMPARE(slide->easingCurve().type(), QEasingCurve::OutQuart);
    QCOMPARE(slide->startValue().toPoint(), QPoint(800, 0));
    QTRY_COMPARE(slide->state(), QAbstractAnimation::Stopped);
    QCOMPARE(full->pos(), QPoint(0, 0));

    // Back, and zoom again while it slides out.
    emit full->backButtonClicked();
    QTRY_VERIFY(full->pos().x() < 0);
    QCOMPARE(slide->state(), QAbstractAnimation::Running);
    emit m_main->myPalette()->zoomMyPaletteClicked();
    QTRY_COMPARE(slide->state(), QAbstractAnimation::Stopped);
    QCOMPARE(full->pos(), QPoint(0, 0));
    QVERIFY(full->isVisible());

    // Two presses of back hide it once, at the end of the slide.
    emit full->backButtonClicked();
    emit full->backButtonClicked();
    QVERIFY(full->isVisible());
    QTRY_VERIFY(!full->isVisible());
    QCOMPARE(full->pos(), QPoint(-800, 0));
}

QTEST_MAIN(TestMainWidgetTasks)
#include "tst_mainwidgettasks.moc"
