// The EHR link layout that both the second converter (formone/) and the FF1 link (ff1/)
// write: one row of 89 columns, numbered [0] to [88] in the header line.
#pragma once

#include <cstddef>

namespace vask {

// The number of columns of every row of the EHR link layout.
inline constexpr std::size_t kEhrColumnCount = 89;

}  // namespace vask
