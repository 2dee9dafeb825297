#include "formone/first_converter.h"

#include <unordered_set>

#include "core/delimited_text.h"
#include "core/file_names.h"
#include "core/messages.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/textfile.h"
#include "formone/form1_file.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask::formone {
namespace {

// Form-1 positions the first converter reads.
enum Position : size_t {
    kChartNumber = 0,
    kName = 1,
    kYearMonth = 3,
    kPostalCode = 5,
    kHeight = 6,
    kWeight = 7,
    kHbA1c = 22,
    kSystolic = 31,
    kDiastolic = 32,
    kLdl = 37,
    kUricAcid = 52,
};
constexpr size_t kMinimumFields = kUricAcid + 1;
constexpr int kMaximumBodyValue = 300;
constexpr std::u16string_view kNotMeasured3 = u"999";
constexpr std::u16string_view kNotMeasuredLab = u"99.9";

bool holdsPoint(std::u16string_view text) { return contains(text, u"."); }

// Body values above 300 written as whole numbers are no measurement.
bool isOutOfBodyRange(std::u16string_view t) { return readInt32Or(t, 0) > kMaximumBodyValue; }

std::u16string heightValue(std::u16string_view t) {
    const long double value = readDecimalOr(t, 0);
    if (value == 0 || isOutOfBodyRange(t)) return {};
    return formatIntegerPart(value);
}

std::u16string weightValue(std::u16string_view t) {
    if (readDecimalOr(t, 0) == 0 || isOutOfBodyRange(t)) return {};
    return formatFixed1(readDecimalStrict(t));
}

std::u16string pressureValue(std::u16string_view t) {
    return t == kNotMeasured3 ? std::u16string() : std::u16string(t);
}

// HbA1c and uric acid: a whole number gets one decimal; a value with a point stays.
std::u16string labValue(std::u16string_view t) {
    if (t == kNotMeasuredLab) return {};
    if (!t.empty() && !holdsPoint(t)) return formatFixed1(readDecimalStrict(t));
    return std::u16string(t);
}

std::u16string ldlValue(std::u16string_view t) {
    if (t == kNotMeasured3) return {};
    if (holdsPoint(t)) return formatIntegerPart(readDecimalOr(t, 0));
    return std::u16string(t);
}

std::u16string row(const std::vector<std::u16string>& fields, std::u16string_view mstNgt) {
    const auto t = [&](size_t position) { return trimmedView(fields[position]); };
    const std::u16string postalCode = t(kPostalCode).size() == 7 ? std::u16string(t(kPostalCode)) : std::u16string();
    const std::vector<std::u16string> values = {
        GetCarte(fields[kChartNumber]),
        fields[kName],
        std::u16string(mstNgt) + u"01",
        postalCode,
        heightValue(t(kHeight)),
        weightValue(t(kWeight)),
        pressureValue(t(kSystolic)),
        pressureValue(t(kDiastolic)),
        labValue(t(kHbA1c)),
        ldlValue(t(kLdl)),
        labValue(t(kUricAcid)),
    };
    return joinFields(values, u',');
}

// Tabs become commas and the comma split follows: a comma inside a field separates too.
std::vector<std::u16string> splitRecord(std::u16string_view line) {
    std::vector<std::u16string> fields;
    GetCommaTxt(replaceAll(line, u"\t", u","), fields);
    return fields;
}

}  // namespace

std::u16string GetCarte(std::u16string_view pstPtnum) {
    const auto number = readInt64(pstPtnum);
    if (number && *number != 0) return formatInt(*number);
    return std::u16string(pstPtnum);
}

std::vector<std::u16string> firstConverterLines(const std::vector<std::u16string>& FList, std::u16string& mstNgt) {
    std::vector<std::u16string> WList;
    std::unordered_set<std::u16string> CList;  // trimmed chart numbers written, in upper case
    mstNgt.clear();
    if (!FList.empty()) WList.emplace_back(kFirstConverterHeader);
    for (size_t n = 1; n <= FList.size(); ++n) {
        const auto fields = splitRecord(FList[n - 1]);
        if (fields[kChartNumber].empty() || fields.size() < kMinimumFields) continue;
        // Taken before the duplicate test: a skipped duplicate can still supply it.
        if (mstNgt.empty() && n > 1) mstNgt = fields[kYearMonth];
        if (n == 1) continue;
        std::u16string chartKey = upperCase(trimmedView(fields[kChartNumber]));
        if (CList.count(chartKey) != 0) continue;
        WList.push_back(row(fields, mstNgt));
        CList.insert(std::move(chartKey));
    }
    return WList;
}

Outcome runFirstConverter(std::u16string_view pathText, const std::filesystem::path& programFolder) {
    const auto input = toPath(pathText);
    if (!fileExists(input)) return Outcome::refused(msg::kNoFile);
    const auto FList = loadFormOne(input);
    // A file without any line would give no output at all: refused like an unusable choice.
    if (!isAcceptedFormOne(FList)) return Outcome::refused(msg::kNotFormOneFile);
    std::u16string mstNgt;
    const auto WList = firstConverterLines(FList, mstNgt);
    const std::u16string name = carteFileName(mstNgt);
    const auto target = outputPath(programFolder, name, {.inputs = {input}});
    WrtSet(target, WList);
    return Outcome::wrote({target}, msg::created(name));
}

std::filesystem::path writeDelimitedCopy(std::u16string_view pathText, const std::filesystem::path& programFolder) {
    constexpr size_t kYearMonthItem = 3;
    const auto input = toPath(pathText);
    const auto FList = loadFormOne(input);
    std::vector<std::u16string> WList;
    std::u16string yearMonth;
    bool named = false;
    for (size_t i = 0; i < FList.size(); ++i) {
        const auto items = splitDelimitedText(FList[i]);
        if (items.empty() || items[0].empty()) continue;
        if (i > 0 && !named) {
            if (items.size() <= kYearMonthItem) throwListIndex(kYearMonthItem);
            yearMonth = items[kYearMonthItem];
            named = true;
        }
        WList.push_back(joinFields(items, u','));
    }
    const auto target = outputPath(programFolder, carteFileName(yearMonth), {.inputs = {input}});
    WrtSet(target, WList);
    return target;
}

}  // namespace vask::formone
