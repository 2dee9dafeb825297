#include "claims/claims_record.h"

#include "claims/record_layout.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "platform/errors.h"

namespace vask::claims {
namespace {

constexpr bool isIdentifierUnit(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'); }

constexpr std::uint32_t idOf(std::u16string_view letters) { return (std::uint32_t{letters[0]} << 16) | letters[1]; }

}  // namespace

std::u16string RecordId::text() const {
    if (value == 0) return {};
    return {static_cast<char16_t>(value >> 16), static_cast<char16_t>(value & 0xFFFF)};
}

RecordId recordId(std::u16string_view line) {
    std::uint32_t value = 0;
    size_t length = 0;
    for (char16_t c : line) {
        if (c == u',') break;
        if (c == u'"') continue;
        if (length == 2 || !isIdentifierUnit(c)) return {};
        value = (value << 16) | c;
        ++length;
    }
    return length == 2 ? RecordId{value} : RecordId{};
}

bool inMedicalLayout(RecordId id) { return id.value != 0 && isLayoutRecord(id.text()); }

// The records the tools act on, all of them records of the layout (record_layout.h).
RecordKind recordKind(RecordId id) {
    switch (id.value) {
        case idOf(u"IR"):
            return RecordKind::Clinic;
        case idOf(u"RE"):
            return RecordKind::Claim;
        case idOf(u"HO"):
            return RecordKind::Insurer;
        case idOf(u"KO"):
            return RecordKind::PublicExpense;
        case idOf(u"SN"):
            return RecordKind::Qualification;
        case idOf(u"SJ"):
            return RecordKind::SymptomDetails;
        case idOf(u"CO"):
            return RecordKind::Comment;
        default:
            return RecordKind::Other;
    }
}

void Record::split(std::u16string_view line) { splitCommaFields(line, fields_); }

std::u16string& Record::at(size_t position) {
    if (!has(position)) throwListIndex(static_cast<long long>(position));
    return fields_[position];
}

void Record::appendJoined(std::u16string& out) const { appendCommaText(fields_, out); }

void Record::appendJoinedByCommas(std::u16string& out) const {
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (i > 0) out.push_back(u',');
        out += fields_[i];
    }
}

}  // namespace vask::claims
