#include "plugin/SelectNearestColorDialog.h"

#include "database/DBManager.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolTip>

#include <algorithm>

namespace Velmar {

const QSize SelectNearestColorDialog::s_fixedSize(320, 200);

SelectNearestColorDialog::Layout SelectNearestColorDialog::layoutFor(const QSize &dialog, int fontHeight,
                                                                     int candidateCount)
{
    const int w = dialog.width();
    const int h = dialog.height();
    const int columnWidth = (w - 80) / 3;
    const int rowHeight = (h - fontHeight - 48) / 2;
    Layout layout;
    // Two rows of three, filled row by row, nearest first.
    const int count = std::clamp(candidateCount, 0, 6);
    for (int i = 0; i < count; ++i) {
        const int column = i % 3;
        const int row = i / 3;
        layout.chips.append(QRect(32 + column * (columnWidth + 8), 16 + row * (rowHeight + 8), columnWidth, rowHeight));
    }
    layout.checkBoxBottom = h - fontHeight - 9;
    // Its left and right borders fall just outside the dialog.
    layout.captionLabel = QRect(QPoint(-1, h - fontHeight - 8), QPoint(w, h));
    return layout;
}

SelectNearestColorDialog::SelectNearestColorDialog(const QColor &color, const QVector<DB::ColorEntry> &candidates,
                                                   QWidget *parent)
    : QDialog(parent)
    , m_color(color)
    , m_candidates(candidates)
{
    Global::registerMetaTypes();
    for (int i = 0; i < m_candidates.size(); ++i)
        m_indexById.insert(m_candidates.at(i).id, i);

    const QUuid collection = Settings::uuidOfLastUsedCollection();
    setMouseTracking(true);
    setWindowTitle(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfColormatcherDialogCaption));
    setWindowFlags((windowFlags()
                    & ~(Qt::WindowContextHelpButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                        | Qt::MSWindowsFixedSizeDialogHint))
                   | Qt::CustomizeWindowHint);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFont(Theme::normalFont(Theme::FontSizeNormal));
    setWindowOpacity(1.0);

    m_captionLabel = new QLabel(this);
    m_captionLabel->setText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfDizevizDialogTodo));
    m_captionLabel->setAlignment(Qt::AlignCenter);
    m_captionLabel->setStyleSheet(
        QStringLiteral("color:rgb(240,240,240);background-color:rgb(123,123,123);border-color:rgb(255,255,255);"));
    m_captionLabel->setFrameShape(QFrame::Box);
    m_captionLabel->setFrameShadow(QFrame::Plain);

    m_framedChips = new QCheckBox(this);
    m_framedChips->setChecked(true);
    if (!connect(m_framedChips, SIGNAL(toggled(bool)), this, SLOT(framedChipsStateChanged(bool))))
        qWarning("SelectNearestColorDialog: the frame switch could not be connected");

    setFixedSize(s_fixedSize);
    // The chips must have their places before the first paint or click.
    QResizeEvent resize(s_fixedSize, s_fixedSize);
    QCoreApplication::sendEvent(this, &resize);
}

void SelectNearestColorDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const Layout layout = layoutFor(size(), QFontMetrics(font()).height(), m_candidates.size());
    m_chipRects.clear();
    for (int i = 0; i < layout.chips.size(); ++i)
        m_chipRects.insert(layout.chips.at(i), m_candidates.at(i).id);
    const QSize box = m_framedChips->sizeHint();
    m_framedChips->setGeometry(0, layout.checkBoxBottom - box.height() + 1, box.width(), box.height());
    m_captionLabel->setGeometry(layout.captionLabel);
}

void SelectNearestColorDialog::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    const bool framed = m_framedChips->isChecked();
    for (auto it = m_chipRects.cbegin(); it != m_chipRects.cend(); ++it) {
        const DB::ColorEntry &entry = m_candidates.at(m_indexById.value(it.value()));
        const QRect &chip = it.key();
        painter.fillRect(chip, QColor(entry.red, entry.green, entry.blue));
        if (!framed)
            continue;
        // A soft shadow of two rounded rings and a dark edge.
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QColor(64, 64, 64, 24));
        painter.drawRoundedRect(chip.adjusted(-2, -2, 2, 2), 3, 3);
        painter.setPen(QColor(64, 64, 64, 48));
        painter.drawRoundedRect(chip.adjusted(-1, -1, 1, 1), 2, 2);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QColor(64, 64, 64, 255));
        painter.drawRect(chip.adjusted(0, 0, -1, -1));
    }
}

qint64 SelectNearestColorDialog::entryIdAt(const QPoint &point) const
{
    for (auto it = m_chipRects.cbegin(); it != m_chipRects.cend(); ++it) {
        if (it.key().contains(point))
            return it.value();
    }
    return -1;
}

void SelectNearestColorDialog::mouseMoveEvent(QMouseEvent *event)
{
    const qint64 id = entryIdAt(event->position().toPoint());
    if (id < 0) {
        QToolTip::hideText();
        setCursor(Qt::ArrowCursor);
        return;
    }
    setCursor(Qt::PointingHandCursor);
    QToolTip::showText(event->globalPosition().toPoint(),
                       DBManager::BuildToolTipForColorEntry(Settings::uuidOfLastUsedCollection(), id, true), this);
}

void SelectNearestColorDialog::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qint64 id = entryIdAt(event->position().toPoint());
    if (id < 0)
        return;
    m_selectedEntry = m_candidates.at(m_indexById.value(id));
    accept();
}

void SelectNearestColorDialog::framedChipsStateChanged(bool checked)
{
    Q_UNUSED(checked)
    update();
}

} // namespace Velmar
