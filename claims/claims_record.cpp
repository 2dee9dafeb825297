#include "claims/claims_record.h"

#include "core/text.h"
#include "core/text_formats.h"
#include "platform/errors.h"

namespace vask::claims {
namespace {

struct KnownRecord {
    char16_t first;
    char16_t second;
    RecordKind kind;
};

constexpr KnownRecord kKnownRecords[] = {
    {u'I', u'R', RecordKind::Clinic},        {u'R', u'E', RecordKind::Claim},
    {u'H', u'O', RecordKind::Insurer},       {u'K', u'O', RecordKind::PublicExpense},
    {u'S', u'N', RecordKind::Qualification}, {u'S', u'J', RecordKind::SymptomDetails},
    {u'C', u'O', RecordKind::Comment},
};

}  // namespace

RecordKind recordKind(std::u16string_view line) {
    // Field 0 without its double quotes; every known identifier has two letters.
    char16_t id[2] = {};
    size_t length = 0;
    for (char16_t c : line) {
        if (c == u',') break;
        if (c == u'"') continue;
        if (length == 2) return RecordKind::Other;
        id[length++] = c;
    }
    if (length != 2) return RecordKind::Other;
    for (const auto& known : kKnownRecords) {
        if (id[0] == known.first && id[1] == known.second) return known.kind;
    }
    return RecordKind::Other;
}

void Record::split(std::u16string_view line) { splitCommaFields(line, fields_); }

std::u16string& Record::at(size_t position) {
    if (!has(position)) throwListIndex(static_cast<long long>(position));
    return fields_[position];
}

void Record::appendJoined(std::u16string& out) const { appendCommaText(fields_, out); }

}  // namespace vask::claims
