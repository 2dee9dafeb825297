// The FF1 file as the link reads it: one tab-separated data line per item of a patient's
// month (field 0 facility code, 1 data ID, 2 year-month YYYYMM, 3 item code, 4 sequence
// number, 5 to 13 payloads 1 to 9, 14 an optional label), possibly under a header line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_fields.h"
#include "core/text.h"
#include "core/textfile.h"

namespace vask::ff1 {

// Field positions of an FF1 data line.
inline constexpr size_t kDataIdField = 1;
inline constexpr size_t kYearMonthField = 2;
inline constexpr size_t kItemCodeField = 3;
inline constexpr size_t kFirstPayloadField = 5;  // payload p lies in field p + 4
inline constexpr int kPayloadCount = 9;

// UTF-8 when the file begins with the UTF-8 byte-order mark; otherwise code page 932 when
// `AssumeShiftJIS` holds, else UTF-8. Only the UTF-8 mark is recognised. Raises Error when
// the file cannot be opened.
TextEncoding DetectEncodingFromFile(const std::filesystem::path& AFile, bool AssumeShiftJIS);

// A header line names the facility code column ("施設コード" anywhere) or has a field 0
// that is no 32-bit integer once trimmed. A line without fields is none.
bool IsHeaderLine(std::u16string_view Line);

// The year-month of a field: its trimmed text read as a 32-bit integer, 0 when it is none.
int32_t ParseYearMonth(std::u16string_view S);

// --- The same rules on a line's bytes in code page 932 or UTF-8, read without decoding
// the line: a byte below 0x40 (a tab, CR, LF, a blank, a digit, a sign, "$") is never part
// of a multi-byte character in either, and stands for itself; a non-ASCII byte never reads
// as a blank, a digit or a sign.

// IsHeaderLine of the line's text (which must not be blank), from its bytes and its field
// 0 (the bytes up to its first tab). `ascii`: every byte of the line is known to be ASCII,
// which the facility code column's name is not.
bool isHeaderLineBytes(std::string_view bytes, std::string_view field0, TextEncoding encoding, bool ascii);
// ParseYearMonth of the field's text.
int32_t parseYearMonthBytes(std::string_view field);

// Text of one line's bytes in the file's encoding (a byte-order mark already cut off).
void decodeLine(std::string_view bytes, TextEncoding encoding, std::u16string& out);

// Appends the bytes of a line read in `from` as they are written in `to`: the line is
// decoded and encoded again, so that bytes the codec reads differently (invalid bytes,
// duplicate codes) come out as a decode-and-encode round trip gives them. Returns how many
// characters were written as "?" (code page 932 has no code for them).
size_t appendReencoded(std::string_view bytes, TextEncoding from, TextEncoding to, std::string& out);

}  // namespace vask::ff1
