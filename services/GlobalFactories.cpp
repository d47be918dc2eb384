// The widget factories of Global: they live in the widget library, because
// the core library must not depend on widgets.

#include "services/Global.h"

#include "plugin/AboutBox.h"
#include "plugin/MainWidget.h"

namespace Velmar {

AboutBox *Global::aboutBox(QWidget *parent, const QString &engine)
{
    Q_UNUSED(engine)
    return new AboutBox(parent, QString());
}

MainWidget *Global::createMainWidget(QWidget *parent, QWidget *hostWindow)
{
    // The constructor writes itself into g_mainWidget before its children.
    auto *widget = new MainWidget(g_mainWidget, parent);
    g_mainWidget = widget;
    g_hostWindowWidget = hostWindow;
    // A later call or a view built on its own must not reach a dead widget.
    QObject::connect(widget, &QObject::destroyed, [widget] {
        if (g_mainWidget == widget)
            g_mainWidget = nullptr;
    });
    if (hostWindow) {
        QObject::connect(hostWindow, &QObject::destroyed, [hostWindow] {
            if (g_hostWindowWidget == hostWindow)
                g_hostWindowWidget = nullptr;
        });
    }
    return widget;
}

} // namespace Velmar
