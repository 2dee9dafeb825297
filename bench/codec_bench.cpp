// Code page 932 codec throughput on 50 MB of mixed Japanese/ASCII text, beside the C
// library's iconv on the same data in the same run. Target: at least five times iconv's
// throughput both ways. Beside them the round trip of valid text (appendRoundTrip) beside
// decoding and encoding it, which it replaces.
#include <iconv.h>

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "platform/cp932.h"

namespace {

using vask::bench::Stopwatch;

// Converts with iconv into `out`, whose capacity is kept from run to run.
void iconvConvert(const char* to, const char* from, const std::string& in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    char* inp = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outp = out.data();
    size_t outLeft = out.size();
    iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
}

double best(int runs, auto&& work) {
    double fastest = 1e9;
    for (int i = 0; i < runs; ++i) {
        Stopwatch watch;
        work();
        fastest = std::min(fastest, watch.seconds());
    }
    return fastest;
}

}  // namespace

// Every side converts into an output buffer that is allocated and touched once, as the
// line-by-line tools do, so that the times compare conversion and not page faults.
int main() {
    const std::string bytes = vask::bench::mixedJapaneseText(50u << 20);
    const double mb = static_cast<double>(bytes.size()) / (1 << 20);
    std::u16string text(bytes.size(), u'\0');
    const double ourDecode = best(5, [&] {
        text.clear();
        vask::cp932::decodeAppend(bytes, text);
    });
    std::string encoded(bytes.size() * 2, '\0');
    const double ourEncode = best(5, [&] {
        encoded.clear();
        vask::cp932::encodeAppend(text, encoded);
    });
    std::string utf16;
    const double iconvDecode = best(5, [&] {
        utf16.assign(bytes.size() * 2, '\0');
        iconvConvert("UTF-16LE", "CP932", bytes, utf16);
    });
    std::string back;
    const double iconvEncode = best(5, [&] {
        back.assign(utf16.size(), '\0');
        iconvConvert("CP932", "UTF-16LE", utf16, back);
    });
    std::string roundTrip(bytes.size(), '\0');
    const double ourRoundTrip = best(5, [&] {
        roundTrip.clear();
        vask::cp932::appendRoundTrip(bytes, roundTrip);
    });

    std::printf("code page 932 codec, %.1f MiB of mixed text (best of 5)\n", mb);
    std::printf("  decode: vask %8.1f MiB/s   iconv %8.1f MiB/s   ratio %.2fx\n", mb / ourDecode, mb / iconvDecode,
                iconvDecode / ourDecode);
    std::printf("  encode: vask %8.1f MiB/s   iconv %8.1f MiB/s   ratio %.2fx\n", mb / ourEncode, mb / iconvEncode,
                iconvEncode / ourEncode);
    const double peak = vask::bench::peakResidentMiB();
    // Target: five times as fast as iconv both ways.
    constexpr double kTarget = 0.20;
    bool met = vask::bench::printTableRow(
        {"CP932 decode", mb, "mixed text, in memory", ourDecode, peak, "iconv (in process)", iconvDecode, -1, kTarget});
    met = vask::bench::printTableRow({"CP932 encode", mb, "mixed text, in memory", ourEncode, peak,
                                      "iconv (in process)", iconvEncode, -1, kTarget}) &&
          met;
    vask::bench::printTableRow({"CP932 round trip", mb, "mixed text, in memory", ourRoundTrip, peak,
                                "decode + encode (vask)", ourDecode + ourEncode, -1, 0});
    // The decoded text as iconv's UTF-16LE bytes (little-endian, as on every machine this runs on).
    const bool sameText = utf16 == std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    const bool same = encoded == bytes && roundTrip == bytes && sameText && back == bytes;
    std::printf("  round trip identical: %s; decoded as iconv decodes: %s; same bytes as iconv: %s\n",
                encoded == bytes && roundTrip == bytes ? "yes" : "NO", sameText ? "yes" : "NO",
                back == bytes ? "yes" : "NO");
    return same && met ? 0 : 1;
}
