#ifndef VELMAR_ABOUTBUTTON_H
#define VELMAR_ABOUTBUTTON_H

#include "plugin/TaskButton.h"

namespace Velmar {

// The round ellipsis button of the task row.
class AboutButton : public TaskButton
{
    Q_OBJECT

public:
    explicit AboutButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace Velmar

#endif // VELMAR_ABOUTBUTTON_H
