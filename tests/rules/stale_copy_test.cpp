// Which copies beside the settings file a Save clears away: only those
// of a run the system says has ended, never its own, never one whose
// process cannot be looked at, never a file merely named alike.
#include "rules/stale_copy.h"

#include <gtest/gtest.h>

#include <vector>

namespace rules {
namespace {

constexpr uint32_t kSelf = 1200;

// The system's answer, and the ids it was asked about.
struct System {
  ProcessAnswer answer;
  std::vector<uint32_t> asked;
  bool Stale(const std::wstring& name) {
    return IsStaleCopy(name, L"config.ini", kSelf, [this](uint32_t id) {
      asked.push_back(id);
      return answer;
    });
  }
};

TEST(StaleCopy, OnlyACopyOfAProcessKnownToBeGoneIsRemoved) {
  struct Case {
    ProcessAnswer answer;
    bool stale;
  } cases[] = {
      {ProcessAnswer::kGone, true},
      {ProcessAnswer::kRunning, false},
      {ProcessAnswer::kCannotTell, false},  // another user's, an elevated one
  };
  for (const Case& c : cases) {
    System system{c.answer, {}};
    EXPECT_EQ(system.Stale(L"config.ini.4000000000.tmp"), c.stale) << int(c.answer);
    EXPECT_EQ(system.asked, std::vector<uint32_t>{4000000000u});
  }
}

TEST(StaleCopy, ItsOwnCopyAndOtherNamesAreNeitherAskedAboutNorRemoved) {
  const wchar_t* names[] = {
      L"config.ini.1200.tmp",  // this run's own; then no id, id 0, a leading zero, not
                               // digits, another end, another file's, no dot, a longer name
      L"config.ini..tmp", L"config.ini.0.tmp", L"config.ini.0812.tmp", L"config.ini.12a.tmp",
      L"config.ini.12.tmp.bak", L"other.ini.12.tmp", L"config.ini12.tmp", L"config.inix.12.tmp"};
  for (const wchar_t* name : names) {
    System system{ProcessAnswer::kGone, {}};
    EXPECT_FALSE(system.Stale(name)) << name;
    EXPECT_TRUE(system.asked.empty()) << name;
  }
}

TEST(StaleCopy, TheOwnerIsReadFromTheNameExactly) {
  EXPECT_EQ(CopyOwner(L"config.ini.4294967295.tmp", L"config.ini"), 4294967295u);
  EXPECT_EQ(CopyOwner(L"config.ini.7.tmp", L"config.ini"), 7u);
  EXPECT_EQ(CopyOwner(L"config.ini.4294967296.tmp", L"config.ini"), 0u);
  EXPECT_EQ(CopyOwner(L"a.b.c.31.tmp", L"a.b.c"), 31u);
}

}  // namespace
}  // namespace rules
