#include "ui/hourglass.h"

#include <QApplication>

namespace Hourglass {

void begin()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void end()
{
    QApplication::restoreOverrideCursor();
}

} // namespace Hourglass
