// A claims file as the claims tools see it: its kind (社保 or 国保), the streaming run
// that rewrites it record by record into the program folder, and what a run reports.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/outcome.h"

namespace vask::claims {

// Employee insurance (社保, IR field 1 = "1") or national health insurance (国保, "2").
enum class ClaimsKind { Employee, National };

// The kind an IR record's field 1 names: "2" (trimmed) is national, anything else employee.
ClaimsKind kindOfExaminingBody(std::string_view field1);

// The selection check of a chosen file: the 4th character of its first line ("1" for an
// employee-insurance file, "2" for a national one), or nothing when the line is shorter.
// The first line is read as the line-list loader reads it (a byte-order mark selects
// UTF-8 or UTF-16). Raises Error when the file cannot be read, or when, without a mark,
// its first line is no Shift-JIS text.
std::optional<char16_t> fileKindMark(const std::filesystem::path& file);

// What one run of a claims tool reports.
struct ClaimsResult {
    Outcome outcome;                         // a refusal, or the written file and message
    ClaimsKind kind = ClaimsKind::Employee;  // the kind at the end of the run
    std::u16string fileName;                 // bare name of the written file

    static ClaimsResult refused(std::u16string warning) {
        return {Outcome::refused(std::move(warning)), ClaimsKind::Employee, {}};
    }
};

// The rewriting of one file's records. `edit` gets every line in file order, as its code
// page 932 bytes (valid Shift-JIS text), and returns the bytes to write for it, or nothing
// to drop the line; the returned view must stay valid until the next call. The bytes are
// whole characters of the line and text encoded from UTF-16, so that they come back from
// the round trip unchanged whenever the line's characters do. After the last
// line, `outputName` names the file and `kind` tells which stored name it fills.
class RecordEditor {
public:
    virtual ~RecordEditor() = default;
    virtual std::optional<std::string_view> edit(std::string_view line) = 0;
    virtual std::u16string outputName() const = 0;
    virtual ClaimsKind kind() const = 0;
};

// Sees, while a rewriting runs, every line it reads (its code page 932 bytes) and what it
// writes for it (nothing for a dropped line), in file order: for a check of the written
// file that needs to know its input without reading it again.
class RewriteObserver {
public:
    virtual ~RewriteObserver() = default;
    virtual void rewrote(std::string_view read, std::optional<std::string_view> written) = 0;
};

// A claims tool run on one file; `observer` (when not null) watches the run's lines.
using ClaimsTool = std::function<ClaimsResult(std::u16string_view file, RewriteObserver* observer)>;

// Streams the claims file `input` (the text-file line reader: code page 932, CR or LF,
// up to the byte 0x1A) through `editor` into a new file in `programFolder` (code page 932,
// CR LF after every line, each line the bytes the decode-encode round trip gives), which
// replaces the file of the output name only when the whole input was read. On any error nothing is written and an older
// output stays. A file that is no Shift-JIS text (a NUL byte before 0x1A, or a byte-order mark) raises Error, and so
// does an output that would replace `input`. `provisionalName` is the name the output has
// before any record named it.
// With `observer`, every line read and written is shown to it.
ClaimsResult rewriteClaimsFile(const std::filesystem::path& programFolder, const std::filesystem::path& input,
                               RecordEditor& editor, std::u16string_view provisionalName, std::u16string_view message,
                               RewriteObserver* observer = nullptr);

}  // namespace vask::claims
