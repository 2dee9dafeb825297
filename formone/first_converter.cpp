#include "formone/first_converter.h"

#include "core/file_names.h"
#include "core/messages.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "formone/byte_scan.h"
#include "formone/decimal_value.h"
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
constexpr size_t kPositionsRead[] = {kChartNumber, kName,     kYearMonth, kPostalCode, kHeight,  kWeight,
                                     kHbA1c,       kSystolic, kDiastolic, kLdl,        kUricAcid};
constexpr int kMaximumBodyValue = 300;
constexpr std::u16string_view kNotMeasured3 = u"999";
constexpr std::u16string_view kNotMeasuredLab = u"99.9";

bool holdsPoint(std::u16string_view text) { return contains(text, u"."); }

// Body values above 300 written as whole numbers are no measurement.
bool isOutOfBodyRange(std::u16string_view t) { return readInt32Or(t, 0) > kMaximumBodyValue; }

std::u16string heightValue(std::u16string_view t) {
    const DecimalValue value(t);
    if (!value.isNumber() || value.isZero() || isOutOfBodyRange(t)) return {};
    return value.integerPart();
}

std::u16string weightValue(std::u16string_view t) {
    const DecimalValue value(t);
    if (!value.isNumber() || value.isZero() || isOutOfBodyRange(t)) return {};
    return value.fixed1();
}

std::u16string_view pressureValue(std::u16string_view t) { return t == kNotMeasured3 ? std::u16string_view() : t; }

// HbA1c and uric acid: a whole number gets one decimal; a value with a point stays.
std::u16string labValue(std::u16string_view t) {
    if (t == kNotMeasuredLab) return {};
    if (t.empty() || holdsPoint(t)) return std::u16string(t);
    const DecimalValue value(t);
    // Read strictly: a value that is no number raises the conversion error.
    return value.isNumber() ? value.fixed1() : formatFixed1(readDecimalStrict(t));
}

std::u16string ldlValue(std::u16string_view t) {
    if (t == kNotMeasured3) return {};
    if (!holdsPoint(t)) return std::u16string(t);
    const DecimalValue value(t);
    return value.isNumber() ? value.integerPart() : u"0";
}

void makeRow(const std::vector<std::u16string>& fields, std::u16string_view mstNgt, std::u16string& row) {
    const auto t = [&](size_t position) { return trimmedView(fields[position]); };
    const std::u16string_view postalCode = t(kPostalCode).size() == 7 ? t(kPostalCode) : std::u16string_view();
    row.clear();
    const auto add = [&](std::u16string_view value) {
        row += value;
        row += u',';
    };
    add(GetCarte(fields[kChartNumber]));
    add(fields[kName]);
    row += mstNgt;  // the consultation date: the first day of the year-month
    add(u"01");
    add(postalCode);
    add(heightValue(t(kHeight)));
    add(weightValue(t(kWeight)));
    add(pressureValue(t(kSystolic)));
    add(pressureValue(t(kDiastolic)));
    add(labValue(t(kHbA1c)));
    add(ldlValue(t(kLdl)));
    row += labValue(t(kUricAcid));
}

// The name the output is written under until the run ends: the year-month's name when it
// is a plain file name.
std::u16string provisionalName(std::u16string_view mstNgt) {
    std::u16string name = std::u16string(mstNgt) + u"_carte.csv";
    return isPlainFileName(name) ? name : std::u16string(u"_carte.csv");
}

}  // namespace

std::u16string GetCarte(std::u16string_view pstPtnum) {
    const auto number = readInt64(pstPtnum);
    if (number && *number != 0) return formatInt(*number);
    return std::u16string(pstPtnum);
}

bool FirstConverterRows::next(std::u16string_view line, std::u16string& row) {
    ++lineNumber_;
    // Tabs become commas and the comma split follows: a comma inside a field separates too.
    splitCommaAndTabFields(line, kMinimumFields, fields_);
    return fields_.size() >= kMinimumFields && take(row);
}

bool FirstConverterRows::next(std::string_view line, const TextLineReader& lines, std::u16string& row) {
    ++lineNumber_;
    // The same split on the bytes; double quotes, which never separate, go first.
    if (line.find('"') != std::string_view::npos) {
        unquoted_.assign(line);
        std::erase(unquoted_, '"');
        line = unquoted_;
    }
    pieces_.split(line, '\t', ',', kMinimumFields);
    if (pieces_.size() < kMinimumFields) return false;
    fields_.resize(kMinimumFields);
    for (const size_t position : kPositionsRead) {
        fields_[position].clear();
        lines.decodeAppend(pieces_[position], fields_[position]);
    }
    return take(row);
}

bool FirstConverterRows::take(std::u16string& row) {
    if (fields_[kChartNumber].empty()) return false;
    // Taken before the duplicate test: a skipped duplicate can still supply it.
    if (mstNgt_.empty() && lineNumber_ > 1) mstNgt_ = fields_[kYearMonth];
    if (lineNumber_ == 1) return false;
    // One look-up that also records the chart number: when making the row fails, the run
    // stops anyway.
    const std::u16string_view chartNumber = trimmedView(fields_[kChartNumber]);
    upperChartNumber_.resize(chartNumber.size());
    for (size_t k = 0; k < chartNumber.size(); ++k) upperChartNumber_[k] = upperUnit(chartNumber[k]);
    if (!CList_.insert(upperChartNumber_).second) return false;
    makeRow(fields_, mstNgt_, row);
    return true;
}

namespace {

// The next row that the file's lines give; false at the end of the file.
bool nextRow(TextLineReader& lines, FirstConverterRows& rows, std::u16string& row) {
    if (lines.bytewise()) {
        for (std::string_view line; lines.next(line);) {
            if (rows.next(line, lines, row)) return true;
        }
        return false;
    }
    for (std::u16string line; lines.next(line);) {
        if (rows.next(line, row)) return true;
    }
    return false;
}

}  // namespace

Outcome runFirstConverter(std::u16string_view pathText, const std::filesystem::path& programFolder) {
    const auto input = toPath(pathText);
    if (!fileExists(input)) return Outcome::refused(msg::kNoFile);
    TextLineReader lines(input, Cp932Input::ShiftJisText);
    FirstConverterRows rows;
    std::optional<LineWriter> writer;
    // The writer opens with the first row, under the name the year-month gives by then, so
    // that a folder that cannot take the file is reported under that name; the file is
    // committed under its final name only after the last line.
    for (std::u16string row; nextRow(lines, rows, row);) {
        if (!writer) {
            writer.emplace(programFolder / toPath(provisionalName(rows.yearMonth())));
            writer->writeLine(kFirstConverterHeader);
        }
        writer->writeLine(row);
    }
    // No record line converted (an empty file, a header alone, a claims file): a file of
    // the header alone would say nothing, so nothing is written and the file is refused.
    if (!writer) return Outcome::refused(msg::kNotFormOneFile);
    const std::u16string name = carteFileName(rows.yearMonth());
    const auto target = outputPath(programFolder, name, {.inputs = {input}});
    writer->commit(target);
    Outcome outcome = Outcome::wrote({target}, msg::created(name));
    warnOfLostCharacters(outcome, writer->lost());
    return outcome;
}

std::filesystem::path writeDelimitedCopy(std::u16string_view pathText, const std::filesystem::path& programFolder) {
    constexpr size_t kYearMonthItem = 3;
    const auto input = toPath(pathText);
    TextLineReader reader(input, Cp932Input::ShiftJisText);
    // Streamed: the lines kept before the year-month is known (line 1 at most) wait, then
    // the writer opens under the year-month's name, so that a folder that cannot take the
    // file is reported under that name.
    std::vector<std::u16string> waiting;
    std::optional<LineWriter> writer;
    std::u16string yearMonth;
    std::u16string line;
    bool named = false;
    const auto open = [&] {
        writer.emplace(programFolder / toPath(provisionalName(yearMonth)));
        for (const auto& kept : waiting) writer->writeLine(kept);
        waiting.clear();
    };
    for (size_t i = 0; reader.next(line); ++i) {
        const auto items = splitDelimitedText(line);
        if (items.empty() || items[0].empty()) continue;
        if (i > 0 && !named) {
            if (items.size() <= kYearMonthItem) throwListIndex(kYearMonthItem);
            yearMonth = items[kYearMonthItem];
            named = true;
            open();
        }
        if (writer) {
            writer->writeLine(joinFields(items, u','));
        } else {
            waiting.push_back(joinFields(items, u','));
        }
    }
    const auto target = outputPath(programFolder, carteFileName(yearMonth), {.inputs = {input}});
    if (!writer) open();
    writer->commit(target);
    return target;
}

}  // namespace vask::formone
