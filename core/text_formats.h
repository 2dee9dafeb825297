// The split and join rules of the system's text formats, side by side. They differ on
// purpose: each is the one the receiving format or the tool's behaviour fixes, and no two
// are interchangeable (the comma split and the comma-text join are not even inverses).
//
// | rule                          | function                          | used by                               |
// |-------------------------------|-----------------------------------|---------------------------------------|
// | tab split, no quoting         | splitTabs (the FF1 link's         | FF1 files, form-1 records of the      |
// |                               | splitTabs), splitOn                | second converter and mapping step, the |
// |                               |                                   | mapping file (splitOn ','), the form-1 |
// |                               |                                   | anonymiser's check                    |
// | comma split, quotes dropped   | GetCommaTxt, splitCommaFields     | claims records (they know no quoting), |
// |                               |                                   | change definitions, the clinic        |
// |                               |                                   | sub-folder's first line               |
// | comma and tab split, quotes   | splitCommaAndTabFields            | the first converter's form-1 records  |
// | dropped, at most n fields     |                                   |                                       |
// | delimited text (blanks and    | delimitedTextItem,                | the replacement's key item, the hidden |
// | commas separate, quotes group)| splitDelimitedText                | CSV copy of a form-1 file             |
// | CSV with quotes               | splitQuotedCsv                    | the FF1 specification CSV (siyo4.csv) |
// | comma-text join, quoting      | CommaText, appendCommaText        | claims records written back           |
// | comma join, quotes removed    | joinWithoutQuotes                 | the FF1 link's EHR CSV rows           |
// | plain join                    | joinFields                        | the form-1 converters' output rows    |
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vask {

// --- Splits into views of the line.
// Tab split: an empty line has no fields; k tabs give k + 1 fields; no quoting.
void splitTabs(std::u16string_view line, std::vector<std::u16string_view>& fields);
// Splits on every occurrence of `separator` with the tab rule (an empty line has no field).
void splitOn(std::u16string_view line, char16_t separator, std::vector<std::u16string_view>& fields);

// --- The comma split: every comma separates, every double quote is dropped.
// GetCommaTxt: appends the fields of `pstString` to `pclList`; always at least one field.
bool GetCommaTxt(std::u16string_view pstString, std::vector<std::u16string>& pclList);
// The same split into `fields`, replacing what they held but reusing their storage, for
// loops over large files.
void splitCommaFields(std::u16string_view line, std::vector<std::u16string>& fields);
// The first converter's split of a form-1 record: every tab separates as a comma does (as
// if the tabs had become commas first), double quotes are dropped, and no more than
// `maxFields` fields are split off (a longer line gives that many, the last one whole).
void splitCommaAndTabFields(std::u16string_view line, size_t maxFields, std::vector<std::u16string>& fields);

// --- Delimited text with "," as delimiter (the reading of comma text into a string list):
// blanks (U+0001..U+0020) and commas both separate items, an item may be quoted with double
// quotes (two double quotes inside stand for one, an unclosed quote runs to the end),
// blanks around items are dropped, two commas with nothing between them give an empty
// item, and a comma that ends the line adds one empty item.
// The item at `index` (from 0); false when the line holds fewer items. Reads no further
// than that item.
bool delimitedTextItem(std::u16string_view line, size_t index, std::u16string& item);
// The same on the bytes of a code page 932 line, where the blanks, the comma and the double
// quote are bytes below 0x40, never part of a two-byte character: the item's bytes.
bool delimitedTextItem(std::string_view cp932Line, size_t index, std::string& item);
// Every item of the line.
std::vector<std::u16string> splitDelimitedText(std::u16string_view line);

// --- CSV with quotes: commas separate outside double quotes; a doubled quote inside quotes
// stands for one; an unterminated quote runs to the end of the line. Untrimmed; the empty
// line gives one empty cell.
std::vector<std::u16string> splitQuotedCsv(std::u16string_view line);

// --- Joins.
// CommaText: joins with commas; a field holding U+0001..U+0020, '"' or ',' is quoted with
// its quotes doubled; one empty field gives "".
std::u16string CommaText(const std::vector<std::u16string>& fields);
void appendCommaText(const std::vector<std::u16string>& fields, std::u16string& out);
// The values joined by commas, every double quote removed, nothing quoted.
std::u16string joinWithoutQuotes(const std::vector<std::u16string>& values);
// The fields joined by one separator, without quoting.
std::u16string joinFields(const std::vector<std::u16string>& fields, char16_t separator);

}  // namespace vask
