#ifndef VELMAR_MAINWIDGET_H
#define VELMAR_MAINWIDGET_H

#include "database/ColorMatchEntry.h"

#include <QHash>
#include <QList>
#include <QSize>
#include <QUuid>
#include <QVector>
#include <QWidget>

namespace Velmar {

class TaskButton;

// The fixed 800 by 600 widget that fills the picker dialog: it owns every
// view, the row of task buttons and the colour table of the current
// collection that nearest-colour matching searches.
class MainWidget : public QWidget
{
    Q_OBJECT

public:
    static const QSize s_fixedSize;

    // Writes itself into instance before any child exists, so that children
    // built here already find it through Global::g_mainWidget.
    MainWidget(MainWidget *&instance, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    void prepareForCollection(const QUuid &collection);

    // L, a, b and row id of every chip of the current collection.
    const QVector<ColorMatchEntry> &matchTable() const { return m_matchTable; }

    // The task row. Ids: 1 save palette, 2 load palette, 3 help, 4 about,
    // 1000 and up for buttons of the picker dialog. The id goes right after
    // afterId when that is registered, else at the end.
    unsigned short registerTaskButton(unsigned short id, short afterId);
    // The next free id from 1000 up.
    unsigned short registerTaskButton(short afterId);
    unsigned short registerAboutTaskButton();
    // Never null: an id that is not registered gives a hidden button.
    TaskButton *taskButton(unsigned short id) const;
    QList<unsigned short> taskButtonOrder() const { return m_taskButtonOrder; }

private:
    QVector<ColorMatchEntry> m_matchTable;
    TaskButton *m_fallbackButton = nullptr;
    QHash<unsigned short, TaskButton *> m_taskButtons;
    QList<unsigned short> m_taskButtonOrder;
};

} // namespace Velmar

#endif // VELMAR_MAINWIDGET_H
