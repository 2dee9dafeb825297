#include "gui/busy_cursor.h"

#include <QApplication>

namespace vask {

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace vask
