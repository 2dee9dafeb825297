#include "claims/claims_record.h"

#include <algorithm>
#include <bit>
#include <type_traits>

#include "claims/record_layout.h"
#include "core/byte_fields.h"
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

namespace {

// Field 0 up to the first comma, double quotes dropped, when it is two identifier units.
template <class Text>
RecordId recordIdOf(Text line) {
    std::uint32_t value = 0;
    size_t length = 0;
    for (const auto unit : line) {
        const auto c = static_cast<char16_t>(static_cast<std::make_unsigned_t<decltype(unit)>>(unit));
        if (c == u',') break;
        if (c == u'"') continue;
        if (length == 2 || !isIdentifierUnit(c)) return {};
        value = (value << 16) | c;
        ++length;
    }
    return length == 2 ? RecordId{value} : RecordId{};
}

// A field needs the comma-text join's quotes when it holds a blank or control character
// (U+0001..U+0020), a double quote or a comma: bytes that are never part of a two-byte
// character.
bool quotedByte(char c) { return (c >= 0x01 && c <= 0x20) || c == '"' || c == ','; }
bool needsQuotes(std::string_view field) { return std::any_of(field.begin(), field.end(), quotedByte); }

}  // namespace

RecordId recordId(std::u16string_view line) { return recordIdOf(line); }
RecordId recordId(std::string_view line) { return recordIdOf(line); }

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

void Record::split(std::string_view line) {
    valuesUsed_ = 0;
    commaSet_ = false;
    farSet_ = false;
    setMask_ = 0;
    if (line.find('"') != std::string_view::npos) {
        unquoted_.assign(line);
        std::erase(unquoted_, '"');
        line = unquoted_;
    }
    line_ = line;
    splitBytes(line, ',', fields_);
}

std::string_view Record::at(size_t position) const {
    if (!has(position)) throwListIndex(static_cast<long long>(position));
    return fields_[position];
}

void Record::set(size_t position, std::string_view value) {
    at(position);  // raises when the record is too short
    if (valuesUsed_ == values_.size()) values_.emplace_back();
    std::string& kept = values_[valuesUsed_++];
    kept.assign(value);
    if (position >= kTracked) {
        farSet_ = true;
    } else if ((setMask_ >> position & 1) == 0) {
        setMask_ |= std::uint64_t{1} << position;
        originals_[position] = fields_[position];
    }
    fields_[position] = kept;
    commaSet_ = commaSet_ || value.find(',') != std::string_view::npos;
}

// As CommaText joins: a field that needs quotes is quoted, its double quotes doubled, and
// a record of one empty field is "".
void Record::appendJoined(std::string& out) const {
    if (fields_.size() == 1 && fields_[0].empty()) {
        out += "\"\"";
        return;
    }
    // Most records need no quotes: joined by commas, they are the join when no field holds
    // a comma (the split leaves none, a value set may have one) and the joined bytes hold
    // no other byte that needs quotes, which one look at them tells.
    const size_t from = out.size();
    appendJoinedByCommas(out);
    if (!commaSet_ && !hasBlankControlOrQuote(std::string_view(out).substr(from))) return;
    out.resize(from);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (i > 0) out.push_back(',');
        const std::string_view field = fields_[i];
        if (!needsQuotes(field)) {
            out += field;
            continue;
        }
        out.push_back('"');
        for (const char c : field) {
            if (c == '"') out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
}

void Record::appendJoinedByCommas(std::string& out) const {
    if (farSet_) {
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (i > 0) out.push_back(',');
            out += fields_[i];
        }
        return;
    }
    // The split line is its fields joined by commas: between the fields set, its own bytes.
    size_t copied = 0;  // the bytes of line_ before this are in `out`
    for (std::uint64_t set = setMask_; set != 0; set &= set - 1) {
        const auto i = static_cast<size_t>(std::countr_zero(set));
        const std::string_view original = originals_[i];
        const auto at = static_cast<size_t>(original.data() - line_.data());
        out.append(line_.data() + copied, at - copied);
        out += fields_[i];
        copied = at + original.size();
    }
    out.append(line_.data() + copied, line_.size() - copied);
}

}  // namespace vask::claims
