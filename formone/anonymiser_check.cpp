#include "formone/anonymiser_check.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/identifier_search.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/errors.h"

namespace vask::formone {
namespace {

constexpr size_t kNameField = 1;
// What the anonymiser keeps: every field of a record line but the name.
constexpr std::u16string_view kKept[] = {u"カルテ番号", u"郵便番号", u"患者氏名のほかのすべての列"};

}  // namespace

AnonymisationReport checkAnonymisedFormOne(const std::filesystem::path& original,
                                           const std::filesystem::path& anonymised) {
    // Both files open first, so that a missing one is reported before the long read.
    Cp932LineReader in(original, LineRule::AnyBreak, Cp932Input::ShiftJisText);
    Cp932LineReader out(anonymised, LineRule::AnyBreak, Cp932Input::ShiftJisText);
    IdentifierSearch search;
    RecordCount lines;
    std::u16string line;
    std::vector<std::u16string_view> fields;
    while (in.next(line)) {
        if (++lines.original == 1) continue;
        splitTabs(line, fields);
        if (fields.size() > kNameField) search.addName(IdentifierKind::PatientName, fields[kNameField]);
    }
    if (lines.original < 2) throw Error(msg::nothingToCheck(original));
    search.prepare();

    AnonymisationReport report;
    report.fileKind = AnonymisationReport::FileKind::FormOne;
    report.sought = {IdentifierKind::PatientName};
    report.kept = {std::begin(kKept), std::end(kKept)};
    while (out.next(line)) {
        const size_t number = ++lines.anonymised;
        if (number == 1) continue;
        splitTabs(line, fields);
        if (fields.size() > kNameField && !fields[kNameField].empty()) {
            report.addFinding({Finding::What::FieldFilled, IdentifierKind::PatientName, u"", number});
        }
        reportSurvivors(search.find(line, u'\t'), u"", number, report);
    }
    report.counts.push_back(lines);
    report.kinds = search.tallies();
    return report;
}

}  // namespace vask::formone
