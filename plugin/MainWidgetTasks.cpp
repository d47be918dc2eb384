// The smaller services of the main widget: the task row and its registry,
// the link texts, help, the palette file dialog, the watch on the Dizeviz
// folder and the slide of the zoomed palette.

#include "plugin/MainWidget.h"

#include "plugin/AboutButton.h"
#include "plugin/HelpButton.h"
#include "plugin/MyPaletteFullWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/TaskButton.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QPropertyAnimation>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>

namespace Velmar {

namespace {

const int s_slideDuration = 350;

bool isRoundButton(unsigned short id)
{
    return id == 3 || id == 4;
}

// The extension a name filter lists: "palette" for "Palette files (*.palette)".
QString filterSuffix(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([^()*\\s]+)\\)"));
    return pattern.match(filter).captured(1);
}

// Starts the dialog at the proposed file with the filter given; the answer
// comes through finished(), connected once for each opening. A name typed
// without extension gets the filter's, so that the Open dialog lists the
// file; the user's choice of another filter changes it.
void openPaletteFileDialog(QFileDialog *dialog, const QString &proposed, const QString &filter, QObject *receiver)
{
    dialog->setDirectory(QFileInfo(proposed).absolutePath());
    dialog->selectFile(proposed);
    dialog->setDefaultSuffix(filterSuffix(filter));
    QObject::connect(dialog, SIGNAL(filterSelected(QString)), receiver, SLOT(paletteFilterSelected(QString)),
                     Qt::UniqueConnection);
    if (!QObject::connect(dialog, SIGNAL(finished(int)), receiver, SLOT(fileDialogFinished(int)), Qt::UniqueConnection))
        qWarning("MainWidget: the palette file dialog is already connected");
    dialog->open();
}

// The path with the extension of the filter the dialog starts with where it
// has the other filter's, so that Return does not write one format under the
// other one's name. Any other name stays as it is.
QString withSuffixOf(const QString &path, const QString &filter, const QString &otherFilter)
{
    const QString suffix = filterSuffix(filter);
    const QString other = filterSuffix(otherFilter);
    if (suffix.isEmpty() || other.isEmpty() || QFileInfo(path).suffix().compare(other, Qt::CaseInsensitive) != 0)
        return path;
    return path.left(path.size() - other.size()) + suffix;
}

} // namespace

unsigned short MainWidget::registerTaskButton(unsigned short id, short afterId)
{
    // A second registration keeps the button the first one made.
    if (m_taskButtons.contains(id))
        return id;
    TaskButton *button = id == 3 ? new HelpButton(this) : id == 4 ? new AboutButton(this) : new TaskButton(this);
    m_taskButtons.insert(id, button);
    const int after = afterId >= 1 ? m_taskButtonOrder.indexOf(static_cast<unsigned short>(afterId)) : -1;
    if (after >= 0)
        m_taskButtonOrder.insert(after + 1, id);
    else
        m_taskButtonOrder.append(id);
    // Buttons added once the row is laid out (the picker dialog's) take
    // their place at once, and show when the row already shows.
    recalculateTaskButtonsLayout();
    if (isVisible())
        button->show();
    return id;
}

unsigned short MainWidget::registerTaskButton(short afterId)
{
    unsigned short largest = 0;
    for (auto it = m_taskButtons.cbegin(); it != m_taskButtons.cend(); ++it)
        largest = std::max(largest, it.key());
    const unsigned short id = largest < 1000 ? 1000 : static_cast<unsigned short>(largest + 1);
    return registerTaskButton(id, afterId);
}

unsigned short MainWidget::registerAboutTaskButton()
{
    return registerTaskButton(4, -1);
}

TaskButton *MainWidget::taskButton(unsigned short id) const
{
    return m_taskButtons.value(id, m_fallbackButton);
}

QRect MainWidget::taskButtonBand(const QRect &search, const QRect &myPalette)
{
    QRect band(QPoint(myPalette.left() + 12, search.top()), QPoint(myPalette.right() - 12, search.bottom()));
    while (band.height() > 23) {
        band.setTop(band.top() + 1);
        band.setBottom(band.bottom() - 1);
    }
    return band;
}

QVector<QRect> MainWidget::taskButtonRects(const QRect &band, const QList<unsigned short> &order)
{
    QVector<QRect> rects;
    if (order.isEmpty())
        return rects;
    const int square = band.height() - 2;
    int shared = order.size();
    double share = band.width() - 4 * (order.size() - 1);
    for (unsigned short id : order) {
        if (isRoundButton(id)) {
            share -= square;
            --shared;
        }
    }
    if (shared > 0)
        share /= shared;
    double x = band.left();
    for (unsigned short id : order) {
        if (isRoundButton(id)) {
            rects.append(QRect(static_cast<int>(x), band.top() + 1, square, square));
            x += square + 4;
        } else {
            rects.append(QRect(static_cast<int>(x), band.top(), static_cast<int>(share), band.height()));
            x += share + 4;
        }
    }
    return rects;
}

void MainWidget::recalculateTaskButtonsLayout()
{
    if (m_taskButtons.isEmpty() || !m_myPalette || m_searchRect.isNull())
        return;
    const QVector<QRect> rects = taskButtonRects(taskButtonBand(m_searchRect, m_myPalette->geometry()), m_taskButtonOrder);
    for (int i = 0; i < rects.size(); ++i)
        m_taskButtons.value(m_taskButtonOrder.at(i))->setGeometry(rects.at(i));
}

void MainWidget::buildDecoratedLinkTextFor(QLabel *label, const QString &link, const QString &text)
{
    label->setText(QStringLiteral("<a href=\"%1\"><span style=\"text-decoration: none; color: #ffffff;\">%2</span></a>")
                       .arg(link, text));
}

void MainWidget::linkActivated(QString link)
{
    if (link == QLatin1String("links/header")) {
        if (!m_headerLink.isEmpty())
            QDesktopServices::openUrl(QUrl(m_headerLink));
        return;
    }
    QString key;
    if (link == QLatin1String("links/copyright"))
        key = LocalizerKeys::KeyOfLicenseCopyright;
    else if (link == QLatin1String("links/motto"))
        key = LocalizerKeys::KeyOfMotto;
    else
        return;

    QTemporaryFile *file = m_linkFiles.value(link);
    if (!file) {
        file = new QTemporaryFile(QDir::toNativeSeparators(QDir::tempPath() + QDir::separator()
                                                           + QStringLiteral("qt_temp_XXXXXX.html")));
        m_linkFiles.insert(link, file);
    }
    // A reopened temporary file keeps its old bytes: emptied first, so a
    // shorter text after a collection switch leaves nothing of the longer
    // one. The byte-order mark tells the browser the text is UTF-8.
    if (file->open()) {
        if (file->resize(0)) {
            file->write("\xEF\xBB\xBF");
            file->write(Localizer::getTextByKey(Settings::uuidOfLastUsedCollection(), key).toUtf8());
        }
        file->close();
    }
    if (!file->fileName().isEmpty() && QFile::exists(file->fileName()))
        QDesktopServices::openUrl(QUrl::fromLocalFile(file->fileName()));
}

void MainWidget::helpButtonClicked()
{
    QString link = CollectionSettings::helpLink(Settings::uuidOfLastUsedCollection());
    if (link.contains(QLatin1String("%APP%"), Qt::CaseInsensitive))
        link.replace(QLatin1String("%APP%"), QFileInfo(Global::g_modulePath).canonicalFilePath(), Qt::CaseInsensitive);
    QUrl url(link);
    if (!url.isValid())
        return;
    // "file:///%APP%" with an absolute module path gives four slashes; the
    // file is the same, the address is written the usual way.
    if (url.isLocalFile())
        url.setPath(QDir::cleanPath(url.path()));
    QDesktopServices::openUrl(url);
}

// The palette file used last while it is still there, else the default
// name in the documents folder, or in the home folder when there is no
// documents folder: a file proposed in a missing folder is never written.
QString MainWidget::proposedPalettePath(const QUuid &collection)
{
    const QString last = Settings::myPaletteLastPath();
    const QFileInfo info(last);
    if (!last.isEmpty() && info.exists() && info.absoluteDir().exists())
        return last;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder + QDir::separator()
        + Localizer::getTextByKey(collection, LocalizerKeys::KeyOfCommonFiledialogPalettefileDefaultfilename);
}

void MainWidget::saveButtonClicked()
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    const bool textFormat = CollectionSettings::savePaletteTextFormatAvailable(collection, false);
    QStringList filters{m_paletteFilter};
    if (textFormat)
        filters.append(m_textFilter);

    // The format saved last is offered first.
    const bool asText = textFormat && Settings::myPaletteSaveFormat() == PaletteFileFormatText;
    const QString &preselected = asText ? m_textFilter : m_paletteFilter;
    const QString proposed =
        withSuffixOf(proposedPalettePath(collection), preselected, asText ? m_paletteFilter : m_textFilter);

    m_paletteFileDialog->setWindowTitle(
        Localizer::getTextByKey(collection, LocalizerKeys::KeyOfCommonFiledialogPalettefileSavedialogcaption));
    m_paletteFileDialog->setAcceptMode(QFileDialog::AcceptSave);
    m_paletteFileDialog->setFileMode(QFileDialog::AnyFile);
    m_paletteFileDialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    m_paletteFileDialog->setNameFilters(filters);
    m_paletteFileDialog->selectNameFilter(preselected);
    openPaletteFileDialog(m_paletteFileDialog, proposed, preselected, this);
}

void MainWidget::loadButtonClicked()
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    const QString proposed = proposedPalettePath(collection);

    m_paletteFileDialog->setWindowTitle(
        Localizer::getTextByKey(collection, LocalizerKeys::KeyOfCommonFiledialogPalettefileOpendialogcaption));
    m_paletteFileDialog->setAcceptMode(QFileDialog::AcceptOpen);
    m_paletteFileDialog->setFileMode(QFileDialog::ExistingFile);
    m_paletteFileDialog->setNameFilters({m_paletteFilter});
    openPaletteFileDialog(m_paletteFileDialog, proposed, m_paletteFilter, this);
}

void MainWidget::paletteFilterSelected(QString filter)
{
    m_paletteFileDialog->setDefaultSuffix(filterSuffix(filter));
}

void MainWidget::fileDialogFinished(int button)
{
    disconnect(m_paletteFileDialog, SIGNAL(finished(int)), this, SLOT(fileDialogFinished(int)));
    const QStringList files = m_paletteFileDialog->selectedFiles();
    if (button != QDialog::Accepted || files.isEmpty() || files.first().isEmpty())
        return;
    const QString file = files.first();
    PaletteFileFormat format = PaletteFileFormatXml;
    if (m_paletteFileDialog->acceptMode() == QFileDialog::AcceptOpen) {
        emit loadPaletteFrom(format, file);
    } else if (m_paletteFileDialog->selectedNameFilter().compare(m_paletteFilter, Qt::CaseInsensitive) == 0) {
        emit savePaletteTo(format, file);
    } else if (CollectionSettings::savePaletteTextFormatAvailable(Settings::uuidOfLastUsedCollection(), false)) {
        format = PaletteFileFormatText;
        emit savePaletteTo(format, file);
    } else {
        return;
    }
    Settings::setMyPaletteSaveFormat(format);
    Settings::setMyPaletteLastPath(file);
}

void MainWidget::prepareDizevizWatcher()
{
    m_dizevizWatcher->blockSignals(true);
    const QStringList watched = m_dizevizWatcher->files() + m_dizevizWatcher->directories();
    if (!watched.isEmpty())
        m_dizevizWatcher->removePaths(watched);
    disconnect(m_dizevizWatcher, SIGNAL(fileChanged(QString)), this, SLOT(dizevizFileChanged(QString)));
    disconnect(m_dizevizWatcher, SIGNAL(directoryChanged(QString)), this, SLOT(dizevizDirectoryChanged(QString)));
    if (m_dizevizFolder.isEmpty() || !QFileInfo(m_dizevizFolder).isDir())
        return;
    m_dizevizWatcher->addPath(m_dizevizFolder);
    // A file that does not exist yet cannot be watched; the folder's change
    // adds it when it appears.
    if (QFileInfo::exists(m_dizevizFile))
        m_dizevizWatcher->addPath(m_dizevizFile);
    bool connected = connect(m_dizevizWatcher, SIGNAL(fileChanged(QString)), this, SLOT(dizevizFileChanged(QString)));
    connected &= bool(connect(m_dizevizWatcher, SIGNAL(directoryChanged(QString)), this,
                              SLOT(dizevizDirectoryChanged(QString))));
    if (!connected)
        qWarning("MainWidget: the Dizeviz watch could not be connected");
    m_dizevizWatcher->blockSignals(false);
}

void MainWidget::dizevizFileChanged(QString path)
{
    Q_UNUSED(path)
    const QSignalBlocker blocker(m_dizevizWatcher);
    emit onDizevizFileChanged(m_dizevizFile);
}

void MainWidget::dizevizDirectoryChanged(QString path)
{
    Q_UNUSED(path)
    const QSignalBlocker blocker(m_dizevizWatcher);
    // A file written anew is a new file to the system: watched again.
    if (!QFileInfo::exists(m_dizevizFile))
        m_dizevizWatcher->removePath(m_dizevizFile);
    else if (!m_dizevizWatcher->files().contains(m_dizevizFile))
        m_dizevizWatcher->addPath(m_dizevizFile);
    emit onDizevizFileChanged(m_dizevizFile);
}

void MainWidget::zoomMyPaletteClicked()
{
    // A press during the slide-out turns it round; the slide-out's end must
    // not hide the palette that now slides in.
    m_zoomAnimation->stop();
    disconnect(m_zoomAnimation, SIGNAL(finished()), this, SLOT(unzoomMyPaletteAnimationFinished()));
    m_myPaletteFull->raise();
    const QPoint start(width(), 0);
    m_myPaletteFull->move(start);
    m_myPaletteFull->show();
    m_zoomAnimation->setDuration(s_slideDuration);
    m_zoomAnimation->setEasingCurve(QEasingCurve::OutQuart);
    m_zoomAnimation->setStartValue(start);
    m_zoomAnimation->setEndValue(QPoint(0, 0));
    m_zoomAnimation->start();
}

void MainWidget::unzoomMyPaletteClicked()
{
    m_zoomAnimation->stop();
    m_myPaletteFull->raise();
    m_zoomAnimation->setDuration(s_slideDuration);
    m_zoomAnimation->setEasingCurve(QEasingCurve::OutQuart);
    m_zoomAnimation->setStartValue(m_myPaletteFull->pos());
    m_zoomAnimation->setEndValue(QPoint(-width(), 0));
    // One connection, however often the back button is pressed.
    disconnect(m_zoomAnimation, SIGNAL(finished()), this, SLOT(unzoomMyPaletteAnimationFinished()));
    if (!connect(m_zoomAnimation, SIGNAL(finished()), this, SLOT(unzoomMyPaletteAnimationFinished())))
        qWarning("MainWidget: the end of the slide-out could not be connected");
    m_zoomAnimation->start();
}

void MainWidget::unzoomMyPaletteAnimationFinished()
{
    disconnect(m_zoomAnimation, SIGNAL(finished()), this, SLOT(unzoomMyPaletteAnimationFinished()));
    m_myPaletteFull->hide();
}

} // namespace Velmar
