#include "claims/anonymise.h"

#include <algorithm>

#include "claims/claims_record.h"
#include "core/messages.h"
#include "core/strconv.h"
#include "core/text.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask::claims {
namespace {

class Anonymiser : public RecordEditor {
public:
    std::optional<std::u16string_view> edit(const std::u16string& line) override {
        const RecordKind kind = recordKind(line);
        switch (kind) {
            case RecordKind::SymptomDetails:
            case RecordKind::Comment:
                return std::nullopt;
            case RecordKind::Other:
                return std::u16string_view(line);
            default:
                break;
        }
        record_.split(line);
        switch (kind) {
            case RecordKind::Clinic:
                clinic();
                break;
            case RecordKind::Claim:
                claim();
                break;
            case RecordKind::Insurer:
                insurer();
                break;
            case RecordKind::PublicExpense:
                publicExpense();
                break;
            default:
                qualification();
                break;
        }
        out_.clear();
        record_.appendJoined(out_);
        // No field of a claim record is ever enclosed in quotes in the output.
        if (kind == RecordKind::Claim) std::erase(out_, u'"');
        return std::u16string_view(out_);
    }

    std::u16string outputName() const override {
        return month_ + (kind_ == ClaimsKind::National ? u"_2" : u"_1") + u".UKE";
    }
    ClaimsKind kind() const override { return kind_; }

private:
    // Fields are reached in this order, so a short record names the first missing one.
    void clinic() {
        if (kindOfExaminingBody(record_.at(1)) == ClaimsKind::National) kind_ = ClaimsKind::National;
        month_ = trim(record_.at(7));
        record_.set(4, dummy::kClinicCode);
        record_.set(6, dummy::kClinicName);
        record_.set(9, dummy::kTelephone);
    }

    // The patient name becomes テスト + 社/国 + the claim number in full-width digits.
    void claim() {
        const std::u16string number = StrConv(record_.at(1), conversionSet(TConversion::Wide));
        std::u16string& name = record_.at(4);
        name.assign(dummy::kPatientNamePrefix);
        name.push_back(kind_ == ClaimsKind::National ? u'国' : u'社');
        name.append(number);
        constexpr size_t kKanaName = 36;
        if (record_.has(kKanaName)) record_.at(kKanaName).clear();
    }

    void insurer() {
        record_.set(1, dummy::kInsurerNumber);
        record_.set(2, u"");
        record_.set(3, dummy::kCardNumber);
    }

    void publicExpense() {
        record_.set(1, dummy::kPayerNumber);
        record_.set(2, dummy::kRecipientNumber);
    }

    // SN: 3 insurer number, 4 card symbol, 5 card number, 6 branch number, 7 recipient
    // number. A short record is no error: only the fields present are replaced.
    void qualification() {
        replaceFilled(3, dummy::kInsurerNumber);
        if (record_.has(4)) record_.at(4).clear();
        replaceFilled(5, dummy::kCardNumber);
        replaceFilled(6, dummy::kBranchNumber);
        replaceFilled(7, dummy::kRecipientNumber);
    }

    void replaceFilled(size_t position, std::u16string_view value) {
        if (record_.has(position) && !isBlank(record_.at(position))) record_.set(position, value);
    }

    Record record_;
    std::u16string out_;
    ClaimsKind kind_ = ClaimsKind::Employee;
    std::u16string month_;
};

}  // namespace

ClaimsResult Conv(const std::filesystem::path& programFolder, std::u16string_view pstFile,
                  ChartPseudonyms* pseudonyms) {
    const std::filesystem::path input = toPath(pstFile);
    if (!fileExists(input)) return ClaimsResult::refused(std::u16string(msg::kNoFile));
    if (pseudonyms != nullptr) throw Error(u"the pseudonymisation profile of claims files is being built");
    Anonymiser anonymiser;
    return rewriteClaimsFile(programFolder, input, anonymiser, anonymiser.outputName(), msg::kClaimsAnonymised);
}

}  // namespace vask::claims
