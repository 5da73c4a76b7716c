#include "base/mouse_pointer.h"

#include <QApplication>
#include <QCursor>

int MousePointer() {
    const QCursor* c = QApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor ? kPointerBusy : kPointerDefault;
}

void SetMousePointer(int pointer) {
    const bool busy = MousePointer() == kPointerBusy;
    if (pointer == kPointerBusy && !busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (pointer != kPointerBusy) {
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    }
}
