#include "claims/claims_record.h"

#include "core/text.h"
#include "core/text_formats.h"
#include "platform/errors.h"

namespace vask::claims {
namespace {

struct LayoutRecord {
    std::u16string_view id;
    RecordKind kind;
};

// The records of the medical (医科) claims record layout, from the payers' published layout
// (オンライン又は光ディスク等による請求に係る記録条件仕様（医科用）, 社会保険診療報酬支払基金 and
// 国民健康保険中央会: its editions name KH, TI, TR, TS and GO, later ones add GR, SN, JD and
// MF), cross-checked with the open-source claims reader yokenzan/receiptisan, which defines
// IR, RE, HO, KO, SN, SY, SI, IY, TO, CO and SJ and passes over GO, JD and MF. The tools
// act on the first seven; the others pass unchanged.
constexpr LayoutRecord kMedicalLayout[] = {
    {u"IR", RecordKind::Clinic},          // 医療機関情報
    {u"RE", RecordKind::Claim},           // レセプト共通
    {u"HO", RecordKind::Insurer},         // 保険者
    {u"KO", RecordKind::PublicExpense},   // 公費
    {u"SN", RecordKind::Qualification},   // 資格確認
    {u"SJ", RecordKind::SymptomDetails},  // 症状詳記
    {u"CO", RecordKind::Comment},         // コメント
    {u"KH", RecordKind::Other},           // 国保連固有情報
    {u"GR", RecordKind::Other},           // 包括評価対象外理由
    {u"JD", RecordKind::Other},           // 受診日等
    {u"MF", RecordKind::Other},           // 窓口負担額
    {u"SY", RecordKind::Other},           // 傷病名
    {u"SI", RecordKind::Other},           // 診療行為
    {u"IY", RecordKind::Other},           // 医薬品
    {u"TO", RecordKind::Other},           // 特定器材
    {u"TI", RecordKind::Other},           // 臓器提供医療機関情報
    {u"TR", RecordKind::Other},           // 臓器提供者レセプト情報
    {u"TS", RecordKind::Other},           // 臓器提供者請求情報
    {u"GO", RecordKind::Other},           // 診療報酬請求書
};

constexpr bool isIdentifierUnit(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'); }

constexpr RecordId idOf(std::u16string_view letters) { return {(std::uint32_t{letters[0]} << 16) | letters[1]}; }

const LayoutRecord* layoutRecord(RecordId id) {
    for (const auto& record : kMedicalLayout) {
        if (idOf(record.id) == id) return &record;
    }
    return nullptr;
}

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

bool inMedicalLayout(RecordId id) { return layoutRecord(id) != nullptr; }

RecordKind recordKind(RecordId id) {
    const LayoutRecord* record = layoutRecord(id);
    return record != nullptr ? record->kind : RecordKind::Other;
}

void Record::split(std::u16string_view line) { splitCommaFields(line, fields_); }

std::u16string& Record::at(size_t position) {
    if (!has(position)) throwListIndex(static_cast<long long>(position));
    return fields_[position];
}

void Record::appendJoined(std::u16string& out) const { appendCommaText(fields_, out); }

}  // namespace vask::claims
