#include "plugin/CollectionSelectWidget.h"

#include "database/DBManager.h"
#include "plugin/CxfReader.h"
#include "plugin/DizevizLookup.h"
#include "plugin/DizevizSelectDialog.h"
#include "plugin/DropDownButton.h"
#include "plugin/ImageButton.h"
#include "plugin/MainWidget.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace Velmar {

const QSize CollectionSelectWidget::s_fixedSize(234, 30);

CollectionSelectWidget::ButtonLayout CollectionSelectWidget::buttonLayout(const QSize &bar, const QSize &dropDownButton,
                                                                          const QSize &dizevizButton,
                                                                          bool dizevizButtonShown)
{
    const int w = bar.width();
    const int h = bar.height();
    const int m = (h - std::max(dropDownButton.height(), dizevizButton.height())) / 2;
    ButtonLayout layout;
    int limit = w - m - 1;
    if (dizevizButtonShown) {
        layout.dizevizButton = QRect(QPoint(w - m - 1 - dizevizButton.width(), m + (h - 2 * m - dizevizButton.height()) / 2),
                                     dizevizButton);
        limit = w - m - 3 - dizevizButton.width();
    }
    layout.dropDownButton =
        QRect(QPoint(limit - dropDownButton.width(), m + (h - 2 * m - dropDownButton.height()) / 2), dropDownButton);
    return layout;
}

QRect CollectionSelectWidget::nameRect(const QSize &bar, bool dropDownButtonShown, int dropDownButtonX)
{
    QRect rect(QPoint(0, 0), QPoint(bar.width() - 1, bar.height() - 1));
    if (dropDownButtonShown)
        rect.setRight(dropDownButtonX - 1);
    return rect;
}

QString CollectionSelectWidget::shownName(const QString &name, const QFontMetrics &metrics, int width)
{
    const QString prefix = elisionPrefix(name, width);
    const QString shown = metrics.elidedText(prefix, Qt::ElideRight, width);
    // A prefix that fits whole (zero-width characters) still stands for a
    // longer name, so it ends in an ellipsis too.
    if (prefix.size() < name.size() && shown == prefix)
        return metrics.elidedText(prefix + QChar(0x2026), Qt::ElideRight, width);
    return shown;
}

QString CollectionSelectWidget::elisionPrefix(const QString &name, int width)
{
    // Four characters to a pixel, and some: more than one line shows of any
    // ordinary text, which has few zero-width characters.
    const qsizetype length = 4 * qsizetype(std::max(width, 0)) + 16;
    if (name.size() <= length)
        return name;
    // Never half a character.
    return name.left(name.at(length - 1).isHighSurrogate() ? length - 1 : length);
}

QRect CollectionSelectWidget::listRect(const QRect &barInListParent)
{
    return QRect(QPoint(barInListParent.left(), barInListParent.bottom() + 1),
                 QPoint(barInListParent.right(), barInListParent.bottom() + 128));
}

QString CollectionSelectWidget::listStyleSheet(const QColor &bottom, const QColor &top)
{
    return QStringLiteral("background-color: qlineargradient(spread:pad,                 x1:0.35, y1:1,                 "
                          "x2:0.65, y2:0,                 stop:0 rgba(%1, %2, %3, %4),                 "
                          "stop:1 rgba(%5, %6, %7, %8)); ")
        .arg(bottom.red())
        .arg(bottom.green())
        .arg(bottom.blue())
        .arg(bottom.alpha())
        .arg(top.red())
        .arg(top.green())
        .arg(top.blue())
        .arg(top.alpha());
}

CollectionSelectWidget::CollectionSelectWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    setMinimumSize(s_fixedSize);
    setMaximumSize(s_fixedSize);
    setFixedSize(s_fixedSize);
    setFocusPolicy(Qt::StrongFocus);
    prepareForCollection(Settings::uuidOfLastUsedCollection());
    setFont(Theme::normalFont(Theme::FontSizeLarger));

    const QList<QUuid> installed = DBManager::GetInstalledCollectionUuidsInOrder();
    m_dropDownButton = new DropDownButton(this);
    m_dropDownButton->setFixedSize(20, 20);
    m_dropDownButton->setArrowDirection(DropDownButton::ArrowDirectionDown);
    if (installed.size() <= 1)
        m_dropDownButton->hide();

    const QImage dizevizImage = Theme::getImageByKey(Theme::KeyOfDizevizButtonImage, QSize(16, 16));
    m_dizevizButton = new ImageButton(dizevizImage, dizevizImage, this);
    m_dizevizButton->setFixedSize(20, 20);
    m_dizevizButton->hide();

    // The list hangs below the bar, over the views under it, so it belongs to
    // the widget that holds them all.
    QWidget *listParent = Global::g_mainWidget;
    if (!listParent)
        listParent = parent ? parent->window() : this;
    m_list = new QListWidget(listParent);
    m_list->setFont(Theme::normalFont(Theme::FontSizeLarger));
    for (const QUuid &uuid : installed) {
        QSharedPointer<DB::Collection> record;
        if (DBManager::GetCollectionByUuid(uuid, record) != 0)
            continue;
        // The list elides its items itself; as wide as the bar, it shows no
        // more of a name than the bar does.
        auto *item = new QListWidgetItem(elisionPrefix(record->name, s_fixedSize.width()));
        item->setData(Qt::UserRole, uuid.toString());
        item->setSizeHint(QSize(0, 28));
        item->setTextAlignment(Qt::AlignCenter);
        m_list->addItem(item);
    }
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setStyleSheet(listStyleSheet(QColor(204, 204, 204, 255), QColor(238, 238, 238, 255)));
    m_list->hide();

    bool connected = connect(m_dropDownButton, SIGNAL(clicked()), this, SLOT(dropDownButtonClicked()));
    connected &= bool(connect(m_dizevizButton, SIGNAL(clicked()), this, SLOT(dizevizButtonClicked())));
    connected &= bool(connect(m_list, SIGNAL(itemActivated(QListWidgetItem*)), this,
                              SLOT(listWidgetItemActivated(QListWidgetItem*))));
    connected &= bool(connect(m_list, SIGNAL(itemClicked(QListWidgetItem*)), this,
                              SLOT(listWidgetItemActivated(QListWidgetItem*))));
    if (!connected)
        qWarning("CollectionSelectWidget: a connection of the bar failed");
    m_list->installEventFilter(this);

    recalculateLayout();
}

CollectionSelectWidget::~CollectionSelectWidget()
{
    // The list lives with another parent; it must not outlive its bar. It
    // stops reporting first: while it is destroyed it is no list any more.
    if (m_list) {
        m_list->removeEventFilter(this);
        delete m_list.data();
    }
}

void CollectionSelectWidget::prepareForCollection(const QUuid &collection)
{
    // Drawn stretched over the bar; kept at the bar's size so that the part
    // behind the drop-down button is the part the bar shows there.
    const QImage background = Theme::getImageByKey(Theme::KeyOfWidgetBarBackgroundImage, size());
    m_background = background.isNull() || background.size() == size()
        ? background
        : background.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_textColor = Theme::getColorByKey(Theme::KeyOfCollectionSelectorTextColor, QColor(0, 0, 0, 255));
    QSharedPointer<DB::Collection> record;
    if (DBManager::GetCollectionByUuid(collection, record) == 0)
        m_collectionName = record->name;
    recalculateLayout();
}

QSize CollectionSelectWidget::sizeHint() const
{
    return s_fixedSize;
}

QSize CollectionSelectWidget::minimumSizeHint() const
{
    return s_fixedSize;
}

void CollectionSelectWidget::selectedCollectionChanged(QUuid collectionId)
{
    prepareForCollection(collectionId);
    update();
}

void CollectionSelectWidget::dizevizFileChanged(QString fileName)
{
    // Asked whether it exists first: opening it for writing would create it,
    // and the folder belongs to the device's software.
    bool usable = false;
    if (!fileName.isEmpty() && QFile::exists(fileName)) {
        QFile file(fileName);
        usable = file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
        file.close();
    }
    if (usable)
        m_dizevizFilePath = fileName;
    if (m_dizevizButton->isHidden() == usable) {
        m_dizevizButton->setVisible(usable);
        QCoreApplication::postEvent(this, new QResizeEvent(size(), size()));
    }
    if (usable)
        m_dizevizButton->startPulsating();
}

void CollectionSelectWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_background.isNull())
        painter.drawImage(rect(), m_background);

    const QRect rect = nameRect(size(), !m_dropDownButton->isHidden(), m_dropDownButton->x());
    const QString name = shownName(m_collectionName, fontMetrics(), rect.width());
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(m_textColor);
    painter.setFont(font());
    // Twice over itself, for a fuller stroke on the bar's gradient.
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, name);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, name);
}

void CollectionSelectWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    recalculateLayout();
}

void CollectionSelectWidget::recalculateLayout()
{
    if (!m_dropDownButton || !m_dizevizButton)
        return;
    const bool dizevizShown = !m_dizevizButton->isHidden();
    const ButtonLayout layout =
        buttonLayout(size(), m_dropDownButton->size(), m_dizevizButton->size(), dizevizShown);
    if (dizevizShown)
        m_dizevizButton->move(layout.dizevizButton.topLeft());
    m_dropDownButton->move(layout.dropDownButton.topLeft());
    // The button shows the part of the bar's background it lies on; only a
    // new background or a move changes that part.
    updateButtonsBackground();
    placeList();
    update();
}

void CollectionSelectWidget::updateButtonsBackground()
{
    if (m_dropDownButton && !m_background.isNull())
        m_dropDownButton->setBackground(m_background.copy(m_dropDownButton->geometry()));
}

void CollectionSelectWidget::placeList()
{
    if (!m_list)
        return;
    QWidget *parent = m_list->parentWidget();
    QRect bar(QPoint(0, 0), size());
    if (parent != this && parent) {
        if (parent->isAncestorOf(this))
            bar.moveTopLeft(mapTo(parent, QPoint(0, 0)));
        else
            bar.moveTopLeft(parent->mapFromGlobal(mapToGlobal(QPoint(0, 0))));
    }
    m_list->setGeometry(listRect(bar));
}

void CollectionSelectWidget::reportPendingCollection()
{
    if (m_pendingCollection.isNull())
        return;
    const QUuid collection = m_pendingCollection;
    m_pendingCollection = QUuid();
    emit collectionSelectedInteractively(collection);
}

void CollectionSelectWidget::dropDownButtonClicked()
{
    if (!m_list)
        return;
    if (m_list->isHidden()) {
        // The bar may have moved since it was last laid out.
        placeList();
        m_list->show();
        const QUuid current = Settings::uuidOfLastUsedCollection();
        for (int i = 0; i < m_list->count(); ++i) {
            QListWidgetItem *item = m_list->item(i);
            if (!item->isHidden() && QUuid::fromString(item->data(Qt::UserRole).toString()) == current) {
                m_list->setCurrentItem(item);
                m_list->scrollToItem(item);
                break;
            }
        }
        m_list->setFocus();
    } else {
        m_list->hide();
        reportPendingCollection();
    }
}

void CollectionSelectWidget::listWidgetItemActivated(QListWidgetItem *item)
{
    // A click may both activate and click an item; the first closes the
    // list, so one choice is reported once.
    if (!item || !m_list || m_list->isHidden())
        return;
    const QVariant data = item->data(Qt::UserRole);
    if (data.canConvert<QString>())
        m_pendingCollection = QUuid::fromString(data.toString());
    m_list->hide();
    setFocus();
    reportPendingCollection();
}

void CollectionSelectWidget::dizevizButtonClicked()
{
    m_dizevizButton->stopPulsating();
    if (m_dizevizFilePath.isEmpty())
        return;
    QFile file(m_dizevizFilePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray cxf = file.readAll();
    file.close();

    QStringList names;
    if (CxfReader::objectNames(cxf, names) != 0)
        return;
    const QVector<DB::ColorEntry> offer = DizevizLookup::offerFor(names);
    if (offer.isEmpty())
        return;

    DizevizSelectDialog dialog(offer, this);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() == QDialog::Accepted) {
        const DB::ColorEntry entry = dialog.selectedEntry();
        const QUuid collection = DizevizLookup::collectionUuidOf(entry);
        if (!collection.isNull())
            emit dizevizItemSelectedInteractively(collection, entry);
    }
    m_dizevizButton->stopPulsating();
}

bool CollectionSelectWidget::eventFilter(QObject *watched, QEvent *event)
{
    // Asked of the object itself: a list that its parent is destroying, which
    // may happen before this bar goes, is no QListWidget any more and is left alone.
    auto *list = qobject_cast<QListWidget *>(watched);
    if (list && list == m_list) {
        switch (event->type()) {
        case QEvent::Show:
            list->raise();
            list->setFocus();
            m_dropDownButton->setArrowDirection(DropDownButton::ArrowDirectionUp);
            break;
        case QEvent::Hide:
            m_dropDownButton->setArrowDirection(DropDownButton::ArrowDirectionDown);
            break;
        case QEvent::FocusOut:
            // A click on the drop-down button closes the list in its own slot.
            if (QApplication::focusWidget() != m_dropDownButton)
                list->hide();
            break;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
                list->hide();
                setFocus();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Velmar
