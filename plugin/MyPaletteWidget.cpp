#include "plugin/MyPaletteWidget.h"

#include "database/DBManager.h"
#include "plugin/ImageButton.h"
#include "plugin/MainWidget.h"
#include "plugin/PaletteFile.h"
#include "plugin/TaskButton.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace Velmar {

namespace {

const QColor gridLineColour(64, 64, 64);
const QColor selectionColour(255, 255, 255, 224);
const QColor dropTargetColour(0, 151, 251, 192);

} // namespace

// ---------------------------------------------------------------- cells

QString MyPaletteWidget::ColorEntry::buildEntryName(const DB::ColorEntry &entry)
{
    const int index = DBManager::s_row_name_display_order.isEmpty() ? -1 : int(DBManager::s_row_name_display_order.first());
    const QString name = entry.name(index);
    return name.isEmpty() ? entry.code : entry.code + QStringLiteral(" - ") + name;
}

void MyPaletteWidget::ColorEntry::fill(const DB::ItemIndex &index, const DB::ColorEntry &entry)
{
    m_itemIndex = index;
    m_color = QColor(entry.red, entry.green, entry.blue, 255);
    m_text = buildEntryName(entry);
}

void MyPaletteWidget::ColorEntry::empty()
{
    m_itemIndex = DB::ItemIndex();
    m_color = QColor(Qt::transparent);
    m_text.clear();
}

// ---------------------------------------------------------------- geometry

MyPaletteWidget::Geometry MyPaletteWidget::geometryFor(const QSize &size, int barHeight, const int buttonWidths[4],
                                                  int buttonHeight, int descriptionHeight)
{
    const int w = size.width();
    const int h = size.height();
    Geometry g;
    g.bar = QRect(0, 0, w, barHeight);

    const int y = (barHeight - buttonHeight) / 2;
    g.gridButton = QRect(w - barHeight - buttonWidths[3], y, buttonWidths[3], buttonHeight);
    g.trashButton = QRect(g.gridButton.x() - buttonWidths[2] - 4, y, buttonWidths[2], buttonHeight);
    g.eraserButton = QRect(g.trashButton.x() - buttonWidths[1] - 4, y, buttonWidths[1], buttonHeight);
    g.zoomButton = QRect(g.eraserButton.x() - buttonWidths[0] - 4, y, buttonWidths[0], buttonHeight);

    g.description = QRect(12, h - descriptionHeight, w - 24, descriptionHeight);

    // Too small a widget gets empty cells rather than inverted ones.
    const int across = std::max(0, w - 24);
    const int cellWidth = across / 6;
    const int left = 12 + (across % 6) / 2;
    const int free = std::max(0, h - barHeight - descriptionHeight - 24);
    const int cellHeight = free / 4;
    const int top = barHeight + 12 + (free % 4) / 2;
    QRect all;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            g.cells[row][column] = QRect(left + column * cellWidth, top + row * cellHeight, cellWidth, cellHeight);
            all |= g.cells[row][column];
        }
    }
    g.gridArea = all.isNull() ? QRect() : all.adjusted(0, 0, 1, 1);
    return g;
}

// ---------------------------------------------------------------- construction

MyPaletteWidget::MyPaletteWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    setFont(Theme::normalFont(Theme::FontSizeLarger));

    m_barImage = Theme::getImageByKey(Theme::KeyOfWidgetBarBackgroundImage, QSize(30, 30));
    const auto makeButton = [this](const QString &key) {
        const QImage image = Theme::getImageByKey(key, QSize(16, 16));
        auto *button = new ImageButton(image, image, this);
        button->resize(image.size() + QSize(2, 2));
        return button;
    };
    m_zoomButton = makeButton(Theme::KeyOfMyPaletteZoomImage);
    m_eraserButton = makeButton(Theme::KeyOfMyPaletteEraserImage);
    m_trashButton = makeButton(Theme::KeyOfMyPaletteTrashImage);
    m_gridButton = makeButton(Theme::KeyOfMyPaletteGridOffImage);
    m_gridButton->setCheckable(true);
    m_gridButton->setChecked(true);
    int tallest = 0;
    for (ImageButton *button : {m_zoomButton, m_eraserButton, m_trashButton, m_gridButton})
        tallest = std::max(tallest, button->height());
    for (ImageButton *button : {m_zoomButton, m_eraserButton, m_trashButton, m_gridButton})
        button->resize(button->width(), tallest);

    m_descriptionField = new QLineEdit(this);
    m_descriptionField->setFrame(false);
    m_descriptionField->setTextMargins(0, 0, 0, 0);
    // The description is kept in the settings at every edit; it comes back
    // with the palette it describes.
    m_descriptionField->setText(Settings::myPaletteDescription());
    m_descriptionField->installEventFilter(this);
    QCoreApplication::postEvent(m_descriptionField, new QFocusEvent(QEvent::FocusOut, Qt::OtherFocusReason));

    selectedCollectionChanged(Settings::uuidOfLastUsedCollection());
    updateTaskButtonState();

    const bool connected = connect(m_zoomButton, SIGNAL(clicked()), this, SLOT(zoomClicked()))
        && connect(m_eraserButton, SIGNAL(clicked()), this, SLOT(eraseClicked()))
        && connect(m_trashButton, SIGNAL(clicked()), this, SLOT(clearClicked()))
        && connect(m_gridButton, SIGNAL(clicked(bool)), this, SLOT(gridClicked(bool)))
        && connect(m_descriptionField, SIGNAL(editingFinished()), this, SLOT(paletteDescriptionEditFinished()));
    Q_ASSERT(connected);
    Q_UNUSED(connected)
}

// ---------------------------------------------------------------- queries

bool MyPaletteWidget::myPaletteIsEmpty() const
{
    for (const auto &row : m_cells) {
        for (const ColorEntry &entry : row) {
            if (entry.isFilled())
                return false;
        }
    }
    return true;
}

unsigned short MyPaletteWidget::myPaletteSelectedCount() const
{
    return static_cast<unsigned short>(m_selection.size());
}

QPoint MyPaletteWidget::myPaletteSelectedItemCoordsAt(unsigned short index) const
{
    return index < m_selection.size() ? m_selection.at(index) : QPoint(-1, -1);
}

QColor MyPaletteWidget::myPaletteColorAtCoord(const QPoint &coord) const
{
    return inBounds(coord) ? cell(coord).color() : QColor(Qt::transparent);
}

QString MyPaletteWidget::myPaletteTooltipAtCoord(const QPoint &coord) const
{
    if (!inBounds(coord))
        return QString();
    const DB::ItemIndex index = cell(coord).itemIndex();
    return DBManager::BuildToolTipForColorEntry(index.collection, index.entryId, false);
}

QString MyPaletteWidget::myPaletteColorCodeAtCoord(const QPoint &coord) const
{
    if (!inBounds(coord) || !cell(coord).isFilled())
        return QString();
    const DB::ItemIndex index = cell(coord).itemIndex();
    DB::ColorEntry entry;
    if (DBManager::GetColorEntryById(index.collection, index.entryId, entry) != 0)
        return QString();
    return entry.code;
}

QString MyPaletteWidget::myPaletteNameAtCoord(const QPoint &coord) const
{
    return inBounds(coord) ? cell(coord).text() : QString();
}

QString MyPaletteWidget::myPaletteNote() const
{
    return m_descriptionField->text();
}

QPoint MyPaletteWidget::pointToCoord(const QPoint &pixel) const
{
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            if (m_cells[row][column].rect().contains(pixel))
                return QPoint(column, row);
        }
    }
    return QPoint(-1, -1);
}

MyPaletteWidget::ColorEntry MyPaletteWidget::cellAt(const QPoint &coord) const
{
    if (inBounds(coord))
        return cell(coord);
    ColorEntry none;
    none.empty();
    return none;
}

// ---------------------------------------------------------------- state

void MyPaletteWidget::prepareForCollection(const QUuid &collection)
{
    m_descriptionField->setPlaceholderText(
        Localizer::getTextByKey(collection, LocalizerKeys::KeyOfMypaletteNoteInstructions));
}

void MyPaletteWidget::selectedCollectionChanged(QUuid collectionId)
{
    prepareForCollection(collectionId);
    m_selection.clear();
    m_dropTarget = QPoint(-1, -1);
    DB::ItemIndex indexes[4][6];
    QHash<QUuid, QVector<qint64>> wanted;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            const QPoint coord(column, row);
            indexes[row][column] = Settings::myPaletteEntry(coord);
            if (indexes[row][column].entryId > 0)
                wanted[indexes[row][column].collection].append(indexes[row][column].entryId);
            if (Settings::myPaletteEntryState(coord))
                m_selection.append(coord);
        }
    }
    // One query per collection rather than one per cell.
    QHash<QUuid, QHash<qint64, DB::ColorEntry>> chips;
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
        DBManager::GetColorEntriesByIds(it.key(), it.value(), chips[it.key()]);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            const DB::ItemIndex &index = indexes[row][column];
            const QHash<qint64, DB::ColorEntry> &read = chips[index.collection];
            const auto chip = index.entryId > 0 ? read.constFind(index.entryId) : read.constEnd();
            // A chip that cannot be read shows as an empty cell; its stored
            // reference stays until the cell is filled, erased or cleared.
            if (chip != read.constEnd())
                cell(QPoint(column, row)).fill(index, chip.value());
            else
                cell(QPoint(column, row)).empty();
        }
    }
    updateTaskButtonState();
    m_gridButton->setChecked(Settings::myPaletteGridState());
    update();
}

void MyPaletteWidget::updateTaskButtonState()
{
    const bool filled = !myPaletteIsEmpty();
    if (Global::g_mainWidget)
        Global::g_mainWidget->taskButton(1)->setEnabled(filled);
    m_zoomButton->setEnabled(filled);
    m_trashButton->setEnabled(filled);
    m_gridButton->setEnabled(true);
    const bool erasable = std::any_of(m_selection.cbegin(), m_selection.cend(),
                                      [this](const QPoint &coord) { return inBounds(coord) && cell(coord).isFilled(); });
    m_eraserButton->setEnabled(erasable);
}

void MyPaletteWidget::clearPalette(bool entries, bool description)
{
    if (entries) {
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 6; ++column) {
                m_cells[row][column].empty();
                Settings::setMyPaletteEntry(QPoint(column, row), DB::ItemIndex());
            }
        }
    }
    if (description) {
        m_descriptionField->setText(QString());
        Settings::setMyPaletteDescription(QString());
        updateDescriptionFont();
    }
}

void MyPaletteWidget::updateDescriptionFont()
{
    // The placeholder shows in italics while the field is empty and unfocused.
    const bool italic = !m_descriptionField->hasFocus() && m_descriptionField->text().isEmpty();
    m_descriptionField->setFont(italic ? Theme::italicFont(Theme::FontSizeLarger) : Theme::normalFont(Theme::FontSizeLarger));
}

// ---------------------------------------------------------------- files

void MyPaletteWidget::savePaletteTo(PaletteFileFormat fileFormat, const QString &path)
{
    QVector<PaletteFile::Cell> cells;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            if (m_cells[row][column].isFilled())
                cells.append({QPoint(column, row), m_cells[row][column].itemIndex()});
        }
    }
    QString text;
    if (fileFormat == PaletteFileFormatXml)
        text = QString::fromUtf8(PaletteFile::buildXml(cells, m_descriptionField->text()));
    else if (fileFormat == PaletteFileFormatText)
        text = PaletteFile::buildTextExport(cells);
    // An empty text export creates or changes no file.
    if (text.isEmpty())
        return;
    PaletteFile::writeText(path, text);
}

void MyPaletteWidget::loadPaletteFrom(PaletteFileFormat expectedFileFormat, const QString &path)
{
    // The content tells the format.
    Q_UNUSED(expectedFileFormat)
    // Read-only: a palette on a read-only share or of mode 0444 loads too.
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.read(PaletteFile::s_maximumFileSize + 1);
    file.close();
    if (bytes.size() > PaletteFile::s_maximumFileSize)
        return;

    PaletteFile::Contents contents;
    if (PaletteFile::parse(bytes, contents)) {
        clearPalette(true, true);
        m_descriptionField->setText(contents.description);
        Settings::setMyPaletteDescription(m_descriptionField->text());
        updateDescriptionFont();
        for (const PaletteFile::Chip &chip : qAsConst(contents.chips)) {
            cell(chip.coord).fill(chip.index, chip.entry);
            Settings::setMyPaletteEntry(chip.coord, chip.index);
        }
    }
    update();
    updateTaskButtonState();
    emit myPaletteChanged();
}

// ---------------------------------------------------------------- buttons

void MyPaletteWidget::zoomClicked()
{
    emit zoomMyPaletteClicked();
}

void MyPaletteWidget::eraseClicked()
{
    // The cells stay selected.
    for (const QPoint &coord : qAsConst(m_selection)) {
        if (!inBounds(coord))
            continue;
        cell(coord).empty();
        Settings::setMyPaletteEntry(coord, DB::ItemIndex());
    }
    update();
    updateTaskButtonState();
    emit myPaletteChanged();
}

void MyPaletteWidget::clearClicked()
{
    if (!m_clearQuestion) {
        const QUuid collection = Settings::uuidOfLastUsedCollection();
        m_clearQuestion = new QMessageBox(this);
        const QImage icon = Theme::getImageByKey(Theme::KeyOfMyPaletteClearPaletteQuestionImage, QSize(128, 128));
        m_clearQuestion->setIconPixmap(
            QPixmap::fromImage(icon.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        m_clearQuestion->setWindowTitle(
            Localizer::getTextByKey(collection, LocalizerKeys::KeyOfCommonConfirmationDialogCaption));
        m_clearQuestion->setText(
            Localizer::getTextByKey(collection, LocalizerKeys::KeyOfMypaletteClearpalettebuttonQuestion));
        m_clearQuestion->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        m_clearQuestion->setWindowFlags(Qt::Sheet);
        m_clearQuestion->setWindowModality(Qt::WindowModal);
        m_clearQuestion->setDefaultButton(QMessageBox::Yes);
        m_clearQuestion->setEscapeButton(QMessageBox::No);
        m_clearQuestion->setInformativeText(QString());
        const bool connected = connect(m_clearQuestion, SIGNAL(finished(int)), this, SLOT(clearPaletteQuestionFinished(int)));
        Q_ASSERT(connected);
        Q_UNUSED(connected)
    }
    m_clearQuestion->open();
}

void MyPaletteWidget::gridClicked(bool checked)
{
    Settings::setMyPaletteGridState(checked);
    update();
}

void MyPaletteWidget::clearPaletteQuestionFinished(int button)
{
    // The result code of a message box is not the button in Qt 6; the
    // clicked button is.
    Q_UNUSED(button)
    if (!m_clearQuestion || m_clearQuestion->standardButton(m_clearQuestion->clickedButton()) != QMessageBox::Yes)
        return;
    clearPalette(true, false);
    update();
    updateTaskButtonState();
    emit myPaletteChanged();
    emit myPaletteSelectionChanged();
}

void MyPaletteWidget::paletteDescriptionEditFinished()
{
    Settings::setMyPaletteDescription(m_descriptionField->text());
}

// ---------------------------------------------------------------- events

bool MyPaletteWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_descriptionField) {
        if (event->type() == QEvent::FocusOut && m_descriptionField->text().isEmpty())
            m_descriptionField->setFont(Theme::italicFont(Theme::FontSizeLarger));
        else if (event->type() == QEvent::FocusIn)
            m_descriptionField->setFont(Theme::normalFont(Theme::FontSizeLarger));
    }
    return QWidget::eventFilter(watched, event);
}

void MyPaletteWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    if (!m_gridArea.contains(position)) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressPosition = event->globalPosition().toPoint();
    if (event->buttons() != Qt::LeftButton)
        return;
    const QPoint coord = pointToCoord(position);
    if (!inBounds(coord))
        return;

    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::NoModifier) {
        for (const QPoint &selected : qAsConst(m_selection))
            Settings::setMyPaletteEntryState(selected, false);
        m_selection.clear();
    }
    // Command (Control) toggles one cell; Shift and Option change nothing.
    if (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier) {
        if (m_selection.removeAll(coord) > 0) {
            Settings::setMyPaletteEntryState(coord, false);
        } else {
            m_selection.append(coord);
            Settings::setMyPaletteEntryState(coord, true);
        }
    }
    update();
    updateTaskButtonState();
    emit myPaletteSelectionChanged();
}

void MyPaletteWidget::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    m_pressPosition = QPoint(0, 0);
}

void MyPaletteWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    if (event->buttons() == Qt::NoButton) {
        for (const auto &row : m_cells) {
            for (const ColorEntry &entry : row) {
                if (!entry.rect().contains(position))
                    continue;
                if (entry.isFilled()) {
                    QToolTip::showText(mapToGlobal(entry.rect().topRight()),
                                       DBManager::BuildToolTipForColorEntry(entry.itemIndex().collection,
                                                                            entry.itemIndex().entryId, true),
                                       this);
                } else {
                    QToolTip::hideText();
                }
                return;
            }
        }
        QToolTip::hideText();
        return;
    }
    if (event->buttons() != Qt::LeftButton) {
        QToolTip::hideText();
        return;
    }
    if ((event->globalPosition().toPoint() - m_pressPosition).manhattanLength() <= QApplication::startDragDistance()
        || !m_gridArea.contains(position))
        return;
    for (const auto &row : m_cells) {
        for (const ColorEntry &entry : row) {
            if (!entry.isFilled() || !entry.rect().contains(position))
                continue;
            const DB::ItemIndex index = entry.itemIndex();
            DB::ColorEntry chip;
            if (DBManager::GetColorEntryById(index.collection, index.entryId, chip) == 0)
                DragDropHelper::initiateColorChipDragOperation(this, DragSourceMyPalette, index.collection, chip,
                                                               Qt::CopyAction, Qt::CopyAction);
            return;
        }
    }
}

void MyPaletteWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Whole regions, not only their first rectangle: merged updates would
    // otherwise leave cells unpainted.
    const QRegion area = event->region().isEmpty() ? QRegion(rect()) : event->region();

    if (area.intersects(m_barRect) && m_barImage.width() > 0) {
        for (int x = 0; x < width(); x += m_barImage.width())
            painter.drawImage(x, 0, m_barImage);
    }

    const bool gridVisible = m_gridButton->isChecked();
    for (const auto &row : m_cells) {
        for (const ColorEntry &entry : row) {
            if (entry.isFilled() && area.intersects(entry.rect()))
                painter.fillRect(entry.rect(), entry.color());
        }
    }
    if (gridVisible) {
        painter.setPen(QPen(gridLineColour, 1));
        painter.setBrush(Qt::NoBrush);
        for (const auto &row : m_cells) {
            for (const ColorEntry &entry : row) {
                if (area.intersects(entry.rect().adjusted(0, 0, 1, 1)))
                    painter.drawRect(entry.rect());
            }
        }
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(selectionColour, 2));
    for (const QPoint &coord : qAsConst(m_selection)) {
        if (!inBounds(coord))
            continue;
        const QRect mark = cell(coord).rect().adjusted(0, 0, 1, 1);
        if (area.intersects(mark.adjusted(-1, -1, 1, 1)))
            painter.drawRect(mark);
    }
    if (inBounds(m_dropTarget)) {
        const QRect mark = cell(m_dropTarget).rect().adjusted(0, 0, 1, 1);
        if (area.intersects(mark.adjusted(-1, -1, 1, 1))) {
            painter.setPen(QPen(dropTargetColour, 2));
            painter.drawRect(mark);
        }
    }
}

void MyPaletteWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int widths[4] = {m_zoomButton->width(), m_eraserButton->width(), m_trashButton->width(),
                           m_gridButton->width()};
    const Geometry g = geometryFor(size(), m_barImage.height(), widths, m_zoomButton->height(),
                              QFontMetrics(font()).height());
    m_barRect = g.bar;
    m_gridButton->move(g.gridButton.topLeft());
    m_trashButton->move(g.trashButton.topLeft());
    m_eraserButton->move(g.eraserButton.topLeft());
    m_zoomButton->move(g.zoomButton.topLeft());
    m_descriptionField->setGeometry(g.description);
    applyDescriptionBackground();
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column)
            m_cells[row][column].m_rect = g.cells[row][column];
    }
    m_gridArea = g.gridArea;
}

void MyPaletteWidget::applyDescriptionBackground()
{
    const QImage background = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, QSize(16, 16));
    if (background.isNull())
        return;
    // The field shows the main widget's background under it, so that it looks
    // like part of it. Without a main widget above it the top-level window
    // stands in.
    QWidget *mainWidget = Global::g_mainWidget;
    QWidget *under = mainWidget && mainWidget->isAncestorOf(this) ? mainWidget : window();
    const QRect slice(m_descriptionField->mapTo(under, QPoint(0, 0)), m_descriptionField->size());
    QPalette palette = m_descriptionField->palette();
    palette.setBrush(QPalette::All, QPalette::Base, QBrush(QPixmap::fromImage(background.copy(slice))));
    palette.setBrush(QPalette::All, QPalette::Text, QColor(255, 255, 255));
    // Qt 4 drew the placeholder in the text colour at half opacity.
    palette.setBrush(QPalette::All, QPalette::PlaceholderText, QColor(255, 255, 255, 128));
    m_descriptionField->setPalette(palette);
}

bool MyPaletteWidget::acceptsDrag(const QMimeData *data) const
{
    if (!DragDropHelper::validDragSource(data))
        return false;
    const int source = DragDropHelper::extractDragSource(data);
    return source == DragSourceCardRoller || source == DragSourceColorSchemer;
}

QRect MyPaletteWidget::dropMarkRect(const QPoint &coord) const
{
    return inBounds(coord) ? cell(coord).rect().adjusted(-3, -3, 3, 3) : QRect();
}

void MyPaletteWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsDrag(event->mimeData()))
        event->acceptProposedAction();
}

void MyPaletteWidget::dragMoveEvent(QDragMoveEvent *event)
{
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    if (!acceptsDrag(event->mimeData()))
        return;
    const QPoint old = m_dropTarget;
    m_dropTarget = QPoint(-1, -1);
    const QPoint position = event->position().toPoint();
    if (m_gridArea.contains(position)) {
        event->acceptProposedAction();
        m_dropTarget = pointToCoord(position);
    }
    if (m_dropTarget == old)
        return;
    const QRect changed = dropMarkRect(old) | dropMarkRect(m_dropTarget);
    if (!changed.isEmpty())
        update(changed);
}

void MyPaletteWidget::dragLeaveEvent(QDragLeaveEvent *event)
{
    Q_UNUSED(event)
    if (!inBounds(m_dropTarget))
        return;
    update(dropMarkRect(m_dropTarget));
    m_dropTarget = QPoint(-1, -1);
}

void MyPaletteWidget::dropEvent(QDropEvent *event)
{
    if (!inBounds(m_dropTarget))
        return;
    const auto refuse = [this] {
        m_dropTarget = QPoint(-1, -1);
        updateTaskButtonState();
        update();
    };
    // A drop is only delivered after an accepted move, but the sources are
    // checked again: nothing but a chip of the roller or a schemer goes in.
    if (!acceptsDrag(event->mimeData())) {
        refuse();
        return;
    }
    event->acceptProposedAction();
    QUuid collection;
    DB::ColorEntry entry;
    if (DragDropHelper::extractColorEntry(event->mimeData(), collection, entry) != 0) {
        refuse();
        return;
    }
    DB::ItemIndex index;
    index.collection = collection;
    index.pageId = entry.pageId;
    index.entryId = entry.id;
    // A drop on a selected cell fills every selected cell.
    const QList<QPoint> targets = m_selection.contains(m_dropTarget) ? m_selection : QList<QPoint>{m_dropTarget};
    for (const QPoint &coord : targets) {
        if (!inBounds(coord))
            continue;
        cell(coord).fill(index, entry);
        Settings::setMyPaletteEntry(coord, index);
    }
    emit myPaletteChanged();
    m_dropTarget = QPoint(-1, -1);
    updateTaskButtonState();
    update();
}

} // namespace Velmar
