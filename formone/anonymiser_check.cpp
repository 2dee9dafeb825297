#include "formone/anonymiser_check.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/identifier_search.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"

namespace vask::formone {
namespace {

constexpr size_t kNameField = 1;

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
    search.prepare();

    AnonymisationReport report;
    report.fileKind = AnonymisationReport::FileKind::FormOne;
    while (out.next(line)) {
        const size_t number = ++lines.anonymised;
        if (number == 1) continue;
        splitTabs(line, fields);
        if (fields.size() > kNameField && !fields[kNameField].empty()) {
            report.addFinding({Finding::What::NameFieldFilled, IdentifierKind::PatientName, u"", number});
        }
        reportSurvivors(search.find(line, u'\t'), u"", number, report);
    }
    report.counts.push_back(lines);
    report.kinds = search.tallies();
    return report;
}

}  // namespace vask::formone
