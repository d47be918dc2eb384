#ifndef VELMAR_SEARCHWIDGET_H
#define VELMAR_SEARCHWIDGET_H

#include "inc/VelmarTypes.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QUuid>
#include <QWidget>

class QLineEdit;

namespace Velmar {

class RollButton;

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

    // Whether the field still has to get the collection's suggestions.
    bool awaitsSuggestions(const QUuid &collection) const;
    // Suggestions read elsewhere (the main widget reads them ahead): the
    // field's completer is built from them at once, unless the field does
    // not await that collection's suggestions.
    void offerSuggestions(const QUuid &collection, const QStringList &suggestions);

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
    // On the first key typed for a collection, before the field reads its
    // suggestions itself: a receiver connected directly may offer them.
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
    void installCompleter(const QStringList &suggestions);

    QImage m_backgroundImage;
    QImage m_magnifyingGlass;
    QRect m_glassRect;
    QLineEdit *m_textField = nullptr;
    RollButton *m_backwardButton = nullptr;
    RollButton *m_forwardButton = nullptr;
    QUuid m_suggestionsCollection;
    bool m_suggestionsPending = false;
};

} // namespace Velmar

#endif // VELMAR_SEARCHWIDGET_H
