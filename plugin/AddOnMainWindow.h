#ifndef VELMAR_ADDONMAINWINDOW_H
#define VELMAR_ADDONMAINWINDOW_H

#include <QColor>
#include <QDialog>
#include <QString>
#include <QUuid>

class QFileDialog;
class QMessageBox;

namespace Velmar {
class MainWidget;
class SwatchFile;
}

// The picker dialog of a pick call. It holds the main widget, adds the
// select-colour and create-swatch buttons to its task row, moves the roller
// to the chip nearest to the host's colour once it shows, and ends accepted
// with the one colour selected in My palette, or rejected. It also writes
// the colours of My palette into a swatch file for the host.
class AddOnMainWindow : public QDialog
{
    Q_OBJECT

public:
    // color is the host's colour (invalid or transparent when there is none
    // to match); swatchFolder is where the swatch file dialog starts.
    AddOnMainWindow(const QColor &color, const QString &swatchFolder, QWidget *parent = nullptr);

    // The colour for the host once the dialog was accepted; invalid before.
    QColor resultColor() const { return m_resultColor; }
    QColor initialColor() const { return m_initialColor; }
    bool picked() const { return m_picked; }
    QString swatchFolder() const { return m_swatchFolder; }

    Velmar::MainWidget *mainWidget() const { return m_mainWidget; }
    unsigned short selectButtonId() const { return m_selectButtonId; }
    unsigned short swatchButtonId() const { return m_swatchButtonId; }
    // Null until the first swatch request, then kept.
    QFileDialog *swatchFileDialog() const { return m_swatchFileDialog; }
    // Null until the first swatch file was written, then kept.
    QMessageBox *swatchAlert() const { return m_swatchAlert; }

    // The file name offered for a palette note: the note without path
    // separators, leading dots and surrounding blanks, or "Swatch" when
    // nothing is left, followed by ".aco".
    static QString proposedSwatchFileName(const QString &note);

    // Re-labels the buttons and the window for the collection.
    void prepareForCollection(const QUuid &collection);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void collectionChanged(QUuid collection);
    void selectColor();
    void createSwatch();
    void showTimerExhausted();
    void onMyPaletteChanged();
    void onSwatchDialogFinished(int button);

private:
    // The colours of My palette, row by row, each under its chip's tool tip.
    Velmar::SwatchFile collectSwatches() const;

    Velmar::MainWidget *m_mainWidget = nullptr;
    unsigned short m_selectButtonId = 0;
    unsigned short m_swatchButtonId = 0;
    QColor m_initialColor;
    bool m_picked = false;
    QColor m_resultColor;
    QFileDialog *m_swatchFileDialog = nullptr;
    QMessageBox *m_swatchAlert = nullptr;
    QString m_swatchFolder;
};

#endif // VELMAR_ADDONMAINWINDOW_H
