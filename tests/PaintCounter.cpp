#include "PaintCounter.h"

#include <QEvent>

PaintCounter::PaintCounter(QObject *watched)
    : m_watched(watched)
{
    watched->installEventFilter(this);
}

PaintCounter::~PaintCounter()
{
    if (m_watched)
        m_watched->removeEventFilter(this);
}

bool PaintCounter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++count;
    return QObject::eventFilter(watched, event);
}
