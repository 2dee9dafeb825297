// Claims files for the tests: a fixture with one claims file and a program folder, and
// the clinic record the files begin with.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "../support/test_support.h"

namespace vask::test {

// A folder with one claims file in it (in.UKE) and a separate program folder.
class ClaimsFiles : public ::testing::Test {
protected:
    std::filesystem::path write(const std::vector<std::u16string>& lines) { return writeRaw(claimsBytes(lines)); }
    std::filesystem::path writeRaw(const std::string& bytes) {
        writeBytes(input(), bytes);
        return input();
    }
    std::filesystem::path input() const { return inputs / "in.UKE"; }
    std::u16string inputText() const { return input().u16string(); }
    std::string output(std::string_view name) const { return readBytes(programFolder / name); }

    TempDir inputs;
    TempDir programFolder;
};

// An IR record of the given examining body (field 1) and billing month (field 7).
inline std::u16string clinicRecord(std::u16string_view body = u"1", std::u16string_view month = u"50611") {
    return u"IR," + std::u16string(body) + u",13,1,7654321,,山田内科," + std::u16string(month) + u",00,03-1111-2222";
}

}  // namespace vask::test
