// Opens a document or an address with what the system registers for its kind, as a
// double click in the file manager would. Its answer is not examined: the program goes
// on whether or not a viewer came up.
#pragma once

#include <QString>

namespace vask {

void openWithShell(const QString& document);

}  // namespace vask
