// Code page 932 bytes as decoding and encoding them again gives them, without doing
// either. The codec reads some characters from two codes (the NEC and IBM extensions hold
// the same kanji and symbols twice) and writes each with one of them, and reads a byte that
// is no character as U+FFFD, written "?": a copy of read lines must pass the same way,
// though most of its bytes come out as they went in.
#pragma once

#include <string>
#include <string_view>

namespace vask {

// Appends cp932::encode(cp932::decode(bytes)) to `out`; returns how many characters that
// writes as "?" for want of a code (as cp932::replacedCount counts them).
size_t appendCp932RoundTrip(std::string_view bytes, std::string& out);

}  // namespace vask
