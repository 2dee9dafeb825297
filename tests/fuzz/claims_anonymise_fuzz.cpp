// Claims anonymisation (Conv) on arbitrary file contents, by both profiles: the checks of
// claims_fuzz.h, with the SJ and CO records the lines that are dropped. The
// pseudonymisation profile may also refuse the file (an unknown record, a date of no known
// form), which writes nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "claims/anonymise.h"
#include "claims_fuzz.h"
#include "core/pseudonym.h"

using namespace vask;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto dropped = [](std::u16string_view line) {
        const claims::RecordKind kind = claims::recordKind(line);
        return kind == claims::RecordKind::SymptomDetails || kind == claims::RecordKind::Comment;
    };
    fuzz::checkClaimsRun(
        fuzz::bytesOf(data, size),
        [](const std::filesystem::path& out, std::u16string_view file) { return claims::Conv(out, file); }, dropped);
    ChartPseudonyms pseudonyms(std::string(32, 'k'));
    fuzz::checkClaimsRun(
        fuzz::bytesOf(data, size),
        [&](const std::filesystem::path& out, std::u16string_view file) {
            return claims::Conv(out, file, &pseudonyms);
        },
        dropped);
    return 0;
}
