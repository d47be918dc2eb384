#include "views/SearchWidget.h"

#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/RollButton.h"
#include "views/SuggestionCompleter.h"
#include "views/SuggestionModel.h"
#include "views/ToUpperCaseValidator.h"

#include <QCompleter>
#include <QDebug>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPointer>

namespace Velmar {

const QSize SearchWidget::s_fixedSize(210, 26);
const QSize SearchWidget::s_glassRequestSize(16, 16);

namespace {

// The part of the image under a rectangle, as the brush of a palette role.
void setPaletteSlice(QWidget *widget, QPalette::ColorRole role, const QImage &image, const QRect &rect)
{
    const QPixmap slice = QPixmap::fromImage(image.copy(rect));
    if (slice.isNull())
        return;
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::All, role, QBrush(slice));
    widget->setPalette(palette);
}

} // namespace

SearchWidget::Layout SearchWidget::layoutFor(const QSize &bar, const QSize &glass, const QSize &button, int textHeight)
{
    const int w = bar.width();
    const int h = bar.height();
    Layout layout;
    layout.glass = QRect(7, (h - glass.height()) / 2, glass.width(), glass.height());
    layout.forward = QRect(w - button.width(), (h - button.height()) / 2, button.width(), button.height());
    layout.backward = QRect(w - 2 * button.width(), (h - button.height()) / 2, button.width(), button.height());
    layout.field = QRect(QPoint(layout.glass.right() + 2, (h - textHeight) / 2),
                         QPoint(layout.backward.left() - 15, (h - textHeight) / 2 + textHeight - 1));
    return layout;
}

SearchWidget::SearchWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    m_textField = new QLineEdit(this);
    m_textField->setFocusPolicy(Qt::StrongFocus);
    m_textField->setFrame(false);
    m_textField->setTextMargins(0, 0, 0, 0);
    m_textField->setValidator(new ToUpperCaseValidator(m_textField));
    m_textField->setFont(Theme::italicFont(Theme::FontSizeNormal));

    m_backwardButton = new RollButton(DirectionBackward, this);
    m_forwardButton = new RollButton(DirectionForward, this);

    setFixedSize(s_fixedSize);
    m_textField->installEventFilter(this);

    const bool connected = connect(m_forwardButton, SIGNAL(clicked()), this, SLOT(rollForwardButtonClicked()))
        && connect(m_backwardButton, SIGNAL(clicked()), this, SLOT(rollBackwardButtonClicked()))
        && connect(m_textField, SIGNAL(returnPressed()), this, SLOT(searchPhraseReturnPressed()));
    if (!connected)
        qDebug() << "SearchWidget: a connection failed";

    prepareForCollection(Settings::uuidOfLastUsedCollection());
}

void SearchWidget::prepareForCollection(const QUuid &collection)
{
    m_magnifyingGlass = Theme::getImageByKey(Theme::KeyOfSearchWidgetMagnifyingGlassImage, s_glassRequestSize);
    m_textField->setPlaceholderText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfColorPaletteSearchText));

    // The field never offers the names of the collection shown before; the
    // completer replaced is deleted, not left behind with the field. The
    // line edit may delete a completer that is its child itself; the guard
    // sees to it either way.
    const QPointer<QCompleter> replaced = m_textField->completer();
    m_textField->setCompleter(nullptr);
    delete replaced.data();
    // A big deck has names and codes by the hundred thousand: the field
    // looks up those a text asks for once it is used (it takes the focus or
    // a key), not with every collection shown.
    m_suggestionsCollection = collection;

    recalculateLayout();
    update();
}

SuggestionModel *SearchWidget::suggestions() const
{
    auto *completer = qobject_cast<SuggestionCompleter *>(m_textField->completer());
    return completer ? completer->suggestions() : nullptr;
}

bool SearchWidget::awaitsSuggestions(const QUuid &collection) const
{
    const SuggestionModel *model = suggestions();
    return model && model->collection() == collection && !model->hasWholeList();
}

void SearchWidget::offerSuggestions(const QUuid &collection, const QSharedPointer<const SuggestionList> &suggestions)
{
    if (awaitsSuggestions(collection))
        this->suggestions()->setWholeList(suggestions);
}

void SearchWidget::completeFromSuggestions()
{
    if (m_textField->completer())
        return;
    auto *model = new SuggestionModel(m_suggestionsCollection);
    if (!connect(model, SIGNAL(wholeListWanted(QUuid)), this, SIGNAL(suggestionsWanted(QUuid))))
        qDebug() << "SearchWidget: a connection failed";
    m_textField->setCompleter(new SuggestionCompleter(model, m_textField));
    emit searchStarted(m_suggestionsCollection);
}

void SearchWidget::selectedCollectionChanged(QUuid collectionId)
{
    prepareForCollection(collectionId);
}

void SearchWidget::setBackgroundImage(const QImage &image)
{
    m_backgroundImage = image;
    setPaletteSlice(m_textField, QPalette::Base, m_backgroundImage, m_textField->geometry());
}

QSize SearchWidget::sizeHint() const
{
    return s_fixedSize;
}

QSize SearchWidget::minimumSizeHint() const
{
    return s_fixedSize;
}

void SearchWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    recalculateLayout();
}

void SearchWidget::recalculateLayout()
{
    const int textHeight = QFontMetrics(m_textField->font()).size(Qt::TextSingleLine, QStringLiteral("Ág")).height();
    const Layout layout = layoutFor(size(), m_magnifyingGlass.size(), m_forwardButton->size(), textHeight);
    m_glassRect = layout.glass;
    m_forwardButton->move(layout.forward.topLeft());
    m_backwardButton->move(layout.backward.topLeft());
    m_textField->setGeometry(layout.field);

    setPaletteSlice(m_textField, QPalette::Window, m_backgroundImage, layout.field);
    QPalette palette = m_textField->palette();
    palette.setColor(QPalette::All, QPalette::Text, QColor(255, 255, 255));
    // The placeholder in the text colour, half transparent, as line edits
    // drew it before they had a colour role of its own.
    palette.setColor(QPalette::All, QPalette::PlaceholderText, QColor(255, 255, 255, 128));
    m_textField->setPalette(palette);
}

void SearchWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.drawImage(m_glassRect, m_magnifyingGlass);

    // A soft double outline around glass and field, stopping short of the
    // roll buttons, then a crisp one over it.
    const int right = m_textField->geometry().right();
    const int h = height();
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QColor(45, 45, 45, 96));
    painter.drawRoundedRect(QRectF(1, 1, right + 5, h - 3), 7.0, 7.0);
    painter.drawRoundedRect(QRectF(0, 0, right + 7, h - 1), 7.0, 7.0);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(45, 45, 45), 0));
    painter.drawRoundedRect(QRectF(1, 1, right + 5, h - 3), 7.0, 7.0);
}

bool SearchWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_textField) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
                m_textField->clear();
                event->accept();
                setFocus(Qt::OtherFocusReason);
                return true;
            }
            // Before the field takes the key, so that it completes the very
            // first letter typed.
            completeFromSuggestions();
            // Ctrl with Up or Down goes through every suggestion of the
            // text, those not shown yet looked up as they are reached.
            if (auto *completer = qobject_cast<SuggestionCompleter *>(m_textField->completer()))
                completer->prepareMove(*static_cast<QKeyEvent *>(event));
            break;
        case QEvent::InputMethod:
            completeFromSuggestions();
            break;
        case QEvent::FocusIn:
            m_textField->setFont(Theme::normalFont(Theme::FontSizeNormal));
            // The user is about to search: the whole list may be read
            // meanwhile, before the first key.
            completeFromSuggestions();
            break;
        case QEvent::FocusOut:
            // The placeholder shows in italics.
            if (m_textField->text().isEmpty())
                m_textField->setFont(Theme::italicFont(Theme::FontSizeNormal));
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchWidget::rollForwardButtonClicked()
{
    emit roll(DirectionForward);
}

void SearchWidget::rollBackwardButtonClicked()
{
    emit roll(DirectionBackward);
}

void SearchWidget::searchPhraseReturnPressed()
{
    const QString phrase = m_textField->text().trimmed();
    m_textField->clear();
    setFocus(Qt::OtherFocusReason);
    emit searchForPhrase(phrase);
}

} // namespace Velmar
