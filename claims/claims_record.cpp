#include "claims/claims_record.h"

#include "core/text.h"
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

void Record::split(std::u16string_view line) {
    size_t count = 0;
    auto nextField = [&]() -> std::u16string& {
        if (count == fields_.size()) fields_.emplace_back();
        std::u16string& field = fields_[count++];
        field.clear();
        return field;
    };
    std::u16string* field = &nextField();
    size_t start = 0;
    // Copies the runs between commas and quotes in one piece each.
    for (size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (c != u',' && c != u'"') continue;
        field->append(line.substr(start, i - start));
        start = i + 1;
        if (c == u',') field = &nextField();
    }
    field->append(line.substr(start));
    fields_.resize(count);
}

std::u16string& Record::at(size_t position) {
    if (!has(position)) throwListIndex(static_cast<long long>(position));
    return fields_[position];
}

void Record::appendJoined(std::u16string& out) const { appendCommaText(fields_, out); }

}  // namespace vask::claims
