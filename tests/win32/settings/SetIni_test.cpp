// ReadIni and WriteIni through the real profile functions, with the
// Chinese ANSI code page (936) of the machines this program is made for.
#include <gtest/gtest.h>
#include <windows.h>

#include "settings/SetIni.h"
#include "settings_files.h"
#include "support/wine_test.h"

using namespace wine_test;
using SetIni::ReadIni;
using SetIni::WriteIni;

namespace {

class SetIniTest : public testing::Test {
 protected:
  void SetUp() override { RemoveTree(path); }
  void TearDown() override { RemoveTree(path); }

  std::wstring Text(const std::wstring& section, const std::wstring& key,
                    const SetIni::IniValue& defaultValue = std::wstring()) {
    return std::get<std::wstring>(ReadIni(path, section, key, defaultValue));
  }
  double Number(const std::wstring& section, const std::wstring& key) {
    return std::get<double>(ReadIni(path, section, key, std::wstring(), true));
  }
  void Store(const std::string& bytes) { settings_test::WriteFresh(path, bytes); }
  std::string Bytes() { return ReadBytes(path); }

  const std::wstring path = InApp(L"setini_test.ini");
};

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace

TEST_F(SetIniTest, MissingFileGivesTheDefaultAndIsNotCreated) {
  EXPECT_EQ(L"", Text(L"Options", L"SkinName"));
  EXPECT_EQ(0.0, Number(L"Options", L"SkinHue"));
  EXPECT_EQ(L"Blue", Text(L"Options", L"SkinName", std::wstring(L"  Blue ")));
  EXPECT_EQ(L"12.5", Text(L"Options", L"SkinHue", 12.5));
  EXPECT_EQ(12.5, std::get<double>(ReadIni(path, L"Options", L"SkinHue", 12.5, true)));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
}

TEST_F(SetIniTest, FirstWriteCreatesTheFileWithSectionAndEntry) {
  WriteIni(path, L"Options", L"SkinHue", 200.0);
  EXPECT_EQ("[Options]\r\nSkinHue=200\r\n", Bytes());
  EXPECT_EQ(L"200", Text(L"Options", L"SkinHue"));
  EXPECT_EQ(200.0, Number(L"Options", L"SkinHue"));

  WriteIni(path, L"Options", L"SkinName", std::wstring(L"Blue"));
  EXPECT_EQ(L"Blue", Text(L"Options", L"SkinName"));
  EXPECT_EQ(L"200", Text(L"Options", L"SkinHue"));
  EXPECT_EQ(1u, Count(Bytes(), "[Options]"));
}

TEST_F(SetIniTest, RewritingAKeyReplacesItsOneEntry) {
  WriteIni(path, L"Options", L"SkinAlpha", 10.0);
  WriteIni(path, L"Options", L"SkinAlpha", -5.0);
  EXPECT_EQ(L"-5", Text(L"Options", L"SkinAlpha"));
  EXPECT_EQ(1u, Count(Bytes(), "SkinAlpha="));
  EXPECT_EQ(1u, Count(Bytes(), "[Options]"));
}

TEST_F(SetIniTest, SectionAndKeyNamesIgnoreLetterCase) {
  WriteIni(path, L"Options", L"SkinName", std::wstring(L"Blue"));
  EXPECT_EQ(L"Blue", Text(L"OPTIONS", L"skinname"));
  WriteIni(path, L"options", L"SKINNAME", std::wstring(L"Red"));
  EXPECT_EQ(L"Red", Text(L"Options", L"SkinName"));
  EXPECT_EQ(1u, Count(Bytes(), "="));
  EXPECT_EQ(1u, Count(Bytes(), "["));
}

TEST_F(SetIniTest, MissingKeyGivesTheDefaultAnEmptyValueDoesNot) {
  Store("[Options]\r\nSkinName=\r\n");
  EXPECT_EQ(L"dflt", Text(L"Options", L"SkinHue", std::wstring(L"dflt")));
  EXPECT_EQ(L"dflt", Text(L"Other", L"SkinName", std::wstring(L"dflt")));
  EXPECT_EQ(L"", Text(L"Options", L"SkinName", std::wstring(L"dflt")));
}

TEST_F(SetIniTest, SpacesAroundAValueAreTrimmed) {
  Store("[Options]\r\nSkinName=   Deep Blue   \r\nSkinAlpha=      \r\nSkinHue=  30  \r\n");
  EXPECT_EQ(L"Deep Blue", Text(L"Options", L"SkinName"));
  EXPECT_EQ(L"", Text(L"Options", L"SkinAlpha", std::wstring(L"dflt")));
  EXPECT_EQ(0.0, Number(L"Options", L"SkinAlpha"));
  EXPECT_EQ(L"30", Text(L"Options", L"SkinHue"));
  EXPECT_EQ(30.0, Number(L"Options", L"SkinHue"));
}

TEST_F(SetIniTest, NumbersAreStoredAsTheirTextAndReadBackEqual) {
  WriteIni(path, L"Options", L"SkinHue", 12.5);
  WriteIni(path, L"Options", L"SkinAlpha", -15.0);
  WriteIni(path, L"Options", L"Third", 1.0 / 3.0);
  EXPECT_EQ("[Options]\r\nSkinHue=12.5\r\nSkinAlpha=-15\r\nThird=0.333333333333333\r\n", Bytes());
  for (double v : {1e300, -1e300, 1e-300, 123456789012345678.0, 1e-5}) {
    WriteIni(path, L"Options", L"Big", v);
    EXPECT_EQ(v, Number(L"Options", L"Big")) << Utf8(Text(L"Options", L"Big"));
  }
}

TEST_F(SetIniTest, LongValuesComeBackAsTheirFirst4095Bytes) {
  Store("[Options]\r\nSkinName=" + std::string(10000, 'x') +
        "\r\nSkinHue=" + std::string(4094, '7') + " 8\r\n");
  EXPECT_EQ(std::wstring(4095, L'x'), Text(L"Options", L"SkinName"));
  // The cut comes first, then the trimming: the blank before the 8 goes.
  EXPECT_EQ(std::wstring(4094, L'7'), Text(L"Options", L"SkinHue"));
}

TEST_F(SetIniTest, ACutInsideATwoByteCharacterDropsItsLeadByte) {
  const std::wstring blue = L"蓝";
  std::wstring blues;
  for (int i = 0; i < 2047; ++i) blues += blue;
  // "ab" and 2047 two-byte characters: byte 4095 is the lead byte of the last.
  Store("[Options]\r\nSkinName=ab" + Gbk(blues) + "\r\n");
  const std::wstring got = Text(L"Options", L"SkinName");
  EXPECT_EQ(L"ab" + blues.substr(0, 2046), got);
  EXPECT_EQ(std::wstring::npos, got.find_first_not_of(L"ab" + blue));

  // Just within the limit: nothing is lost.
  Store("[Options]\r\nSkinName=a" + Gbk(blues) + "\r\n");
  EXPECT_EQ(L"a" + blues, Text(L"Options", L"SkinName"));
}

TEST_F(SetIniTest, ChineseNamesAndFolderTravelInCodePage936) {
  const std::wstring folder = InApp(L"配置文件夹");
  RemoveTree(folder);
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring file = folder + L"\\config.ini";

  WriteIni(file, L"Options", L"SkinName", std::wstring(L"蓝色经典"));
  EXPECT_EQ("[Options]\r\nSkinName=" + Gbk(L"蓝色经典") + "\r\n", ReadBytes(file));
  EXPECT_EQ(L"蓝色经典", std::get<std::wstring>(ReadIni(file, L"Options", L"SkinName")));
  RemoveTree(folder);
}

TEST_F(SetIniTest, TextsThatWouldSplitTheLineAreNotWritten) {
  WriteIni(path, L"Options", L"SkinName", std::wstring(L"Blue"));
  const std::string before = Bytes();
  WriteIni(path, L"Options", L"SkinName", std::wstring(L"x\r\nSkinHue=99"));
  WriteIni(path, L"Options", L"Skin\nHue", 5.0);
  WriteIni(path, L"Options]\r\n[Other", L"SkinHue", 5.0);
  EXPECT_EQ(before, Bytes());
  EXPECT_EQ(L"", Text(L"Options", L"SkinHue"));
}

TEST_F(SetIniTest, AFilePathOutsideCodePage936IsLeftAlone) {
  const std::wstring folder = InApp(L"outside_936");
  RemoveTree(folder);
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring file = folder + L"\\\u0E01config.ini";  // a Thai letter

  WriteIni(file, L"Options", L"SkinName", std::wstring(L"Blue"));
  EXPECT_EQ(L"dflt",
            std::get<std::wstring>(ReadIni(file, L"Options", L"SkinName", std::wstring(L"dflt"))));
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*.ini").c_str(), &data);
  EXPECT_EQ(INVALID_HANDLE_VALUE, find) << "created " << Utf8(data.cFileName);
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  RemoveTree(folder);
}
