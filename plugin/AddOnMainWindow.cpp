#include "plugin/AddOnMainWindow.h"

#include "plugin/HostColor.h"
#include "plugin/MainWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/SwatchFile.h"
#include "plugin/TaskButton.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QShowEvent>
#include <QTimer>

using namespace Velmar;

namespace {

// The delay between the first show and the nearest-colour pick, so that the
// picker is on screen before a choice of chips may open over it.
const int s_pickDelayMs = 100;

} // namespace

AddOnMainWindow::AddOnMainWindow(const QColor &color, const QString &swatchFolder, QWidget *parent)
    : QDialog(parent)
    , m_initialColor(color)
    , m_swatchFolder(swatchFolder)
{
    Global::registerMetaTypes();
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(MainWidget::s_fixedSize);

    m_mainWidget = Global::createMainWidget(this, this);
    if (HostColor::startsNearestPick(m_initialColor))
        m_mainWidget->readAheadNearestColor(m_initialColor);
    // After the load-palette button: save, load, select colour, create swatch, help.
    m_selectButtonId = m_mainWidget->registerTaskButton(2);
    m_swatchButtonId = m_mainWidget->registerTaskButton(static_cast<short>(m_selectButtonId));

    prepareForCollection(Settings::uuidOfLastUsedCollection());
    onMyPaletteChanged();

    const bool connected =
        connect(m_mainWidget, SIGNAL(selectedCollectionChanged(QUuid)), this, SLOT(collectionChanged(QUuid)))
        && connect(m_mainWidget->taskButton(m_selectButtonId), SIGNAL(clicked()), this, SLOT(selectColor()))
        && connect(m_mainWidget->taskButton(m_swatchButtonId), SIGNAL(clicked()), this, SLOT(createSwatch()))
        && connect(m_mainWidget, SIGNAL(myPaletteChanged()), this, SLOT(onMyPaletteChanged()))
        && connect(m_mainWidget, SIGNAL(myPaletteSelectionChanged()), this, SLOT(onMyPaletteChanged()));
    if (!connected)
        qWarning("AddOnMainWindow: a connection of the picker dialog failed");
}

QString AddOnMainWindow::proposedSwatchFileName(const QString &note)
{
    // The note may come from a palette file someone else wrote: it names a
    // file in the presets folder, never one elsewhere or a hidden one.
    QString name = note;
    name.remove(QLatin1Char('/'));
    name.remove(QLatin1Char('\\'));
    qsizetype start = 0;
    while (start < name.size() && (name.at(start) == QLatin1Char('.') || name.at(start).isSpace()))
        ++start;
    name = name.mid(start).trimmed();
    return (name.isEmpty() ? QStringLiteral("Swatch") : name) + QStringLiteral(".aco");
}

void AddOnMainWindow::prepareForCollection(const QUuid &collection)
{
    m_mainWidget->taskButton(m_selectButtonId)
        ->setText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfPhotoshopSelectcolorButton));
    m_mainWidget->taskButton(m_swatchButtonId)
        ->setText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfPhotoshopCreateswatchButton));
    setWindowTitle(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfColorPaletteCaption));
}

void AddOnMainWindow::collectionChanged(QUuid collection)
{
    prepareForCollection(collection);
}

void AddOnMainWindow::showEvent(QShowEvent *event)
{
    Q_UNUSED(event)
    // An invalid colour is no colour: nothing is matched for it, as for transparent.
    if (!isVisible() || m_picked || !HostColor::startsNearestPick(m_initialColor))
        return;
    // Qt 6 has no flush of the window system's queue; processing every
    // pending event draws the picker before the pick may open a choice over it.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    const bool connected = connect(timer, SIGNAL(timeout()), this, SLOT(showTimerExhausted()))
        && connect(timer, SIGNAL(timeout()), timer, SLOT(deleteLater()));
    if (!connected)
        qWarning("AddOnMainWindow: the pick timer could not be connected");
    timer->start(s_pickDelayMs);
}

void AddOnMainWindow::showTimerExhausted()
{
    // Set first: the pick may run a choice of chips in a loop of its own,
    // during which a second timer must not pick again.
    if (m_picked)
        return;
    m_picked = true;
    m_mainWidget->pickNearestColor(m_initialColor);
}

void AddOnMainWindow::onMyPaletteChanged()
{
    const MyPaletteWidget *palette = m_mainWidget->myPalette();
    const bool oneColour = palette->myPaletteSelectedCount() == 1
        && palette->myPaletteColorAtCoord(palette->myPaletteSelectedItemCoordsAt(0)) != QColor(Qt::transparent);
    m_mainWidget->taskButton(m_selectButtonId)->setEnabled(oneColour);
    m_mainWidget->taskButton(m_swatchButtonId)->setEnabled(!palette->myPaletteIsEmpty());
}

void AddOnMainWindow::selectColor()
{
    const MyPaletteWidget *palette = m_mainWidget->myPalette();
    m_resultColor = m_initialColor;
    if (palette->myPaletteSelectedCount() == 1)
        m_resultColor = palette->myPaletteColorAtCoord(palette->myPaletteSelectedItemCoordsAt(0));
    if (HostColor::isUsable(m_resultColor))
        accept();
    else
        reject();
}

void AddOnMainWindow::createSwatch()
{
    if (!m_swatchFileDialog)
        m_swatchFileDialog = new QFileDialog(this, QString(), QString(), QString());
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    m_swatchFileDialog->setNameFilters({QStringLiteral("%1 (*.aco)")
                                            .arg(Localizer::getTextByKey(
                                                collection, LocalizerKeys::KeyOfPhotoshopSwatchdialogFiltername))});
    m_swatchFileDialog->setWindowTitle(
        Localizer::getTextByKey(collection, LocalizerKeys::KeyOfPhotoshopSwatchdialogCaption));
    m_swatchFileDialog->setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without it gets the extension the host lists swatch files by.
    m_swatchFileDialog->setDefaultSuffix(QStringLiteral("aco"));
    m_swatchFileDialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    m_swatchFileDialog->setDirectory(m_swatchFolder);
    m_swatchFileDialog->selectFile(proposedSwatchFileName(m_mainWidget->myPalette()->myPaletteNote()));
    // Each opening connects once; the slot disconnects again.
    if (!connect(m_swatchFileDialog, SIGNAL(finished(int)), this, SLOT(onSwatchDialogFinished(int)),
                 Qt::UniqueConnection))
        qWarning("AddOnMainWindow: the swatch file dialog could not be connected");
    // Window-modal, and open() returns at once: the answer comes through finished().
    m_swatchFileDialog->open();
}

SwatchFile AddOnMainWindow::collectSwatches() const
{
    const MyPaletteWidget *palette = m_mainWidget->myPalette();
    SwatchFile swatches;
    // Row by row, so that the first cell holding a colour names it.
    for (int row = 0; row < palette->myPaletteRowCount(); ++row) {
        for (int column = 0; column < palette->myPaletteColumnCount(); ++column) {
            const QPoint coord(column, row);
            const QColor colour = palette->myPaletteColorAtCoord(coord);
            if (!HostColor::isUsable(colour))
                continue;
            swatches.add(colour, palette->myPaletteTooltipAtCoord(coord));
        }
    }
    return swatches;
}

void AddOnMainWindow::onSwatchDialogFinished(int button)
{
    disconnect(m_swatchFileDialog, SIGNAL(finished(int)), this, SLOT(onSwatchDialogFinished(int)));
    if (button != QDialog::Accepted)
        return;
    const SwatchFile swatches = collectSwatches();
    if (swatches.isEmpty())
        return;
    // A dialog accepted without a file (or with only its folder) names
    // nothing to write.
    const QString fileName = m_swatchFileDialog->selectedFiles().value(0);
    if (fileName.isEmpty() || QFileInfo(fileName).isDir())
        return;
    // The alert tells of a file that is really there; a failed write keeps
    // any earlier file as it was and says nothing, as every swatch failure.
    if (!swatches.write(fileName)) {
        qWarning("AddOnMainWindow: the swatch file %s could not be written", qPrintable(fileName));
        return;
    }

    if (!m_swatchAlert) {
        m_swatchAlert = new QMessageBox(QMessageBox::Information, QString(), QString(), QMessageBox::Ok, this);
#ifdef Q_OS_MACOS
        m_swatchAlert->setWindowFlags(Qt::Sheet);
#endif
        m_swatchAlert->setWindowModality(Qt::WindowModal);
        m_swatchAlert->setDefaultButton(QMessageBox::Ok);
        m_swatchAlert->setInformativeText(QString());
    }
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    m_swatchAlert->setWindowTitle(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfPhotoshopSwatchalertCaption));
    m_swatchAlert->setText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfPhotoshopSwatchalertText));
    m_swatchAlert->open();
}
