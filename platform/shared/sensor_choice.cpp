// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/sensor_choice.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string_view>

#include "platform/shared/ascii.h"

namespace platform {
namespace {

bool IsDigitOrPoint(char c) { return (c >= '0' && c <= '9') || c == '.' || c == ','; }

// True when `label` (lower case) contains one of the patterns. A pattern that
// begins with a digit must not continue a number: "5v" is not found in
// "1.05v", nor "12v" in "112v".
bool ContainsAny(const std::string& label, std::initializer_list<std::string_view> patterns) {
  for (std::string_view pattern : patterns) {
    for (std::size_t at = label.find(pattern); at != std::string::npos;
         at = label.find(pattern, at + 1)) {
      const bool leads_with_digit = pattern.front() >= '0' && pattern.front() <= '9';
      if (!leads_with_digit || at == 0 || !IsDigitOrPoint(label[at - 1])) return true;
    }
  }
  return false;
}

// Standby rails ("3VSB", "+3.3VSB", "5VSB", "5V Standby") feed the board
// while it is off; they are never the main rails.
bool IsStandby(const std::string& label) {
  return label.find("vsb") != std::string::npos || label.find("standby") != std::string::npos ||
         label.find("stby") != std::string::npos;
}

bool EqualsAny(const std::string& label, std::initializer_list<std::string_view> words) {
  return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return label == w; });
}

// A CPU temperature other than one core's: LibreHardwareMonitor's per-core
// "CPU Core #1" give way to its "CPU Package".
bool NamesCpu(const std::string& label) {
  return ContainsAny(label, {"cpu"}) && !ContainsAny(label, {"cpu core #"});
}

// AMD's control temperature as LibreHardwareMonitor names it.
bool IsAmdCoreTemp(const std::string& label) {
  return EqualsAny(label, {"core (tctl/tdie)", "core (tctl)", "core (tdie)"});
}

using Match = std::function<bool(const FeatureCandidate&, const std::string& label)>;

std::optional<std::size_t> FirstMatch(const std::vector<FeatureCandidate>& features,
                                      FeatureKind kind, const Match& match) {
  for (std::size_t i = 0; i < features.size(); ++i) {
    if (features[i].kind == kind && match(features[i], AsciiLower(features[i].label))) return i;
  }
  return std::nullopt;
}

// Tries the passes in order; the first that finds a feature wins.
std::optional<std::size_t> FirstOfPasses(const std::vector<FeatureCandidate>& features,
                                         FeatureKind kind, std::initializer_list<Match> passes) {
  for (const Match& pass : passes) {
    if (auto found = FirstMatch(features, kind, pass)) return found;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> ChooseFeature(Reading reading,
                                         const std::vector<FeatureCandidate>& features) {
  const auto& f = features;
  switch (reading) {
    case Reading::kCpuTemperature:
      return FirstOfPasses(
          f, FeatureKind::kTemperature,
          {[](const FeatureCandidate&, const std::string& l) { return NamesCpu(l); },
           [](const FeatureCandidate& c, const std::string& l) {
             return (c.chip == "k10temp" && EqualsAny(l, {"tctl", "tdie"})) || IsAmdCoreTemp(l);
           },
           [](const FeatureCandidate& c, const std::string& l) {
             return c.chip == "coretemp" && l == "package id 0";
           }});
    case Reading::kBoardTemperature:
      return FirstMatch(f, FeatureKind::kTemperature, [](const auto&, const std::string& l) {
        return ContainsAny(l, {"motherboard", "mb temp", "systin", "system"});
      });
    case Reading::kCoreVoltage:
      return FirstOfPasses(
          f, FeatureKind::kVoltage,
          {[](const FeatureCandidate&, const std::string& l) {
             return EqualsAny(l, {"vcore", "cpu core", "cpu core voltage", "cpu vcore"}) ||
                    ContainsAny(l, {"core voltage", "core (svi"});
           },
           [](const FeatureCandidate& c, const std::string&) { return c.name == "in0"; }});
    case Reading::kRail3V3:
      return FirstMatch(f, FeatureKind::kVoltage, [](const auto&, const std::string& l) {
        return ContainsAny(l, {"3.3v", "3.3 v", "+3.3", "3vcc"}) && !IsStandby(l);
      });
    case Reading::kRail5V:
      return FirstMatch(f, FeatureKind::kVoltage, [](const auto&, const std::string& l) {
        return ContainsAny(l, {"+5v", "5v", "5 v"}) && !IsStandby(l);
      });
    case Reading::kRail12V:
      return FirstMatch(f, FeatureKind::kVoltage, [](const auto&, const std::string& l) {
        return ContainsAny(l, {"12v", "12 v"});
      });
    case Reading::kCpuFan:
      return FirstOfPasses(
          f, FeatureKind::kFan,
          {[](const FeatureCandidate&, const std::string& l) { return ContainsAny(l, {"cpu"}); },
           [](const FeatureCandidate& c, const std::string& l) {
             return c.name == "fan1" || l == "fan #1";
           }});
  }
  return std::nullopt;
}

}  // namespace platform
