// Loading the stored skin settings into the (recording) skin engine, and
// storing the dialog's entries, through the real config.ini.
#include <gtest/gtest.h>
#include <windows.h>

#include "settings/SetIni.h"
#include "settings_files.h"
#include "skins/frmSkin.h"
#include "skins/skin_settings.h"
#include "support/wine_test.h"

using namespace wine_test;
using namespace settings_test;
using Trace = std::vector<std::string>;

namespace {

std::string Aero(int level) {
  return "SkinH_AdjustAero|" + std::to_string(level) + "|120|10|8|0|0|0|0|0";
}
std::string Hsv(int hue) { return "SkinH_AdjustHSV|" + std::to_string(hue) + "|0|0"; }
std::string AttachEx(const std::wstring& path) { return "SkinH_AttachEx|" + Gbk(path) + "|"; }

std::wstring Stored(const wchar_t* key) {
  return std::get<std::wstring>(SetIni::ReadIni(ConfigPath(), L"Options", key));
}

class SkinSettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    RemoveConfig();
    RemoveTree(InApp(L"Skin"));
    ClearEngineTrace();
  }
  void TearDown() override {
    RemoveConfig();
    RemoveTree(InApp(L"Skin"));
    frmSkin.Reset();
    Pump(20);
  }
  // What the start-up load asks of the skin engine.
  Trace Load() {
    ClearEngineTrace();
    frmSkin->SetText(0);
    return EngineTrace();
  }
  void Save(const std::wstring& list, const std::wstring& text2, const std::wstring& text1) {
    skins::SaveSkinSettings(list, text2, text1);
  }
};

}  // namespace

// --- load ---

TEST_F(SkinSettingsTest, WithoutASettingsFileLoadAppliesNothing) {
  MakeSkin(L"");  // Skin\.she, which a file without SkinName would attach
  EXPECT_EQ(Trace{}, Load());

  // A folder, or a hidden file, named config.ini is no settings file.
  ASSERT_TRUE(CreateDirectoryW(ConfigPath().c_str(), nullptr));
  EXPECT_EQ(Trace{}, Load());
  RemoveConfig();
  WriteConfig("[Options]\r\nSkinHue=30\r\n");
  SetFileAttributesW(ConfigPath().c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Trace{}, Load());
}

TEST_F(SkinSettingsTest, StoredSkinTransparencyAndHueAreAppliedInThatOrder) {
  const std::wstring skin = MakeSkin(L"蓝色经典");
  WriteConfig("[Options]\r\nSkinName=" + Gbk(L"蓝色经典") + "\r\nSkinAlpha=100\r\nSkinHue=-30\r\n");
  EXPECT_EQ((Trace{AttachEx(skin), Aero(100), Hsv(-30)}), Load());
}

TEST_F(SkinSettingsTest, HueAloneAppliesOnlyTheHue) {
  WriteConfig("[Options]\r\nSkinHue=30\r\n");
  EXPECT_EQ(Trace{Hsv(30)}, Load());

  // Without SkinName the skin path is Skin\.she, attached when the listing
  // gives it. Wine hides every name that starts with "." whatever its
  // attributes say; Windows lists it as a normal file.
  const std::wstring nameless = MakeSkin(L"");
  SetFileAttributesW(nameless.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (GetFileAttributesW(nameless.c_str()) & FILE_ATTRIBUTE_HIDDEN) {
    EXPECT_EQ(Trace{Hsv(30)}, Load());
  } else {
    EXPECT_EQ((Trace{AttachEx(nameless), Hsv(30)}), Load());
  }
}

TEST_F(SkinSettingsTest, StoredNumbersRoundHalfToEvenAndTextsWithoutOneGiveZero) {
  WriteConfig("[Options]\r\nSkinAlpha=12.5\r\nSkinHue=13.5\r\n");
  EXPECT_EQ((Trace{Aero(12), Hsv(14)}), Load());
  WriteConfig("[Options]\r\nSkinAlpha=-179.5\r\nSkinHue=abc\r\n");
  EXPECT_EQ((Trace{Aero(-180), Hsv(0)}), Load());
  // Load tests no bounds of its own.
  WriteConfig("[Options]\r\nSkinAlpha=255\r\nSkinHue=32767\r\n");
  EXPECT_EQ((Trace{Aero(255), Hsv(32767)}), Load());
}

TEST_F(SkinSettingsTest, ASkinWhoseFileIsGoneIsSkippedTheRestStillApplies) {
  const std::wstring skin = MakeSkin(L"Blue");
  WriteConfig("[Options]\r\nSkinName=Blue\r\nSkinAlpha=50\r\nSkinHue=20\r\n");
  ASSERT_EQ((Trace{AttachEx(skin), Aero(50), Hsv(20)}), Load());

  DeleteFileW(skin.c_str());
  EXPECT_EQ((Trace{Aero(50), Hsv(20)}), Load());

  // A hidden skin file counts as no file, as in the dialog's list.
  MakeSkin(L"Blue");
  SetFileAttributesW(skin.c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ((Trace{Aero(50), Hsv(20)}), Load());
}

TEST_F(SkinSettingsTest, ModesOtherThanLoadAndSaveDoNothing) {
  MakeSkin(L"Blue");
  WriteConfig("[Options]\r\nSkinName=Blue\r\nSkinHue=20\r\n");
  for (int16_t mode : {2, -1, 255}) {
    ClearEngineTrace();
    frmSkin->SetText(mode);
    EXPECT_EQ(Trace{}, EngineTrace()) << mode;
  }
  EXPECT_EQ("[Options]\r\nSkinName=Blue\r\nSkinHue=20\r\n", ConfigBytes());
  EXPECT_FALSE(frmSkin->IsLoaded());
}

// --- save ---

TEST_F(SkinSettingsTest, SaveStoresOnlyValuesStrictlyBetweenMinus180And180) {
  WriteConfig("[Options]\r\nSkinAlpha=7\r\nSkinHue=8\r\n");
  for (const wchar_t* outside : {L"200", L"180", L"-180", L"1e300"}) {
    Save(L"", outside, outside);
    EXPECT_EQ("[Options]\r\nSkinAlpha=7\r\nSkinHue=8\r\n", ConfigBytes()) << Utf8(outside);
  }

  Save(L"", L"179.9", L"179.7");
  EXPECT_EQ(L"179.9", Stored(L"SkinAlpha"));
  EXPECT_EQ(L"179.7", Stored(L"SkinHue"));
  Save(L"", L"-5", L"abc");
  EXPECT_EQ(L"-5", Stored(L"SkinAlpha"));
  EXPECT_EQ(L"0", Stored(L"SkinHue"));
}

TEST_F(SkinSettingsTest, SavedValuesAreWhatTheNextStartApplies) {
  const std::wstring skin = MakeSkin(L"蓝色");
  Save(L"蓝色", L"-5", L"179.7");
  EXPECT_EQ("[Options]\r\nSkinName=" + Gbk(L"蓝色") + "\r\nSkinAlpha=-5\r\nSkinHue=179.7\r\n",
            ConfigBytes());
  EXPECT_EQ((Trace{AttachEx(skin), Aero(-5), Hsv(180)}), Load());
}

TEST_F(SkinSettingsTest, EmptyEntriesStoreAtMostTheSkinName) {
  Save(L"", L"", L"");
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(ConfigPath().c_str()));

  Save(L"Blue", L"", L"");
  EXPECT_EQ("[Options]\r\nSkinName=Blue\r\n", ConfigBytes());
}

TEST_F(SkinSettingsTest, NoSkinSelectedLeavesTheStoredNameAlone) {
  WriteConfig("[Options]\r\nSkinName=Old\r\n");
  Save(L"", L"10", L"20");
  EXPECT_EQ(L"Old", Stored(L"SkinName"));
  EXPECT_EQ(L"10", Stored(L"SkinAlpha"));
  EXPECT_EQ(L"20", Stored(L"SkinHue"));
}

// --- a config.ini that is not as save writes it ---

TEST_F(SkinSettingsTest, EmptyOrForeignFilesApplyNothingAndSaveAddsToThem) {
  WriteConfig("");
  EXPECT_EQ(Trace{}, Load());
  Save(L"Blue", L"1", L"2");
  EXPECT_EQ(L"Blue", Stored(L"SkinName"));

  // Another section's keys are not ours and stay where they are.
  WriteConfig("[Other]\r\nSkinHue=30\r\n");
  EXPECT_EQ(Trace{}, Load());
  Save(L"", L"", L"5");
  EXPECT_EQ(L"5", Stored(L"SkinHue"));
  EXPECT_EQ(L"30", std::get<std::wstring>(SetIni::ReadIni(ConfigPath(), L"Other", L"SkinHue")));
}

TEST_F(SkinSettingsTest, BinaryGarbageIsReadWithoutHarm) {
  std::string garbage;
  unsigned seed = 12345;
  for (int i = 0; i < 3000; ++i) {
    seed = seed * 1103515245 + 12345;
    garbage += static_cast<char>((seed >> 16) & 0xFF);
  }
  garbage[0] = 'G';  // not a byte-order mark
  WriteConfig(garbage);
  EXPECT_EQ(Trace{}, Load());
  EXPECT_EQ(garbage, ConfigBytes());  // load never writes

  Save(L"Blue", L"", L"-7");
  EXPECT_EQ(L"Blue", Stored(L"SkinName"));
  EXPECT_EQ(L"-7", Stored(L"SkinHue"));
  EXPECT_EQ((Trace{Hsv(-7)}), Load());
}

TEST_F(SkinSettingsTest, ARepeatedKeyUsesTheFirstAndSaveKeepsOneOfThem) {
  WriteConfig("[Options]\r\nSkinHue=30\r\nSkinHue=60\r\n");
  EXPECT_EQ(Trace{Hsv(30)}, Load());
  Save(L"", L"", L"10");
  EXPECT_EQ(L"10", Stored(L"SkinHue"));
  EXPECT_EQ((Trace{Hsv(10)}), Load());
}

TEST_F(SkinSettingsTest, HugeValuesAndValuesOfSpacesOnly) {
  WriteConfig("[Options]\r\nSkinName=" + std::string(10000, 'x') + "\r\nSkinAlpha=" +
              std::string(10000, ' ') + "\r\nSkinHue=7" + std::string(9999, 'x') + "\r\n");
  EXPECT_EQ(Trace{Hsv(7)}, Load());

  WriteConfig("[Options]\r\nSkinAlpha=1" + std::string(9999, '0') + "\r\nSkinHue=    \r\n");
  EXPECT_EQ(Trace{}, Load());
}

TEST_F(SkinSettingsTest, StoredValuesBeyondSixteenBitsAreSkipped) {
  WriteConfig("[Options]\r\nSkinAlpha=-99999\r\nSkinHue=1e300\r\n");
  EXPECT_EQ(Trace{}, Load());
  WriteConfig("[Options]\r\nSkinAlpha=32768\r\nSkinHue=-32768\r\n");
  EXPECT_EQ(Trace{Hsv(-32768)}, Load());
}

TEST_F(SkinSettingsTest, ASkinNameWithFolderPartsOnlyReachesTheFileTest) {
  const std::string config = "[Options]\r\nSkinName=..\\..\\x\r\nSkinHue=5\r\n";
  WriteConfig(config);
  EXPECT_EQ(Trace{Hsv(5)}, Load());
  EXPECT_EQ(config, ConfigBytes());

  WriteConfig("[Options]\r\nSkinName=*\r\nSkinHue=5\r\n");
  MakeSkin(L"Blue");
  EXPECT_EQ(Trace{Hsv(5)}, Load());
}

TEST_F(SkinSettingsTest, AReadOnlyOrLockedFileKeepsItsContentWhenSaving) {
  const std::string config = "[Options]\r\nSkinName=Old\r\nSkinHue=1\r\n";
  WriteConfig(config);
  SetFileAttributesW(ConfigPath().c_str(), FILE_ATTRIBUTE_READONLY);
  Save(L"New", L"2", L"3");
  EXPECT_EQ(config, ConfigBytes());
  EXPECT_EQ(L"Old", Stored(L"SkinName"));
  EXPECT_EQ(L"", Stored(L"SkinAlpha"));
  SetFileAttributesW(ConfigPath().c_str(), FILE_ATTRIBUTE_NORMAL);

  WriteConfig(config);
  HANDLE lock =
      CreateFileW(ConfigPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);
  Save(L"New", L"2", L"3");
  CloseHandle(lock);
  EXPECT_EQ(config, ConfigBytes());
  EXPECT_EQ(L"Old", Stored(L"SkinName"));
  EXPECT_EQ((Trace{Hsv(1)}), Load());
}
