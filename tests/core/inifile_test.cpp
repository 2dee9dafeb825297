#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "../support/test_support.h"
#include "core/inifile.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

class IniFile : public ::testing::Test {
protected:
    std::u16string read(std::u16string_view key, std::u16string_view fallback = u"def") {
        return IFReadIniStr(file(), u"PARAM", key, fallback);
    }
    void write(std::u16string_view key, std::u16string_view value) { IFWriteIniStr(file(), u"PARAM", key, value); }
    std::filesystem::path file() const { return dir_ / "user.ini"; }
    TempDir dir_;
};

TEST_F(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(read(u"CB1"), u"def");
    writeBytes(file(), "[OTHER]\r\nCB1=1\r\n");
    EXPECT_EQ(read(u"CB1"), u"def");
    writeBytes(file(), "[PARAM]\r\nX=1\r\n");
    EXPECT_EQ(read(u"CB1"), u"def");
}

TEST_F(IniFile, ReadingFollowsTheProfileRules) {
    writeBytes(file(),
               "[other]\r\nCB1=9\r\n"
               "[ param ]\r\n"
               "  cb1 =  1  \r\n"
               "CB1=2\r\n"
               "Q1=\"quoted \"\r\n"
               "Q2='single'\r\n"
               "Q3=\"unbalanced\r\n"
               "EMPTY=\r\n"
               "PATH=C:\\\x83\x66\x81\x5B\x83\x5E\r\n"
               "[PARAM]\r\nLATER=1\r\n");
    EXPECT_EQ(read(u"CB1"), u"1");  // first section, first key, spaces dropped, any case
    EXPECT_EQ(read(u"Q1"), u"quoted ");
    EXPECT_EQ(read(u"Q2"), u"single");
    EXPECT_EQ(read(u"Q3"), u"\"unbalanced");
    EXPECT_EQ(read(u"EMPTY"), u"");
    EXPECT_EQ(read(u"PATH"), u"C:\\データ");
    EXPECT_EQ(read(u"LATER"), u"def");  // only the first [PARAM] counts
}

TEST_F(IniFile, WritingCreatesReplacesAndKeepsOtherLines) {
    write(u"SAVEFDR", u"C:\\保存");
    EXPECT_EQ(readBytes(file()), "[PARAM]\r\nSAVEFDR=C:\\\x95\xDB\x91\xB6\r\n");
    writeBytes(file(), "; note\r\n[PARAM]\r\nCB1=0\r\nSpec=1\r\n\r\n[X]\r\ny=\xFF\r\n");
    write(u"cb1", u"1");
    write(u"SAVEFDR", u"");
    EXPECT_EQ(readBytes(file()), "; note\r\n[PARAM]\r\ncb1=1\r\nSpec=1\r\nSAVEFDR=\r\n\r\n[X]\r\ny=\xFF\r\n");
    EXPECT_EQ(read(u"SAVEFDR"), u"");  // an empty value is present, not the default
    write(u"A", u" spaced ");
    EXPECT_EQ(read(u"A"), u"spaced");
}

TEST_F(IniFile, NewSectionGoesAtTheEndAfterALineWithoutBreak) {
    writeBytes(file(), "[X]\r\na=1");
    write(u"CB1", u"-1");
    EXPECT_EQ(readBytes(file()), "[X]\r\na=1\r\n[PARAM]\r\nCB1=-1\r\n");
}

TEST_F(IniFile, Utf16FileStaysUtf16) {
    const std::string bom = "\xFF\xFE";
    writeBytes(file(), bom + utf16ToUtf16le(u"[PARAM]\r\nSpec=2"));
    EXPECT_EQ(read(u"Spec"), u"2");  // no line end after the last line
    write(u"CB1", u"1");
    EXPECT_EQ(readBytes(file()), bom + utf16ToUtf16le(u"[PARAM]\r\nSpec=2\r\nCB1=1\r\n"));
}

TEST_F(IniFile, OddByteAtTheEndOfAUtf16FileIsDropped) {
    // Half a unit at the end: what is written after it must stay readable as UTF-16.
    const std::string bom = "\xFF\xFE";
    writeBytes(file(), bom + utf16ToUtf16le(u"[X]\r\nA=1") + "B");
    write(u"CB1", u"1");
    EXPECT_EQ(read(u"CB1"), u"1");
    EXPECT_EQ(IFReadIniStr(file(), u"X", u"A", u"def"), u"1");
    EXPECT_EQ(readBytes(file()), bom + utf16ToUtf16le(u"[X]\r\nA=1\r\n[PARAM]\r\nCB1=1\r\n"));
}

TEST_F(IniFile, ValuesAreCutTo2047Characters) {
    writeBytes(file(), "[PARAM]\r\nBIG=" + std::string(100000, 'v') + "\r\n");
    EXPECT_EQ(read(u"BIG"), std::u16string(2047, u'v'));
}

TEST_F(IniFile, BrokenFilesReadWithoutFailing) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>(i * 37 % 256));
    writeBytes(file(), binary);
    EXPECT_EQ(read(u"CB1"), u"def");
    writeBytes(file(), "[PAR");
    EXPECT_EQ(read(u"CB1"), u"def");
    writeBytes(file(), std::string("\xFF\xFE[\0P\0", 5));  // UTF-16 cut in a character
    EXPECT_EQ(read(u"CB1"), u"def");
    std::filesystem::remove(file());
    std::filesystem::create_directory(file());
    EXPECT_EQ(read(u"CB1"), u"def");
}

TEST_F(IniFile, AFailedWriteNamesTheFileAndChangesNothing) {
    const auto blocked = dir_ / "blocked";
    writeBytes(blocked, "a file where a folder should be");
    try {
        IFWriteIniStr(blocked / "user.ini", u"PARAM", u"CB1", u"1");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(e.message().find(u"user.ini"), std::u16string::npos);
    }
    EXPECT_EQ(readBytes(blocked), "a file where a folder should be");
}

TEST_F(IniFile, SettingsUseUserIniInTheProgramFolder) {
    Settings settings(dir_.path());
    settings.write(u"Spec", u"2 ");
    EXPECT_EQ(settings.read(u"Spec"), u"2");
    EXPECT_EQ(settings.file(), dir_ / "user.ini");
}

#ifdef _WIN32
// user.ini as Windows' own profile functions write and read it: in UTF-16 when the file
// begins with a byte-order mark, in the ANSI code page (932 on a Japanese Windows) when it
// does not. What either side writes, the other reads back unchanged.
TEST_F(IniFile, WindowsProfileFunctionsAndOursReadEachOther) {
    const std::wstring values[] = {L"1", L"C:\\データ フォルダ\\出力", L"山田 クリニック"};
    for (const bool utf16 : {true, false}) {
        SCOPED_TRACE(utf16 ? "UTF-16" : "code page 932");
        writeBytes(file(), utf16 ? "\xFF\xFE" + utf16ToUtf16le(u"[PARAM]\r\n") : "[PARAM]\r\n");
        const std::wstring path = file().wstring();
        for (const auto& value : values) {
            ASSERT_TRUE(WritePrivateProfileStringW(L"PARAM", L"Windows", value.c_str(), path.c_str()));
            EXPECT_EQ(read(u"Windows"), std::u16string(value.begin(), value.end()));

            write(u"Ours", std::u16string(value.begin(), value.end()));
            wchar_t back[256] = {};
            GetPrivateProfileStringW(L"PARAM", L"Ours", L"none", back, 256, path.c_str());
            EXPECT_EQ(std::wstring(back), value);
        }
        EXPECT_EQ(readBytes(file()).rfind("\xFF\xFE", 0) == 0, utf16);  // the encoding stays
    }
}
#endif

}  // namespace
}  // namespace vask
