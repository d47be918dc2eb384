#ifndef VELMAR_COLLECTIONSELECTWIDGET_H
#define VELMAR_COLLECTIONSELECTWIDGET_H

#include "database/ColorEntry.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QListWidget>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUuid>
#include <QWidget>

namespace Velmar {

class DropDownButton;
class ImageButton;

// The bar at the top of the picker: the name of the current collection, a
// drop-down list of the installed collections to switch to, and the Dizeviz
// button, shown while the collection's measuring device has left a file.
class CollectionSelectWidget : public QWidget
{
    Q_OBJECT

public:
    static const QSize s_fixedSize;

    // Where the buttons go on a bar of the given size.
    struct ButtonLayout {
        QRect dropDownButton;
        QRect dizevizButton;
    };
    static ButtonLayout buttonLayout(const QSize &bar, const QSize &dropDownButton, const QSize &dizevizButton,
                                     bool dizevizButtonShown);
    // Where the name is centred: the whole bar, or the part left of the
    // drop-down button while that is shown.
    static QRect nameRect(const QSize &bar, bool dropDownButtonShown, int dropDownButtonX);
    // The name as the bar shows it in that width: elided at the right, from
    // a bounded prefix, so that a huge name costs no more than a long one.
    static QString shownName(const QString &name, const QFontMetrics &metrics, int width);
    // The part of a name that eliding it into the width looks at: more
    // characters than a line of that width shows of any ordinary text.
    static QString elisionPrefix(const QString &name, int width);
    // The list's place below the bar, given the bar's place in the list's parent.
    static QRect listRect(const QRect &barInListParent);
    // The text of the list's style sheet, a gradient between the two colours.
    static QString listStyleSheet(const QColor &bottom, const QColor &top);

    explicit CollectionSelectWidget(QWidget *parent = nullptr);
    ~CollectionSelectWidget() override;

    void prepareForCollection(const QUuid &collection);

    bool eventFilter(QObject *watched, QEvent *event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QString collectionName() const { return m_collectionName; }
    QString dizevizFilePath() const { return m_dizevizFilePath; }
    DropDownButton *dropDownButton() const { return m_dropDownButton; }
    ImageButton *dizevizButton() const { return m_dizevizButton; }
    QListWidget *listWidget() const { return m_list.data(); }

public slots:
    void selectedCollectionChanged(QUuid collectionId);
    void dizevizFileChanged(QString fileName);

signals:
    void collectionSelectedInteractively(QUuid collectionId);
    void dizevizItemSelectedInteractively(QUuid collectionId, DB::ColorEntry colorEntry);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void dropDownButtonClicked();
    void dizevizButtonClicked();
    void listWidgetItemActivated(QListWidgetItem *item);

private:
    void recalculateLayout();
    void updateButtonsBackground();
    void placeList();
    void reportPendingCollection();

    QImage m_background;
    QString m_collectionName;
    QColor m_textColor;
    DropDownButton *m_dropDownButton = nullptr;
    ImageButton *m_dizevizButton = nullptr;
    QString m_dizevizFilePath;
    // A child of the main widget (else of this bar's window), so that it can
    // reach below the bar; it may go before the bar does.
    QPointer<QListWidget> m_list;
    QUuid m_pendingCollection;
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONSELECTWIDGET_H
