// Loading the stored skin settings into the (recording) skin engine, and
// storing the dialog's entries, through the real config.ini.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

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

TEST_F(SkinSettingsTest, SaveStoresValuesBetweenMinus180And180AndTransparenciesItApplies) {
  WriteConfig("[Options]\r\nSkinAlpha=7\r\nSkinHue=8\r\n");
  const wchar_t* hues[] = {L"200", L"180", L"-180", L"1e300"};
  const wchar_t* alphas[] = {L"250", L"249.5", L"-180", L"1e300"};
  for (int i = 0; i < 4; ++i) {
    Save(L"", alphas[i], hues[i]);
    EXPECT_EQ("[Options]\r\nSkinAlpha=7\r\nSkinHue=8\r\n", ConfigBytes()) << Utf8(hues[i]);
  }
  // Save applies 200 (1 to 249 once rounded), so it is kept for the next start.
  Save(L"", L"200", L"200");
  EXPECT_EQ("[Options]\r\nSkinAlpha=200\r\nSkinHue=8\r\n", ConfigBytes());
  EXPECT_EQ((Trace{Aero(200), Hsv(8)}), Load());
  Save(L"", L"249.4", L"");
  EXPECT_EQ(L"249.4", Stored(L"SkinAlpha"));
  EXPECT_EQ((Trace{Aero(249), Hsv(8)}), Load());

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

// --- save replaces config.ini in one step ---

TEST_F(SkinSettingsTest, AReaderSeesConfigIniWholeBeforeOrAfterEverySave) {
  // A large file of other sections, with [Options] at its end.
  std::string others;
  for (int i = 0; i < 20000; ++i) {
    others += "[S" + std::to_string(i) + "]\r\nk=" + std::string(40, 'v') + "\r\n";
  }
  const std::string hue1 = others + "[Options]\r\nSkinHue=1\r\n";
  const std::string hue2 = others + "[Options]\r\nSkinHue=2\r\n";
  const std::string hue3 = others + "[Options]\r\nSkinHue=3\r\n";
  WriteConfig(hue1);

  // Reads now and then: while it holds the file open, a Save may find
  // the file in use and leave it as it was, which is allowed.
  std::atomic<bool> stop{false};
  std::atomic<int> reads{0}, torn{0};
  std::thread reader([&] {
    while (!stop) {
      const std::string bytes = ReadShared(ConfigPath());
      ++reads;
      if (bytes != hue1 && bytes != hue2 && bytes != hue3) ++torn;
      Sleep(3);
    }
  });
  for (int i = 0; i < 6; ++i) Save(L"", L"", i % 2 ? L"3" : L"2");
  stop = true;
  reader.join();
  EXPECT_EQ(0, torn.load()) << "of " << reads.load() << " reads";
  EXPECT_LT(0, reads.load());

  Save(L"", L"", L"2");
  EXPECT_TRUE(ConfigBytes() == hue2) << ConfigBytes().size() << " bytes";
  EXPECT_EQ(std::vector<std::wstring>{L"config.ini"}, ConfigFiles());
}

TEST_F(SkinSettingsTest, WhenTheReplaceFailsConfigIniStaysAsItWasAndNoCopyIsLeft) {
  const std::string config = "[Other]\r\nx=1\r\n[Options]\r\nSkinName=Old\r\nSkinHue=1\r\n";
  WriteConfig(config);
  // Another program reads the file and keeps it from being renamed over.
  HANDLE lock = CreateFileW(ConfigPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);
  Save(L"New", L"2", L"3");
  CloseHandle(lock);
  EXPECT_EQ(config, ConfigBytes());
  EXPECT_EQ(std::vector<std::wstring>{L"config.ini"}, ConfigFiles());
  EXPECT_EQ((Trace{Hsv(1)}), Load());

  // The next Save goes through, keeps the other section and the file's marks.
  SetFileAttributesW(ConfigPath().c_str(), FILE_ATTRIBUTE_SYSTEM);
  Save(L"New", L"2", L"3");
  EXPECT_EQ("[Other]\r\nx=1\r\n[Options]\r\nSkinName=New\r\nSkinHue=3\r\nSkinAlpha=2\r\n",
            ConfigBytes());
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM),
            GetFileAttributesW(ConfigPath().c_str()) & ~FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(std::vector<std::wstring>{L"config.ini"}, ConfigFiles());
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

TEST_F(SkinSettingsTest, ASkinNameWithFolderPartsAttachesNothing) {
  const std::string config = "[Options]\r\nSkinName=..\\..\\x\r\nSkinHue=5\r\n";
  WriteConfig(config);
  EXPECT_EQ(Trace{Hsv(5)}, Load());
  EXPECT_EQ(config, ConfigBytes());

  WriteConfig("[Options]\r\nSkinName=*\r\nSkinHue=5\r\n");
  MakeSkin(L"Blue");
  EXPECT_EQ(Trace{Hsv(5)}, Load());

  // Skin files that do exist, reached through such names, stay unattached.
  WriteBytes(InApp(L"outside.she"), "skin");
  CreateDirectoryW(InApp(L"Skin\\sub").c_str(), nullptr);
  WriteBytes(InApp(L"Skin\\sub\\Blue.she"), "skin");
  for (const std::wstring& name : {std::wstring(L"..\\outside"), std::wstring(L"../outside"),
                                   std::wstring(L"sub\\Blue"), std::wstring(L"sub/Blue")}) {
    WriteConfig("[Options]\r\nSkinName=" + Gbk(name) + "\r\nSkinAlpha=9\r\nSkinHue=5\r\n");
    EXPECT_EQ((Trace{Aero(9), Hsv(5)}), Load()) << Utf8(name);
  }
  DeleteFileW(InApp(L"outside.she").c_str());
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
