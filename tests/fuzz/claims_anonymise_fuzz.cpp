// Claims anonymisation (Conv) on arbitrary file contents: the checks of claims_fuzz.h,
// with the SJ and CO records the lines that are dropped.
#include <cstddef>
#include <cstdint>

#include "claims/anonymise.h"
#include "claims_fuzz.h"

using namespace vask;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::checkClaimsRun(fuzz::bytesOf(data, size), claims::Conv, [](std::u16string_view line) {
        const claims::RecordKind kind = claims::recordKind(line);
        return kind == claims::RecordKind::SymptomDetails || kind == claims::RecordKind::Comment;
    });
    return 0;
}
