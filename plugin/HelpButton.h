#ifndef VELMAR_HELPBUTTON_H
#define VELMAR_HELPBUTTON_H

#include "plugin/TaskButton.h"

namespace Velmar {

// The round "?" button of the task row.
class HelpButton : public TaskButton
{
    Q_OBJECT

public:
    explicit HelpButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace Velmar

#endif // VELMAR_HELPBUTTON_H
