// The check of an anonymised claims file against its original: both files' records
// counted by identifier, and the original's clinic identity, patient names and insurance
// numbers searched for in every field of every record of the anonymised file. Records
// outside the medical claims layout are counted as not checked: what they hold is not
// known, so it is neither replaced by the anonymiser nor searched for.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "claims/claims_file.h"
#include "core/anonymisation_report.h"

namespace vask::claims {

// Whether any line of `file`, read as the claims tools read it, is an IR, RE, HO, KO or SN
// record. This tells a claims file, a fragment of one too, from a form-1 file of
// tab-separated columns. Raises Error when the file cannot be read or is no Shift-JIS text.
bool holdsClaimsRecord(const std::filesystem::path& file);

// The check of an anonymised claims file in two steps, so that the anonymiser can feed it
// the original while it reads it (as the RewriteObserver of its run) and no one reads the
// original twice: `original` takes the original's lines in order, then `check` reads the
// anonymised file as it was committed and reports. See checkAnonymisedClaims for what it
// looks at.
class ClaimsAnonymisationCheck : public RewriteObserver {
public:
    // Where the original's values are collected: on a thread of their own, beside the
    // caller's work on each line (the anonymiser's), or on the thread that feeds the lines,
    // when reading the original is all it does (then a third busy thread, beside the
    // reader's own, would only share the processor with it).
    enum class Collecting { OnItsOwnThread, OnCallersThread };
    explicit ClaimsAnonymisationCheck(AnonymisationProfile profile = AnonymisationProfile::Written,
                                      Collecting collecting = Collecting::OnItsOwnThread);
    ~ClaimsAnonymisationCheck() override;

    // One line of the original (its code page 932 bytes, valid Shift-JIS text).
    void original(std::string_view line);
    void rewrote(std::string_view read, std::optional<std::string_view>) override { original(read); }
    // Raises Error when `anonymised` cannot be read, or when the original (named by
    // `original` in the message) held no record of the medical claims layout.
    AnonymisationReport check(const std::filesystem::path& original, const std::filesystem::path& anonymised);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Reads both files as the anonymiser reads its input (code page 932 Shift-JIS text, lines
// ended by CR or LF, up to the byte 0x1A), in memory bounded by the distinct values of the
// original. Searched for: IR 4 clinic code, 6 clinic name, 9 telephone; RE 4 patient name,
// 36 kana name; HO 1 insurer number, 2 card symbol, 3 card number; KO 1 payer number,
// 2 recipient number; SN 3 insurer number, 4 card symbol, 5 card number, 7 recipient
// number. Values the anonymiser keeps on purpose (birth dates, chart numbers, search
// numbers, free texts) are none of them; the report names them. Raises Error when either
// file cannot be read, or when the original holds no record of the medical claims layout.
// With the pseudonymisation profile, it also checks by position what that profile does
// (see anonymisation_check.cpp); the report names the profile.
AnonymisationReport checkAnonymisedClaims(const std::filesystem::path& original,
                                          const std::filesystem::path& anonymised,
                                          AnonymisationProfile profile = AnonymisationProfile::Written);

}  // namespace vask::claims
