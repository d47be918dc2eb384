#ifndef PATHWARDEN_WRAPPINGLABEL_H
#define PATHWARDEN_WRAPPINGLABEL_H

#include <QLabel>
#include <QStringList>

class QFont;

// A label of plain text that wraps at word boundaries and, inside a word
// longer than a line (a long folder name), anywhere: it never asks for
// more width than a short line, and takes the height its lines need. When
// it gets less height than that, its last visible line ends in "…". Text
// is left and top aligned.
class WrappingLabel : public QLabel
{
    Q_OBJECT

public:
    // The width in average characters that the label prefers, and the one
    // below which it does not go.
    static constexpr int PreferredCharacters = 80;
    static constexpr int MinimumCharacters = 12;

    explicit WrappingLabel(QWidget *parent = nullptr);

    // text as it is broken into lines of at most width pixels in font; the
    // line feeds of text always break.
    static QStringList wrappedLines(const QString &text, const QFont &font, int width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Room taken by frame and margins, across and down.
    QSize overhead() const;
    int naturalWidth() const;
};

#endif // PATHWARDEN_WRAPPINGLABEL_H
