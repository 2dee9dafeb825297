// Opens a document or an address with what the system registers for its kind, as a
// double click in the file manager would. False when the system found nothing to open it
// with (or no such document); true says only that a program was started, not that it
// showed the document.
#pragma once

#include <QString>

namespace vask {

bool openWithShell(const QString& document);

}  // namespace vask
