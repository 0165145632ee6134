// skincheck.exe run as a skin maker runs it: its lines and exit code for
// small files written here, a pattern, and the shipped skins.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/win_handles.h"
#include "support/wine_test.h"

namespace {

using wine_test::InApp;
using wine_test::WriteBytes;

struct Outcome {
  DWORD exit_code = 0xFFFF;
  std::string out;  // what it wrote, as bytes
};

// Runs skincheck.exe in the test's folder with `arguments`, its output to
// a file (not a console: the bytes are then in the console's code page,
// or UTF-8 where there is no console).
Outcome Skincheck(const std::wstring& arguments) {
  static int runs = 0;  // a file of its own for each run
  const std::wstring out_path = InApp(L"out" + std::to_wstring(++runs) + L".txt");
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  Outcome run;
  {
    common::File out(CreateFileW(out_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOW si = {sizeof si};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out.get();
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + InApp(L"skincheck.exe") + L"\" " + arguments;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        wine_test::AppFolder().c_str(), &si, &pi)) {
      return run;
    }
    WaitForSingleObject(pi.hProcess, 30000);
    GetExitCodeProcess(pi.hProcess, &run.exit_code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  run.out = wine_test::ReadBytes(out_path);
  return run;
}

const std::string kSix =
    "face = #E9F0F8\r\nface_text = #122A4E\r\nwindow = #FFFFFF\r\nwindow_text = #0F1F3D\r\n"
    "menu = #DCE7F4\r\nborder = #375C8D\r\n";

TEST(Skincheck, VerdictsAndExitCodesForFilesAndAPattern) {
  CreateDirectoryW(InApp(L"t").c_str(), nullptr);
  WriteBytes(InApp(L"t\\a.she"), "she = 1\r\nname = A\r\n" + kSix);
  WriteBytes(InApp(L"t\\b.she"), "she = 1\r\nname = B\r\n" + kSix + "scroll_track = #FAFAFA\r\n");
  WriteBytes(InApp(L"t\\c.she"), "she = 1\r\nname = C\r\nface = #E9F0F\r\n");

  const Outcome good = Skincheck(L"t\\a.she");
  EXPECT_EQ(good.exit_code, 0u);
  EXPECT_NE(good.out.find("t\\a.she: loads\r\n"), std::string::npos) << good.out;

  const Outcome changed = Skincheck(L"t\\b.she");
  EXPECT_EQ(changed.exit_code, 1u);
  EXPECT_NE(changed.out.find("t\\b.she:9: scroll_track #FAFAFA drawn #DBDDE2: scroll channel "
                             "1.3:1 off window\r\n"),
            std::string::npos)
      << changed.out;
  EXPECT_NE(changed.out.find("t\\b.she: loads with 1 change\r\n"), std::string::npos);

  const Outcome refused = Skincheck(L"t\\c.she");
  EXPECT_EQ(refused.exit_code, 2u);
  EXPECT_EQ(refused.out,
            "t\\c.she:3: 'face' must be #RRGGBB\r\n"
            "t\\c.she: window missing\r\nt\\c.she: window_text missing\r\n"
            "t\\c.she: face_text missing\r\nt\\c.she: menu missing\r\n"
            "t\\c.she: border missing\r\nt\\c.she: refused\r\n");

  // A pattern takes the files in the order of their names; the exit code
  // is the worst verdict.
  const Outcome all = Skincheck(L"t\\*.she");
  EXPECT_EQ(all.exit_code, 2u);
  const size_t a = all.out.find("t\\a.she: loads\r\n"), b = all.out.find("t\\b.she: loads with");
  const size_t c = all.out.find("t\\c.she: refused");
  EXPECT_TRUE(a != std::string::npos && a < b && b < c && c != std::string::npos) << all.out;

  const Outcome missing = Skincheck(L"t\\none.she t\\*.none");
  EXPECT_EQ(missing.exit_code, 2u);
  EXPECT_EQ(missing.out,
            "t\\none.she: cannot be read\r\nt\\none.she: refused\r\nt\\*.none: no such file\r\n");
}

TEST(Skincheck, APictureSkinsPicturesAreJudgedInItsFolder) {
  CreateDirectoryW(InApp(L"p").c_str(), nullptr);
  CreateDirectoryW(InApp(L"p\\g").c_str(), nullptr);
  CreateDirectoryW(InApp(L"p\\g\\dir.png").c_str(), nullptr);
  WriteBytes(InApp(L"p\\g\\bad.png"), "not a picture at all");
  WriteBytes(InApp(L"p\\g.she"), "she = 2\r\nname = G\r\n" + kSix +
                                     "image_button = gone.png, 1, 0 0 0 0\r\n"
                                     "image_check = dir.png, 1, 0 0 0 0\r\n"
                                     "image_radio = bad.png, 1, 0 0 0 0\r\n");
  const Outcome run = Skincheck(L"p\\g.she");
  EXPECT_EQ(run.exit_code, 1u);
  EXPECT_NE(run.out.find("p\\g.she:9: image_button: gone.png not used: missing\r\n"
                         "p\\g.she:10: image_check: dir.png not used: not a plain file in the "
                         "skin's folder\r\n"
                         "p\\g.she:11: image_radio: bad.png not used: damaged (too short to be a "
                         "PNG file)\r\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("p\\g.she: loads with 3 changes\r\n"), std::string::npos);
}

// Every shipped skin loads as written (no colour moved), and every picture
// of the picture skins is used.
TEST(Skincheck, ShippedSkins) {
  for (const wchar_t* name :
       {L"Graphite", L"Jade", L"Lotus", L"Midnight", L"Sand", L"\u58a8\u7af9", L"\u6731\u7802",
        L"\u9752\u82b1", L"Pearl", L"Slate", L"\u56de\u7eb9"}) {
    const Outcome run = Skincheck(L"shipped\\" + std::wstring(name) + L".she");
    EXPECT_EQ(run.exit_code, 0u) << wine_test::Utf8(name) << "\n" << run.out;
    EXPECT_EQ(run.out.find("not used"), std::string::npos) << run.out;
  }
}

}  // namespace
