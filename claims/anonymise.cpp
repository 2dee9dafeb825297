#include "claims/anonymise.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "claims/claims_record.h"
#include "claims/record_layout.h"
#include "core/byte_fields.h"
#include "core/messages.h"
#include "core/strconv.h"
#include "core/text.h"
#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask::claims {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The dummy values as the file holds them.
struct DummyBytes {
    std::string clinicCode = cp932::encode(dummy::kClinicCode);
    std::string clinicName = cp932::encode(dummy::kClinicName);
    std::string telephone = cp932::encode(dummy::kTelephone);
    std::string insurerNumber = cp932::encode(dummy::kInsurerNumber);
    std::string cardNumber = cp932::encode(dummy::kCardNumber);
    std::string branchNumber = cp932::encode(dummy::kBranchNumber);
    std::string payerNumber = cp932::encode(dummy::kPayerNumber);
    std::string recipientNumber = cp932::encode(dummy::kRecipientNumber);
};
const DummyBytes& dummies() {
    static const DummyBytes bytes;
    return bytes;
}

// The written profile: the clinic's identity, the patients' names and the insurance and
// public-expense numbers become dummies; SJ and CO records are dropped.
class WrittenReplacements {
public:
    // Fields are reached in this order, so a short record names the first missing one.
    void clinic(Record& record) {
        if (kindOfExaminingBody(record.at(1)) == ClaimsKind::National) kind_ = ClaimsKind::National;
        month_ = cp932::decode(trimmedBytes(record.at(7)));
        record.set(4, dummies().clinicCode);
        record.set(6, dummies().clinicName);
        record.set(9, dummies().telephone);
    }

    // The patient name becomes テスト + 社/国 + the claim number in full-width digits.
    void claim(Record& record) {
        std::u16string name(dummy::kPatientNamePrefix);
        name.push_back(kind_ == ClaimsKind::National ? u'国' : u'社');
        name += StrConv(cp932::decode(record.at(1)), conversionSet(TConversion::Wide));
        record.at(4);  // the name's field is reached before the name is made
        name_.clear();
        cp932::encodeAppend(name, name_);
        record.set(4, name_);
        constexpr size_t kKanaName = 36;
        if (record.has(kKanaName)) record.set(kKanaName, {});
    }

    static void insurer(Record& record) {
        record.set(1, dummies().insurerNumber);
        record.set(2, {});
        record.set(3, dummies().cardNumber);
    }

    static void publicExpense(Record& record) {
        record.set(1, dummies().payerNumber);
        record.set(2, dummies().recipientNumber);
    }

    // SN: 3 insurer number, 4 card symbol, 5 card number, 6 branch number, 7 recipient
    // number. A short record is no error: only the fields present are replaced.
    static void qualification(Record& record) {
        replaceFilled(record, 3, dummies().insurerNumber);
        if (record.has(4)) record.set(4, {});
        replaceFilled(record, 5, dummies().cardNumber);
        replaceFilled(record, 6, dummies().branchNumber);
        replaceFilled(record, 7, dummies().recipientNumber);
    }

    // The replacements of a record of `kind` (IR, RE, HO, KO or SN).
    void apply(RecordKind kind, Record& record) {
        switch (kind) {
            case RecordKind::Clinic:
                return clinic(record);
            case RecordKind::Claim:
                return claim(record);
            case RecordKind::Insurer:
                return insurer(record);
            case RecordKind::PublicExpense:
                return publicExpense(record);
            default:
                return qualification(record);
        }
    }

    ClaimsKind kind() const { return kind_; }
    const std::u16string& month() const { return month_; }

private:
    static void replaceFilled(Record& record, size_t position, std::string_view value) {
        if (record.has(position) && !trimmedBytes(record.at(position)).empty()) record.set(position, value);
    }

    ClaimsKind kind_ = ClaimsKind::Employee;
    std::u16string month_;
    std::string name_;
};

// The pseudonymisation profile's changes of one record, by what the record layout says its
// fields hold: chart numbers become pseudonyms, birth and admission dates keep their year
// and month, search numbers and free text are emptied. Raises Error for a date of no
// known form.
class Pseudonymisation {
public:
    explicit Pseudonymisation(ChartPseudonyms& pseudonyms) : pseudonyms_(pseudonyms) {}

    // Whether a field changed.
    bool apply(const RecordLayout& layout, Record& record, size_t line) {
        bool changed = false;
        const size_t count = std::min(record.size(), layout.fields.size());
        for (std::uint64_t fields = layout.identifyingMask; fields != 0; fields &= fields - 1) {
            const auto i = static_cast<size_t>(std::countr_zero(fields));
            if (i >= count) break;
            const std::string_view value = record.at(i);
            if (value.empty()) continue;
            const FieldLayout& field = layout.fields[i];
            switch (field.identifies) {
                case Identifies::ChartNumber:
                    value_.clear();
                    cp932::encodeAppend(pseudonyms_.pseudonymOf(cp932::decode(value)), value_);
                    break;
                case Identifies::BirthDate:
                case Identifies::AdmissionDate:
                    if (!yearAndMonth(value)) throw Error(msg::dateNotPseudonymisable(layout.id, field.name, line));
                    break;
                case Identifies::SearchNumber:
                case Identifies::FreeText:
                case Identifies::DiseaseName:
                case Identifies::SymptomDetails:
                    value_.clear();
                    break;
                default:
                    continue;  // the written replacements have handled the rest
            }
            changed = changed || value_ != value;
            record.set(i, value_);
        }
        return changed;
    }

private:
    // YYYYMMDD or GYYMMDD with the day 01, into value_; false for any other date.
    bool yearAndMonth(std::string_view date) {
        if ((date.size() != 8 && date.size() != 7) || !std::all_of(date.begin(), date.end(), isDigit)) return false;
        value_.assign(date.substr(0, date.size() - 2));
        value_ += "01";
        return true;
    }

    ChartPseudonyms& pseudonyms_;
    std::string value_;
};

class Anonymiser : public RecordEditor {
public:
    explicit Anonymiser(ChartPseudonyms* pseudonyms) {
        if (pseudonyms != nullptr) pseudonymisation_.emplace(*pseudonyms);
    }

    std::optional<std::string_view> edit(std::string_view line) override {
        ++line_;
        const RecordId id = recordId(line);
        const RecordKind kind = recordKind(id);
        if (kind == RecordKind::SymptomDetails || kind == RecordKind::Comment) return std::nullopt;
        if (pseudonymisation_) return pseudonymised(line, id, kind);
        if (kind == RecordKind::Other) return line;
        record_.split(line);
        written_.apply(kind, record_);
        return joined(kind);
    }

    std::u16string outputName() const override {
        return written_.month() + (written_.kind() == ClaimsKind::National ? u"_2" : u"_1") + u".UKE";
    }
    ClaimsKind kind() const override { return written_.kind(); }

private:
    // The record rebuilt by the comma-text join; no field of a claim record is ever
    // enclosed in quotes in the output: the split left no quote in a field and no value
    // set holds one, so the join by commas alone is the join with its quotes removed.
    std::string_view joined(RecordKind kind) {
        out_.clear();
        if (kind == RecordKind::Claim) {
            record_.appendJoinedByCommas(out_);
        } else {
            record_.appendJoined(out_);
        }
        return out_;
    }

    // The pseudonymisation profile passes only records whose every field the record layout
    // knows: a record of another layout (workers' compensation, dental), one the layout
    // does not describe, a line without an identifier (other than a blank one) or a
    // record with more fields than its layout stops the run.
    std::optional<std::string_view> pseudonymised(std::string_view line, RecordId id, RecordKind kind) {
        if (id.value == 0 && trimmedBytes(line).empty()) return line;
        if (kind == RecordKind::Clinic) {
            record_.split(line);
            if (record_.has(7)) {
                revision_ = revisionOfBillingMonth(cp932::decode(trimmedBytes(record_.at(7))))
                                .value_or(LayoutRevision::Western);
            }
        }
        const auto refuse = [&] {
            throw Error(msg::recordNotPseudonymisable(id.value == 0 ? u"識別情報のない" : id.text(), line_));
        };
        const RecordLayout* layout =
            id.value == 0 ? nullptr
                          : findRecordLayout(revision_, static_cast<char>(id.value >> 16), static_cast<char>(id.value));
        if (layout == nullptr || !layout->fieldsKnown()) refuse();
        if (!layout->described()) return line;  // codes and amounts only
        // Quotes are no separators: the fields and which are filled are those of the split,
        // but for a field of quotes alone, which takes the slow way and stays as it is.
        const FieldsFilled shape = fieldsFilled(line, ',', kind == RecordKind::Other ? layout->identifyingMask : 0);
        if (shape.count > layout->fields.size()) refuse();
        // A record the written profile leaves as read, none of whose fields identifies.
        if (kind == RecordKind::Other && shape.filled == 0) return line;
        if (kind != RecordKind::Clinic) record_.split(line);
        if (kind != RecordKind::Other) written_.apply(kind, record_);
        const bool changed = pseudonymisation_->apply(*layout, record_, line_);
        if (kind != RecordKind::Other) return joined(kind);
        if (!changed) return line;
        // A record the written profile leaves as read: its fields joined again as the
        // format has them, by commas alone.
        out_.clear();
        record_.appendJoinedByCommas(out_);
        return out_;
    }

    WrittenReplacements written_;
    std::optional<Pseudonymisation> pseudonymisation_;
    LayoutRevision revision_ = LayoutRevision::Western;
    size_t line_ = 0;
    Record record_;
    std::string out_;
};

}  // namespace

ClaimsResult Conv(const std::filesystem::path& programFolder, std::u16string_view pstFile, ChartPseudonyms* pseudonyms,
                  RewriteObserver* observer) {
    const std::filesystem::path input = toPath(pstFile);
    if (!fileExists(input)) return ClaimsResult::refused(std::u16string(msg::kNoFile));
    Anonymiser anonymiser(pseudonyms);
    return rewriteClaimsFile(programFolder, input, anonymiser, anonymiser.outputName(), msg::kClaimsAnonymised,
                             observer);
}

}  // namespace vask::claims
