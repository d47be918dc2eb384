#ifndef VELMAR_DIZEVIZSELECTDIALOG_H
#define VELMAR_DIZEVIZSELECTDIALOG_H

#include "database/ColorEntry.h"

#include <QDialog>
#include <QHash>
#include <QRect>
#include <QUuid>
#include <QVector>

class QComboBox;
class QLabel;

namespace Velmar {

class TaskButton;

// Offers the chips found for a measurement file: a combo box of their codes
// (with the collection's name when several collections are offered), a
// swatch of the chosen one and an OK button.
class DizevizSelectDialog : public QDialog
{
    Q_OBJECT

public:
    static const QSize s_fixedSize;

    // Where the children go in a dialog of the given size, with the font's
    // line height and the combo box's preferred height.
    struct Layout {
        QRect background;
        QRect comboBox;
        QRect okButton;
        QRect swatch;
        QRect captionLabel;
    };
    static Layout layoutFor(const QSize &dialog, int fontHeight, int comboBoxHeight);

    DizevizSelectDialog(const QVector<DB::ColorEntry> &entries, QWidget *parent = nullptr);

    DB::ColorEntry selectedEntry() const { return m_selectedEntry; }
    bool offersSeveralCollections() const { return m_severalCollections; }
    QComboBox *comboBox() const { return m_comboBox; }
    QWidget *swatch() const { return m_swatch; }
    TaskButton *okButton() const { return m_okButton; }
    QLabel *captionLabel() const { return m_captionLabel; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void itemSelectionChanged(int itemIndex);
    void okBtnClicked();

private:
    void fitItemTexts();

    bool m_severalCollections = false;
    QVector<DB::ColorEntry> m_entries;
    DB::ColorEntry m_selectedEntry;
    QWidget *m_background = nullptr;
    QLabel *m_captionLabel = nullptr;
    QComboBox *m_comboBox = nullptr;
    QWidget *m_swatch = nullptr;
    TaskButton *m_okButton = nullptr;
    // The names of the offered entries' collections, as the items show them.
    QHash<QUuid, QString> m_collectionNames;
};

} // namespace Velmar

#endif // VELMAR_DIZEVIZSELECTDIALOG_H
