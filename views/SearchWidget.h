#ifndef VELMAR_SEARCHWIDGET_H
#define VELMAR_SEARCHWIDGET_H

#include "inc/VelmarTypes.h"

#include <QImage>
#include <QRect>
#include <QSharedPointer>
#include <QSize>
#include <QStringList>
#include <QUuid>
#include <QWidget>

class QLineEdit;

namespace Velmar {

class RollButton;
class SuggestionList;
class SuggestionModel;

// The bar below the card roller: a magnifying glass, a one-line field for a
// colour code or name, and the two buttons that roll the deck. Typing is
// upper-cased and completed inline from the collection's names and codes;
// Return asks for the phrase, a held roll button keeps rolling.
class SearchWidget : public QWidget
{
    Q_OBJECT

public:
    static const QSize s_fixedSize;
    // The size the glass is asked for, so that a missing image gives a
    // small placeholder rather than one as large as the bar.
    static const QSize s_glassRequestSize;

    struct Layout {
        QRect glass;
        QRect backward;
        QRect forward;
        QRect field;
    };
    // Where glass, buttons and field go in a bar of the given size, for the
    // glass and button images' sizes and the field's one-line text height.
    static Layout layoutFor(const QSize &bar, const QSize &glass, const QSize &button, int textHeight);

    explicit SearchWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);
    // The main widget's background behind the bar; the field shows the part
    // under it, so it blends into the window.
    void setBackgroundImage(const QImage &image);

    // Whether the field completes for the collection without its whole
    // list of suggestions yet.
    bool awaitsSuggestions(const QUuid &collection) const;
    // The whole list read elsewhere (the main widget reads it on a thread
    // of its own once the field is used): the field completes from it from
    // then on, unless it completes for another collection.
    void offerSuggestions(const QUuid &collection, const QSharedPointer<const SuggestionList> &suggestions);
    // What the field completes from, once the field is used; null before.
    SuggestionModel *suggestions() const;

    QLineEdit *textField() const { return m_textField; }
    RollButton *backwardButton() const { return m_backwardButton; }
    RollButton *forwardButton() const { return m_forwardButton; }
    QRect glassRect() const { return m_glassRect; }

    bool eventFilter(QObject *watched, QEvent *event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void selectedCollectionChanged(QUuid collectionId);

signals:
    void roll(Direction dir);
    void searchForPhrase(QString phrase);
    // Once the field is used for a collection (it takes the focus, or a key
    // comes first): the field completes each text from the suggestions that
    // start with it, and the whole list may be read meanwhile and offered.
    void searchStarted(QUuid collection);
    // The whole list is needed at once (for texts that differ only in case,
    // or every row of a text), before the field reads it itself: a
    // receiver connected directly may offer it.
    void suggestionsWanted(QUuid collection);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void rollForwardButtonClicked();
    void rollBackwardButtonClicked();
    void searchPhraseReturnPressed();

private:
    // Places glass, field and buttons for the bar's size; the field's
    // backdrop follows it.
    void recalculateLayout();
    // Gives the field its completer over the collection's names and codes,
    // once per collection shown.
    void completeFromSuggestions();

    QImage m_backgroundImage;
    QImage m_magnifyingGlass;
    QRect m_glassRect;
    QLineEdit *m_textField = nullptr;
    RollButton *m_backwardButton = nullptr;
    RollButton *m_forwardButton = nullptr;
    QUuid m_suggestionsCollection;
};

} // namespace Velmar

#endif // VELMAR_SEARCHWIDGET_H
