// SPDX-License-Identifier: GPL-2.0-or-later
// The choice of sensors by label, on the label sets of real boards
// (tests/data/boards: NAME.features, and the choice expected in NAME.choice,
// with the features passed over for a reading that has none).
#include "platform/shared/sensor_choice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "fakes.h"

namespace {

using platform::FeatureCandidate;
using platform::FeatureKind;

std::vector<FeatureCandidate> ReadFeatures(const std::string& text) {
  static const std::map<std::string, FeatureKind> kinds = {{"temp", FeatureKind::kTemperature},
                                                           {"in", FeatureKind::kVoltage},
                                                           {"fan", FeatureKind::kFan},
                                                           {"other", FeatureKind::kOther}};
  std::vector<FeatureCandidate> features;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    FeatureCandidate feature;
    std::string kind;
    words >> feature.chip >> kind >> feature.name;
    std::getline(words >> std::ws, feature.label);
    // The value the listing shows, where it shows one: "label = 36.5", or
    // "label = N/A" for an input that cannot be read.
    if (const std::size_t is = feature.label.rfind(" = "); is != std::string::npos) {
      const std::string value = feature.label.substr(is + 3);
      feature.label.erase(is);
      feature.has_input = value != "N/A";
      if (feature.has_input) feature.value = std::stod(value);
    }
    feature.kind = kinds.at(kind);
    features.push_back(feature);
  }
  return features;
}

// Each reading's feature, or none and the features passed over, each once.
std::string Choice(const std::vector<FeatureCandidate>& features) {
  std::string choice;
  for (const platform::ReadingInfo& info : platform::kReadings) {
    const auto found = platform::ChooseFeature(info.reading, features);
    choice +=
        std::string(info.name) + ": " +
        (found.index ? features[*found.index].chip + " " + features[*found.index].name : "none") +
        "\n";
    for (const auto& passed : found.passed_over) {
      choice += "  passed over: " + features[passed.index].chip + " " +
                features[passed.index].name + ": " + passed.why + "\n";
    }
  }
  return choice;
}

TEST(SensorChoice, EachBoardsReadingsComeFromTheFeaturesItsChoiceNames) {
  int boards = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(STATUSANZEIGE_TEST_DATA) + "/boards")) {
    if (entry.path().extension() != ".features") continue;
    const std::string name = entry.path().stem().string();
    const auto features = ReadFeatures(fakes::DataFile("boards/" + name + ".features"));
    EXPECT_EQ(Choice(features), fakes::DataFile("boards/" + name + ".choice")) << name;
    ++boards;
  }
  EXPECT_GE(boards, 10);
}

}  // namespace
