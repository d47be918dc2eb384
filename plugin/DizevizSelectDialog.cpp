#include "plugin/DizevizSelectDialog.h"

#include "plugin/DizevizLookup.h"
#include "plugin/TaskButton.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace Velmar {

const QSize DizevizSelectDialog::s_fixedSize(320, 200);

DizevizSelectDialog::Layout DizevizSelectDialog::layoutFor(const QSize &dialog, int fontHeight, int comboBoxHeight)
{
    const int w = dialog.width();
    const int h = dialog.height();
    const int f = fontHeight;
    Layout layout;
    layout.background = QRect(QPoint(0, 0), QPoint(w - 1, h - 1));
    layout.comboBox = QRect(QPoint(48, 20), QPoint(w - 49, comboBoxHeight + 21));
    layout.okButton = QRect(QPoint((w - 80) / 2, h - f - 42), QPoint((w - 80) / 2 + 79, h - f - 21));
    layout.swatch = QRect(QPoint(48, layout.comboBox.bottom() + 12), QPoint(w - 49, layout.okButton.top() - 12));
    layout.captionLabel = QRect(QPoint(-1, h - f - 8), QPoint(w, h));
    return layout;
}

DizevizSelectDialog::DizevizSelectDialog(const QVector<DB::ColorEntry> &entries, QWidget *parent)
    : QDialog(parent)
    , m_entries(entries)
{
    Global::registerMetaTypes();
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    setWindowTitle(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfDizevizDialogCaption));
    setWindowFlags((windowFlags()
                    & ~(Qt::WindowContextHelpButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                        | Qt::MSWindowsFixedSizeDialogHint))
                   | Qt::CustomizeWindowHint);
    setWindowOpacity(1.0);
    setFont(Theme::normalFont(Theme::FontSizeNormal));

    m_background = new QWidget(this);
    m_background->setAttribute(Qt::WA_StyledBackground, true);
    m_background->setStyleSheet(QStringLiteral("background-color: rgb(123, 123, 123);"));
    m_background->raise();

    m_comboBox = new QComboBox(this);
    m_comboBox->setFont(font());
    m_comboBox->setEditable(false);
    m_comboBox->setInsertPolicy(QComboBox::InsertAtBottom);
    m_comboBox->raise();

    m_swatch = new QWidget(this);
    m_swatch->setAttribute(Qt::WA_StyledBackground, true);
    m_swatch->setStyleSheet(QStringLiteral("background-color: rgb(255, 0, 0);"));
    m_swatch->raise();

    m_okButton = new TaskButton(this);
    m_okButton->setText(QStringLiteral("OK"));
    m_okButton->setEnabled(false);
    m_okButton->setDefault(true);
    m_okButton->adjustSize();
    m_okButton->raise();

    m_captionLabel = new QLabel(this);
    m_captionLabel->setText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfDizevizDialogTodo));
    m_captionLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_captionLabel->setStyleSheet(QStringLiteral("color:rgb(240,240,240);border-color:rgb(255,255,255);"));
    m_captionLabel->setFrameShape(QFrame::Box);
    m_captionLabel->setFrameShadow(QFrame::Plain);
    m_captionLabel->raise();

    for (const DB::ColorEntry &entry : qAsConst(m_entries)) {
        const QUuid uuid = DizevizLookup::collectionUuidOf(entry);
        if (!m_collectionNames.contains(uuid))
            m_collectionNames.insert(uuid, DizevizLookup::collectionNameOf(entry));
    }
    m_severalCollections = m_collectionNames.size() > 1;

    // One item per chip: a chip found in two collections is offered under
    // the first, and choosing it selects that same entry.
    for (const DB::ColorEntry &entry : qAsConst(m_entries)) {
        if (m_comboBox->findData(entry.id) >= 0)
            continue;
        const QString name = m_collectionNames.value(DizevizLookup::collectionUuidOf(entry));
        const QString text = m_severalCollections && !name.isEmpty()
            ? QStringLiteral("%1 (%2)").arg(entry.code, name)
            : entry.code;
        m_comboBox->insertItem(m_comboBox->count(), text, entry.id);
    }

    itemSelectionChanged(m_comboBox->currentIndex());
    bool connected = connect(m_comboBox, SIGNAL(currentIndexChanged(int)), this, SLOT(itemSelectionChanged(int)));
    connected &= bool(connect(m_okButton, SIGNAL(clicked()), this, SLOT(okBtnClicked())));
    if (!connected)
        qWarning("DizevizSelectDialog: a connection of the dialog failed");

    setFixedSize(s_fixedSize);
    QResizeEvent resize(s_fixedSize, s_fixedSize);
    QCoreApplication::sendEvent(this, &resize);
    fitItemTexts();
}

void DizevizSelectDialog::fitItemTexts()
{
    // The combo box is as wide as the layout makes it and would cut a long
    // collection name off at its arrow; the name is shortened instead, so
    // the code stays whole, and the whole text is the item's tool tip.
    QStyleOptionComboBox option;
    option.initFrom(m_comboBox);
    option.editable = false;
    option.frame = true;
    option.subControls = QStyle::SC_All;
    const int room = m_comboBox->style()
                         ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, m_comboBox)
                         .width()
        - 4;
    const QFontMetrics metrics(m_comboBox->font());
    for (int i = 0; i < m_comboBox->count(); ++i) {
        const QString text = m_comboBox->itemText(i);
        m_comboBox->setItemData(i, text, Qt::ToolTipRole);
        if (!m_severalCollections || metrics.horizontalAdvance(text) <= room)
            continue;
        const qint64 id = m_comboBox->itemData(i).toLongLong();
        for (const DB::ColorEntry &entry : qAsConst(m_entries)) {
            if (entry.id != id)
                continue;
            const int left = room - metrics.horizontalAdvance(QStringLiteral("%1 ()").arg(entry.code));
            const QString name = metrics.elidedText(m_collectionNames.value(DizevizLookup::collectionUuidOf(entry)), Qt::ElideRight,
                                                    std::max(left, 0));
            m_comboBox->setItemText(i, QStringLiteral("%1 (%2)").arg(entry.code, name));
            break;
        }
    }
}

void DizevizSelectDialog::itemSelectionChanged(int itemIndex)
{
    QColor colour(0, 0, 0, 0);
    if (itemIndex >= 0) {
        const qint64 id = m_comboBox->itemData(itemIndex).toLongLong();
        for (const DB::ColorEntry &entry : qAsConst(m_entries)) {
            if (entry.id == id) {
                m_selectedEntry = entry;
                colour = QColor(entry.red, entry.green, entry.blue, 255);
                break;
            }
        }
    }
    m_swatch->setStyleSheet(QStringLiteral("background-color: rgba(%1, %2, %3, %4);")
                                .arg(colour.red())
                                .arg(colour.green())
                                .arg(colour.blue())
                                .arg(colour.alpha()));
    m_okButton->setEnabled(itemIndex >= 0);
}

void DizevizSelectDialog::okBtnClicked()
{
    accept();
}

void DizevizSelectDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const Layout layout = layoutFor(size(), QFontMetrics(font()).height(), m_comboBox->sizeHint().height());
    m_background->setGeometry(layout.background);
    m_comboBox->setGeometry(layout.comboBox);
    m_okButton->setGeometry(layout.okButton);
    m_swatch->setGeometry(layout.swatch);
    m_captionLabel->setGeometry(layout.captionLabel);
}

} // namespace Velmar
