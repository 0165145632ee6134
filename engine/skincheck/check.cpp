#include "skincheck/check.h"

#include <algorithm>
#include <cstdio>

#include "skin/states.h"

namespace skincheck {

namespace {

using skin::Rgb;
using skin::Role;
using skin::StateColors;

// A finding with the line it is about; 0 for the file as a whole.
struct Finding {
  int line;
  std::string text;
};

// The colours the state rules may draw otherwise than the file writes
// them, and what each rule asks (docs/skin-format.md, "States the engine
// draws"). Which colour is drawn is DesignStates' decision alone.
struct StateKey {
  Role role;
  Rgb StateColors::*drawn;
  const char* rule;
};
constexpr StateKey kStateKeys[] = {
    {Role::CaptionInactive, &StateColors::caption_inactive,
     "inactive title band 1.35:1 off face and 1.2:1 off caption_active, its text 4.5:1"},
    {Role::ButtonHover, &StateColors::button_hover, "push button hover 1.2:1 off button_face"},
    {Role::ButtonPressed, &StateColors::button_pressed,
     "push button pressed 1.4:1 off button_face, button_text 4.5:1 on it"},
    {Role::ScrollTrack, &StateColors::scroll_track, "scroll channel 1.3:1 off window"},
    {Role::ScrollThumb, &StateColors::scroll_thumb, "scroll thumb 3:1 off the channel"},
    {Role::Border, &StateColors::edge, "window edge 3:1 off black and off white"},
};

std::string Hex(Rgb c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", c.r, c.g, c.b);
  return text;
}

std::string Ratio(double ratio) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2f:1", ratio);
  return text;
}

std::string Hue(int hue) { return hue > 0 ? "+" + std::to_string(hue) : std::to_string(hue); }

std::string Key(Role role) { return std::string(skin::RoleKey(role)); }

std::string RuleName(skin::DeriveRule rule) {
  return rule == skin::DeriveRule::Text ? "text 7:1" : "lines 3:1";
}

std::string PairText(const skin::RulePair& pair) {
  const char* between = pair.rule == skin::DeriveRule::Text ? " on " : " against ";
  return Key(pair.first) + between + Key(pair.second);
}

// Pictures in the engine's order, each judged as the engine judges it.
void CheckPictures(const skin::Skin& skin, const skin::SkinReport& report,
                   const PictureReader& read, std::vector<Finding>* findings) {
  uint64_t budget = skin::kMaxSkinPictureBytes;
  for (size_t i = 0; i < skin::kImagePartCount; i++) {
    const auto& layout = skin.images[i];
    if (!layout) continue;
    std::vector<uint8_t> bytes;
    skin::PngFault fault = skin::PngFault::None;
    skin::PictureVerdict verdict = read(layout->file, &bytes);
    if (verdict == skin::PictureVerdict::Used) {
      verdict = skin::JudgePicture(*layout, bytes.data(), bytes.size(), &budget, nullptr, &fault);
    }
    if (verdict == skin::PictureVerdict::Used) continue;
    std::string text = std::string(skin::ImageKey(static_cast<skin::ImagePart>(i))) + ": " +
                       layout->file +
                       " not used: " + std::string(skin::PictureVerdictText(verdict));
    if (verdict == skin::PictureVerdict::Damaged)
      text += " (" + std::string(skin::PngFaultText(fault)) + ")";
    findings->push_back({report.image_lines[i], text});
  }
}

// Colours the file writes that the state rules draw otherwise, unshifted.
void CheckStates(const skin::Skin& skin, const skin::SkinReport& report,
                 std::vector<Finding>* findings) {
  const StateColors states = skin::DesignStates(skin.palette);
  for (const StateKey& key : kStateKeys) {
    const int line = report.colour_lines[static_cast<size_t>(key.role)];
    const Rgb written = skin.palette[key.role], drawn = states.*key.drawn;
    if (line == 0 || drawn == written) continue;
    findings->push_back(
        {line, Key(key.role) + " " + Hex(written) + " drawn " + Hex(drawn) + ": " + key.rule});
  }
}

void CheckDerived(const skin::SkinReport& report, std::vector<Finding>* findings) {
  for (const skin::DerivedMove& move : report.derived.moves) {
    findings->push_back({0, Key(move.role) + " (not in the file, from " + Hex(move.from) +
                                ") drawn " + Hex(move.drawn) + ": " + RuleName(move.rule) +
                                (move.rule == skin::DeriveRule::Text ? " with " : " against ") +
                                Key(move.against)});
  }
}

// Hues from 0 outward, the positive first: of several as bad, the
// smallest shift is named.
template <typename Visit>
void EachHue(Visit visit) {
  visit(0);
  for (int step = 1; step <= 180; step++) {
    visit(step);
    if (step < 180) visit(-step);
  }
}

// The worst hue of each rule the derivation holds, and of the state steps.
void WorstHues(const skin::Skin& skin, const skin::SkinReport& report,
               std::vector<std::string>* lines) {
  for (skin::DeriveRule rule : {skin::DeriveRule::Text, skin::DeriveRule::Line}) {
    double worst = 1e9;
    int worst_hue = 0;
    const skin::RulePair* worst_pair = nullptr;
    for (const skin::RulePair& pair : report.derived.pairs) {
      if (pair.rule != rule) continue;
      int hue = 0;
      const double ratio =
          skin::WorstContrast(skin.palette[pair.first], skin.palette[pair.second], &hue);
      if (ratio < worst) worst = ratio, worst_hue = hue, worst_pair = &pair;
    }
    if (!worst_pair) continue;
    std::string line = "worst hue for " + RuleName(rule) + ": " + Hue(worst_hue) + ", " +
                       PairText(*worst_pair) + " " + Ratio(worst);
    if (worst < skin::RuleRatio(rule)) line += ", below the rule";
    lines->push_back(line);
  }

  // The state steps at every hue: how far the engine moves a written colour.
  double farthest = 1;
  std::string worst;
  EachHue([&](int hue) {
    const skin::Palette shifted = skin::AdjustPalette(skin.palette, {hue, 0, 0});
    const StateColors states = skin::DesignStates(shifted);
    for (const StateKey& key : kStateKeys) {
      if (report.colour_lines[static_cast<size_t>(key.role)] == 0) continue;
      const Rgb written = shifted[key.role], drawn = states.*key.drawn;
      const double apart = skin::ContrastRatio(written, drawn);
      if (written != drawn && (worst.empty() || apart > farthest)) {
        farthest = apart;
        worst = "worst hue for the state steps: " + Hue(hue) + ", " + Key(key.role) + " " +
                Hex(written) + " drawn " + Hex(drawn) + " (" + Ratio(apart) + " off)";
      }
    }
  });
  lines->push_back(worst.empty() ? "state steps: every written colour kept at every hue" : worst);
}

std::string Located(std::string_view label, int line) {
  std::string text(label);
  if (line > 0) text += ":" + std::to_string(line);
  return text + ": ";
}

}  // namespace

int ExitCode(Verdict verdict) { return static_cast<int>(verdict); }

Result CheckSkin(std::string_view label, std::string_view text, const PictureReader& read) {
  Result result;
  skin::Skin skin;
  skin::SkinReport report;
  const bool loads = skin::ParseSkin(text, &skin, nullptr, &report);

  std::vector<Finding> findings;
  for (const skin::ParseError& fault : report.faults)
    findings.push_back({fault.line, fault.message});
  if (loads) {
    if (skin.version >= 2) CheckPictures(skin, report, read, &findings);
    CheckStates(skin, report, &findings);
    result.changes = static_cast<int>(findings.size());
    CheckDerived(report, &findings);
  }
  // In the order of the file; what is about the whole file after.
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return (a.line == 0 ? INT32_MAX : a.line) < (b.line == 0 ? INT32_MAX : b.line);
  });
  for (const Finding& f : findings) result.lines.push_back(Located(label, f.line) + f.text);

  std::string verdict;
  if (!loads) {
    result.verdict = Verdict::Refused;
    verdict = "refused";
  } else {
    std::vector<std::string> hues;
    WorstHues(skin, report, &hues);
    for (const std::string& line : hues) result.lines.push_back(Located(label, 0) + line);
    result.verdict = result.changes ? Verdict::LoadsChanged : Verdict::Loads;
    verdict = result.changes == 0 ? "loads"
                                  : "loads with " + std::to_string(result.changes) +
                                        (result.changes == 1 ? " change" : " changes");
  }
  result.lines.push_back(Located(label, 0) + verdict);
  return result;
}

}  // namespace skincheck
