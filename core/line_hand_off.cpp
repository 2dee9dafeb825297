#include "core/line_hand_off.h"

namespace vask {

LineHandOff::LineHandOff(Work work)
    : work_([work = std::move(work)](Batch& batch) {
          const std::string_view bytes = batch.bytes;
          size_t start = 0;
          for (const auto& [end, tag] : batch.lines) {
              work(bytes.substr(start, end - start), tag);
              start = end;
          }
      }) {}

void LineHandOff::hand() {
    work_.hand(filling_);
    filling_.bytes.clear();
    filling_.lines.clear();
}

void LineHandOff::finish() {
    if (!filling_.lines.empty()) hand();
    work_.finish();
}

}  // namespace vask
