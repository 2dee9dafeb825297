#include "formone/second_converter.h"

#include <algorithm>

#include "core/file_names.h"
#include "core/messages.h"
#include "core/numbers.h"
#include "core/settings_keys.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "formone/byte_reorder.h"
#include "formone/column_rules.h"
#include "formone/form1_file.h"
#include "formone/mapping.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace vask::formone {
namespace {

struct OutputColumn {
    int position;  // form-1 position, or kEmptyColumn
    std::u16string_view title;
};

// The 89 columns of the EHR link layout, in output order.
constexpr OutputColumn kColumns[kColumnCount] = {
    {0, u"カルテ番号"},
    {1, u"患者氏名"},
    {3, u"診療年月日"},
    {5, u"郵便番号"},
    {6, u"身長"},
    {7, u"体重"},
    {31, u"収縮期血圧"},
    {32, u"拡張期血圧"},
    {22, u"HbA1c"},
    {37, u"LDLコレステロール"},
    {52, u"尿酸"},
    {11, u"高齢者情報"},
    {12, u"要介護度"},
    {29, u"血圧分類"},
    {30, u"高血圧リスク層"},
    {36, u"脂質異常症リスク分類"},
    {kEmptyColumn, u"（空列）"},
    {8, u"喫煙歴"},
    {9, u"1日の喫煙本数"},
    {10, u"喫煙年数"},
    {13, u"終診情報"},
    {14, u"終診年月日"},
    {18, u"終診情報の傷病名"},
    {16, u"終診情報の傷病名コード"},
    {15, u"終診情報のICD10コード"},
    {17, u"終診情報の修飾語コード"},
    {19, u"糖尿病の有無"},
    {20, u"糖尿病の自院管理"},
    {21, u"糖尿病の診断年月"},
    {23, u"糖尿病の慢性合併症：網膜症"},
    {24, u"糖尿病の慢性合併症：腎症"},
    {25, u"糖尿病の慢性合併症：神経障害"},
    {26, u"高血圧症の有無"},
    {27, u"高血圧症の自院管理"},
    {28, u"高血圧症の診断年月"},
    {33, u"脂質異常症の有無"},
    {34, u"脂質異常症の自院管理"},
    {35, u"脂質異常症の診断年月"},
    {38, u"脳卒中の有無（既往含む）"},
    {39, u"脳卒中の初発の種類（既往含む）"},
    {40, u"脳卒中の初発の発症（診断）年月"},
    {41, u"急性冠症候群の有無（既往含む）"},
    {42, u"急性冠症候群の初発の種類（既往含む）"},
    {43, u"急性冠症候群の初発の発症（診断）年月"},
    {44, u"心不全の有無"},
    {45, u"心不全の診断年月"},
    {46, u"急性大動脈解離の有無（既往含む）"},
    {47, u"急性大動脈解離の初発の発症（診断）年月"},
    {48, u"慢性腎臓病の有無"},
    {49, u"慢性腎臓病の診断年月"},
    {50, u"高尿酸血症の有無"},
    {51, u"高尿酸血症の診断年月"},
    {53, u"在宅療養を始めた年月"},
    {54, u"療養を行っている場所"},
    {138, u"訪問診療開始前の往診または外来受診日"},
    {55, u"訪問の主傷病の自院診断の有無"},
    {59, u"訪問の主傷病の傷病名"},
    {57, u"訪問の主傷病の傷病名コード"},
    {56, u"訪問の主傷病のICD10コード"},
    {58, u"訪問の主傷病の修飾語コード"},
    {60, u"患者の状態"},
    {61, u"バーセルインデックス"},
    {62, u"排泄の状況"},
    {63, u"ブリストルスケール"},
    {64, u"排尿の状況"},
    {65, u"褥瘡の状況"},
    {66, u"低栄養の有無"},
    {67, u"摂食・嚥下障害の有無"},
    {68, u"経管・経静脈栄養の状況"},
    {69, u"がんの自院診断の有無"},
    {73, u"がんの傷病名"},
    {71, u"がんの傷病名コード"},
    {70, u"がんのICD10コード"},
    {72, u"がんの修飾語コード"},
    {74, u"がんのStaging分類"},
    {75, u"UICC病気分類（T）"},
    {76, u"UICC病気分類（N）"},
    {77, u"UICC病気分類（M）"},
    {78, u"UICC病気分類（版）"},
    {79, u"がんのNRS"},
    {80, u"リハビリの退院年月日"},
    {81, u"ADL_バーセルインデックス"},
    {82, u"ADL_FIM"},
    {140, u"訓練内容"},
    {83, u"入院の有無"},
    {87, u"入院の傷病名"},
    {85, u"入院の傷病名コード"},
    {84, u"入院のICD10コード"},
    {86, u"入院の修飾語コード"},
};

constexpr std::array<int, kColumnCount> makeColumnOrder() {
    std::array<int, kColumnCount> order{};
    for (size_t i = 0; i < kColumnCount; ++i) order[i] = kColumns[i].position;
    return order;
}

std::u16string makeHeader() {
    std::u16string header;
    for (size_t i = 0; i < kColumnCount; ++i) {
        if (i > 0) header += u',';
        header += u'[';
        header += formatInt(static_cast<long long>(i));
        header += u"] ";
        header += kColumns[i].title;
    }
    return header;
}

}  // namespace

const std::array<int, kColumnCount> ColumnOrder = makeColumnOrder();

const std::u16string& reorderedHeader() {
    static const std::u16string header = makeHeader();
    return header;
}

void reorderLine(std::u16string_view line, std::span<const int> columnOrder, std::vector<std::u16string_view>& fields,
                 std::u16string& out) {
    splitTabs(line, fields);
    out.clear();
    bool first = true;
    for (const int position : columnOrder) {
        if (position < 0 || static_cast<size_t>(position) >= fields.size()) continue;
        if (!first) out.push_back(u',');
        first = false;
        if (position != kEmptyColumn) appendChkStd(fields[static_cast<size_t>(position)], position, out);
    }
}

namespace {

// LineWriter's code page 932 lines, CR LF after each, the characters written as "?"
// counted the same way, which also takes lines already encoded (with their count).
// The lines after line 1 of a file that hands out bytes.
void reorderBytes(TextLineReader& lines, std::span<const int> columnOrder, LineWriter& writer) {
    ByteReorder reorder(columnOrder, lines);
    for (std::string_view line; lines.next(line);) {
        size_t lost = 0;
        const std::string_view out = reorder.reorder(line, lost);
        writer.writeEncodedLine(out, lost);
    }
}

// The lines after line 1 of a UTF-16 file.
void reorderText(TextLineReader& lines, std::span<const int> columnOrder, LineWriter& writer) {
    std::u16string line;
    std::vector<std::u16string_view> fields;
    std::u16string out;
    while (lines.next(line)) {
        reorderLine(line, columnOrder, fields, out);
        writer.writeLine(out);
    }
}

}  // namespace

void ConvertTSVtoCSV_Reorder(const std::filesystem::path& InFileName, const std::filesystem::path& OutFileName,
                             std::span<const int> columnOrder, LostCharacters* lost) {
    // Read as the choosing step reads the form-1 file: a byte-order mark selects UTF-8 or
    // UTF-16, without one it must be Shift-JIS text.
    TextLineReader lines(InFileName, Cp932Input::ShiftJisText);
    LineWriter writer(OutFileName);
    std::string_view first;
    std::u16string firstText;
    if (lines.bytewise() ? lines.next(first) : lines.next(firstText)) {
        writer.writeLine(reorderedHeader());  // replaces line 1, whose content is not used
        if (lines.bytewise()) {
            reorderBytes(lines, columnOrder, writer);
        } else {
            reorderText(lines, columnOrder, writer);
        }
    }
    writer.commit();
    if (lost) *lost = writer.lost();
}

std::optional<std::filesystem::path> movacalMappingFor(std::u16string_view spec,
                                                       const std::filesystem::path& programFolder) {
    if (trimmedView(spec) != settings::kSpecMovacal) return std::nullopt;
    return programFolder / toPath(kMappingFileName);
}

Outcome runSecondConverter(std::u16string_view pathText, std::u16string_view mstNgt,
                           const std::filesystem::path& programFolder,
                           const std::optional<std::filesystem::path>& mappingFile) {
    const std::u16string name = carteFileName(mstNgt);
    const auto intermediate = programFolder / toPath(kIntermediateFileName);
    const auto input = toPath(pathText);
    std::vector<std::filesystem::path> inputs{input};
    if (mappingFile) inputs.push_back(*mappingFile);
    const auto target = outputPath(programFolder, name, {.inputs = inputs});
    if (mappingFile) refuseToReplaceInputs(intermediate, inputs);
    // The intermediate file of an earlier run goes, unless the user chose it as this
    // run's input.
    if (!sameFile(input, intermediate)) removeFileIfExists(intermediate);
    std::vector<std::filesystem::path> written;
    auto source = input;
    // With the mapping step the characters are lost in its output, which the reordering
    // reads: the reordering itself then loses none.
    LostCharacters lost;
    if (mappingFile) {
        if (ConvertTSVWithMapping(source, intermediate, *mappingFile, &lost)) written.push_back(intermediate);
        source = intermediate;
    }
    LostCharacters lostInReorder;
    ConvertTSVtoCSV_Reorder(source, target, ColumnOrder, &lostInReorder);
    written.push_back(target);
    Outcome outcome = Outcome::wrote(std::move(written), msg::created(name));
    warnOfLostCharacters(outcome, mappingFile ? lost : lostInReorder);
    return outcome;
}

}  // namespace vask::formone
