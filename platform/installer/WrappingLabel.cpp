#include "WrappingLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOption>
#include <QTextLayout>

#include <cmath>

namespace {

// Line feeds become line separators, which the layout always breaks at.
QString layoutText(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return result;
}

// Lays layout out in lines of width pixels, one under the other; its height.
qreal layOut(QTextLayout &layout, qreal width)
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(qMax<qreal>(width, 1));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

} // namespace

WrappingLabel::WrappingLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QStringList WrappingLabel::wrappedLines(const QString &text, const QFont &font, int width)
{
    QTextLayout layout(layoutText(text), font);
    layOut(layout, width);
    QStringList lines;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        QString part = layout.text().mid(line.textStart(), line.textLength());
        while (part.endsWith(QChar::LineSeparator) || part.endsWith(QLatin1Char(' ')))
            part.chop(1);
        lines.append(part);
    }
    return lines;
}

QSize WrappingLabel::overhead() const
{
    return size() - contentsRect().size() + QSize(2 * margin(), 2 * margin());
}

int WrappingLabel::naturalWidth() const
{
    QTextLayout layout(layoutText(text()), font());
    layOut(layout, 1e6);
    qreal widest = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        widest = qMax(widest, layout.lineAt(i).naturalTextWidth());
    return int(std::ceil(widest));
}

QSize WrappingLabel::sizeHint() const
{
    const int width =
        qMin(naturalWidth(), fontMetrics().averageCharWidth() * PreferredCharacters) + overhead().width();
    return QSize(width, heightForWidth(width));
}

QSize WrappingLabel::minimumSizeHint() const
{
    // One line high: where the layout has the room, it gives the height
    // for the width instead.
    const int width = qMin(naturalWidth(), fontMetrics().averageCharWidth() * MinimumCharacters);
    return QSize(width, fontMetrics().height()) + overhead();
}

bool WrappingLabel::hasHeightForWidth() const
{
    return true;
}

int WrappingLabel::heightForWidth(int width) const
{
    const QSize extra = overhead();
    QTextLayout layout(layoutText(text()), font());
    return int(std::ceil(layOut(layout, width - extra.width()))) + extra.height();
}

void WrappingLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    QTextLayout layout(layoutText(text()), font());
    layOut(layout, area.width());
    if (layout.lineCount() == 0)
        return;

    QStyleOption option;
    option.initFrom(this);
    painter.setPen(option.palette.color(foregroundRole()));
    // The lines that fit whole; at least the first.
    int shown = 1;
    while (shown < layout.lineCount() && layout.lineAt(shown).rect().bottom() <= area.height())
        ++shown;
    for (int i = 0; i + 1 < shown; ++i)
        layout.lineAt(i).draw(&painter, area.topLeft());
    const QTextLine last = layout.lineAt(shown - 1);
    if (shown == layout.lineCount()) {
        last.draw(&painter, area.topLeft());
        return;
    }
    // What does not fit is cut short on the last line shown.
    QString rest = layout.text().mid(last.textStart());
    rest.replace(QChar::LineSeparator, QLatin1Char(' '));
    const QFontMetrics metrics(font());
    painter.drawText(QPointF(area.left(), area.top() + last.y() + last.ascent()),
                     metrics.elidedText(rest, Qt::ElideRight, area.width()));
}
