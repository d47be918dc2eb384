#include "plugin/MainWidget.h"

#include "database/DBManager.h"
#include "plugin/AboutButton.h"
#include "plugin/HelpButton.h"
#include "plugin/TaskButton.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <algorithm>

namespace Velmar {

const QSize MainWidget::s_fixedSize(800, 600);

MainWidget::MainWidget(MainWidget *&instance, QWidget *parent)
    : QWidget(parent)
{
    instance = this;
    setObjectName(QStringLiteral("MainWidget"));
    setAttribute(Qt::WA_MouseTracking);
    setFixedSize(s_fixedSize);
    setFocusPolicy(Qt::StrongFocus);
    setFont(Theme::normalFont(Theme::FontSizeNormal));

    m_fallbackButton = new TaskButton(this);
    m_fallbackButton->hide();
    registerTaskButton(1, -1);
    registerTaskButton(2, -1);
    registerTaskButton(3, -1);

    prepareForCollection(Settings::uuidOfLastUsedCollection());
}

QSize MainWidget::sizeHint() const
{
    return s_fixedSize;
}

QSize MainWidget::minimumSizeHint() const
{
    return s_fixedSize;
}

void MainWidget::prepareForCollection(const QUuid &collection)
{
    m_matchTable.clear();
    DBManager::GetAllColorMatchEntryFor(collection, m_matchTable);
}

unsigned short MainWidget::registerTaskButton(unsigned short id, short afterId)
{
    // A second registration keeps the button the first one made.
    if (m_taskButtons.contains(id))
        return id;
    TaskButton *button = id == 3 ? new HelpButton(this) : id == 4 ? new AboutButton(this) : new TaskButton(this);
    m_taskButtons.insert(id, button);
    const int after = afterId >= 1 ? m_taskButtonOrder.indexOf(static_cast<unsigned short>(afterId)) : -1;
    if (after >= 0)
        m_taskButtonOrder.insert(after + 1, id);
    else
        m_taskButtonOrder.append(id);
    return id;
}

unsigned short MainWidget::registerTaskButton(short afterId)
{
    unsigned short largest = 0;
    for (auto it = m_taskButtons.cbegin(); it != m_taskButtons.cend(); ++it)
        largest = std::max(largest, it.key());
    const unsigned short id = largest < 1000 ? 1000 : static_cast<unsigned short>(largest + 1);
    return registerTaskButton(id, afterId);
}

unsigned short MainWidget::registerAboutTaskButton()
{
    return registerTaskButton(4, -1);
}

TaskButton *MainWidget::taskButton(unsigned short id) const
{
    return m_taskButtons.value(id, m_fallbackButton);
}

} // namespace Velmar
