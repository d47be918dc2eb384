// Draws the application icons shipped in resources/:
//   make-icons <folder>
// writes icon_16.png, icon_32.png, icon_48.png and icon_64.png there.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <algorithm>

namespace {

// A fan of three colour cards held at one corner, the picker's own motif.
QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QColor cards[3] = {QColor(214, 69, 65), QColor(240, 180, 41), QColor(46, 134, 171)};
    const double angles[3] = {-32.0, -8.0, 16.0};
    const QPointF pivot(s * 0.30, s * 0.88);
    for (int i = 0; i < 3; ++i) {
        painter.save();
        painter.translate(pivot);
        painter.rotate(angles[i]);
        const QRectF card(-s * 0.13, -s * 0.80, s * 0.30, s * 0.86);
        QPainterPath path;
        path.addRoundedRect(card, s * 0.05, s * 0.05);
        painter.setPen(QPen(QColor(40, 40, 40), std::max(1.0, s / 32.0)));
        painter.setBrush(cards[i]);
        painter.drawPath(path);
        // A light band near the top of each card, like a chip's label.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 150));
        painter.drawRect(QRectF(card.left() + s * 0.04, card.top() + s * 0.08, card.width() - s * 0.08, s * 0.08));
        painter.restore();
    }
    // The rivet that holds the fan.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 40));
    painter.drawEllipse(pivot, s * 0.06, s * 0.06);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    // No argument is an option: "--help" is never taken for a folder. Read
    // before the application object, which takes Qt's own options away.
    const bool option = std::any_of(argv + 1, argv + argc, [](const char *argument) { return argument[0] == '-'; });
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    QTextStream err(stderr);
    if (option || arguments.size() != 2) {
        err << "usage: make-icons <folder>" << Qt::endl;
        return 2;
    }
    const QDir folder(arguments.at(1));
    for (int size : {16, 32, 48, 64}) {
        const QString path = folder.filePath(QStringLiteral("icon_%1.png").arg(size));
        if (!drawIcon(size).save(path, "PNG")) {
            err << "make-icons: cannot write " << path << Qt::endl;
            return 1;
        }
    }
    return 0;
}
