// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/lhm_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "fakes.h"
#include "platform/shared/sensor_values.h"

namespace {

using platform::FeatureKind;
using platform::LhmSensor;

std::string Fixture(const std::string& name) { return fakes::DataFile("lhm/" + name); }

// For each of the seven readings: "reading: description = reading", or "none".
std::string Choice(const std::string& json) {
  const auto sensors = platform::ParseLhmData(json);
  EXPECT_TRUE(sensors);
  if (!sensors) return sensors.Error().text;
  const platform::LhmChoice choice = platform::ChooseLhmSensors(*sensors);
  std::string text;
  for (const platform::ReadingInfo& info : platform::kReadings) {
    const auto& index = choice[static_cast<std::size_t>(info.reading)].index;
    text += std::string(info.name) + ": ";
    if (!index) {
      text += "none\n";
      continue;
    }
    const LhmSensor& sensor = (*sensors)[*index];
    text +=
        platform::DescribeLhmSensor(sensor) + " = " +
        (sensor.value ? std::to_string(platform::ReadingFromValue(*sensor.value)) : "no value") +
        "\n";
  }
  return text;
}

// tests/data/lhm: each NAME.json, LibreHardwareMonitor's data.json of a real
// machine (a desktop with named NCT6798D inputs, a laptop in German numbers,
// a Ryzen in Fahrenheit with numbered inputs, fans named for nothing, and
// the same without the sensors' Type, as older versions write it), and the
// sensors it chooses in NAME.choice.
TEST(LhmData, EachMachinesReadingsComeFromTheSensorsItsChoiceNames) {
  int machines = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(STATUSANZEIGE_TEST_DATA) + "/lhm")) {
    if (entry.path().extension() != ".json") continue;
    const std::string name = entry.path().stem().string();
    EXPECT_EQ(Choice(Fixture(name + ".json")), Fixture(name + ".choice")) << name;
    ++machines;
  }
  EXPECT_GE(machines, 5);
}

TEST(LhmData, EveryTemperatureVoltageAndFanOfTheFixturesHasAValue) {
  for (const char* name :
       {"nct6798d_desktop.json", "laptop_cpu_package.json", "amd_tctl_it8686e.json"}) {
    const auto sensors = platform::ParseLhmData(Fixture(name));
    ASSERT_TRUE(sensors) << name;
    int measured = 0;
    for (const LhmSensor& sensor : *sensors) {
      if (sensor.kind == FeatureKind::kOther) {
        EXPECT_FALSE(sensor.value) << name << ' ' << sensor.id;
        continue;
      }
      ++measured;
      EXPECT_TRUE(sensor.value) << name << ' ' << sensor.id << ' ' << sensor.value_text;
      EXPECT_FALSE(sensor.hardware.empty()) << name << ' ' << sensor.id;
    }
    EXPECT_GE(measured, 5) << name;
  }
}

TEST(LhmData, ValueTextsInTheirUnits) {
  struct Case {
    const char* text;
    FeatureKind kind;
    std::optional<double> value;
  };
  // Finite in volts, beyond the numbers in millivolts.
  const std::string huge_volts = "1" + std::string(307, '0') + " V";
  const Case cases[] = {
      {"46.9 \xC2\xB0"
       "C",
       FeatureKind::kTemperature, 46.9},
      {"46,9 \xC2\xB0"
       "C",
       FeatureKind::kTemperature, 46.9},
      {"-5.0 \xC2\xB0"
       "C",
       FeatureKind::kTemperature, -5.0},
      {"\xE2\x88\x92"
       "5,0 \xC2\xB0"
       "C",
       FeatureKind::kTemperature, -5.0},  // U+2212
      {"212.0 \xC2\xB0"
       "F",
       FeatureKind::kTemperature, 100.0},
      {"1.352 V", FeatureKind::kVoltage, 1352.0},
      {" 12,192\xC2\xA0V ", FeatureKind::kVoltage, 12192.0},  // no-break space
      {"850 mV", FeatureKind::kVoltage, 850.0},
      {"3125 RPM", FeatureKind::kFan, 3125.0},
      {"3125 rpm", FeatureKind::kFan, 3125.0},
      {"+1.352\xE2\x80\xAFV", FeatureKind::kVoltage, 1352.0},  // narrow no-break space
      {"0 RPM", FeatureKind::kFan, 0.0},
      // Not a value in the kind's unit.
      {"-", FeatureKind::kTemperature, std::nullopt},
      {"", FeatureKind::kVoltage, std::nullopt},
      {"\xC2\xB0"
       "C",
       FeatureKind::kTemperature, std::nullopt},
      {"46.9 K", FeatureKind::kTemperature, std::nullopt},
      {"46.9 \xC2\xB0"
       "C",
       FeatureKind::kVoltage, std::nullopt},
      {"1.352 V", FeatureKind::kTemperature, std::nullopt},
      {"87.4 W", FeatureKind::kVoltage, std::nullopt},
      {"55.3 %", FeatureKind::kFan, std::nullopt},
      {"1.2.3 V", FeatureKind::kVoltage, std::nullopt},
      {"1,352.5 V", FeatureKind::kVoltage, std::nullopt},
      {"NaN V", FeatureKind::kVoltage, std::nullopt},
      {huge_volts.c_str(), FeatureKind::kVoltage, std::nullopt},
      {"3125", FeatureKind::kFan, std::nullopt},
      {"1.0 V", FeatureKind::kOther, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto value = platform::ParseLhmValue(c.text, c.kind);
    ASSERT_EQ(value.has_value(), c.value.has_value()) << c.text;
    if (value) {
      EXPECT_NEAR(*value, *c.value, 1e-9) << c.text;
    }
  }
}

TEST(LhmData, ValuesRoundToTheNearestAndStayWithinSixteenBits) {
  EXPECT_EQ(platform::ReadingFromValue(47.5), 48);
  EXPECT_EQ(platform::ReadingFromValue(-47.5), -48);
  EXPECT_EQ(platform::ReadingFromValue(47.49), 47);
  EXPECT_EQ(platform::ReadingFromValue(1351.9999999), 1352);
  EXPECT_EQ(platform::ReadingFromValue(40000.0), 32767);
  EXPECT_EQ(platform::ReadingFromValue(-40000.0), -32768);
  EXPECT_EQ(platform::ReadingFromValue(std::nan("")), 0);
  EXPECT_EQ(platform::ReadingFromValue(HUGE_VAL), 32767);
}

TEST(LhmData, WhatIsNoSensorTreeSaysSo) {
  for (const char* text : {"", "{", "<html>404</html>", "{\"Text\": \"Sensor\",}", "\xFF\xFE{}"}) {
    const auto sensors = platform::ParseLhmData(text);
    ASSERT_FALSE(sensors) << text;
    EXPECT_EQ(sensors.Error().text.rfind("malformed JSON", 0), 0U) << text;
  }
  for (const char* text : {"[]", "42", "{\"Text\": \"Sensor\"}", "{\"Children\": {}}"}) {
    EXPECT_EQ(platform::ParseLhmData(text).Error().text, "JSON, but no sensor tree") << text;
  }
  const std::string whole = Fixture("nct6798d_desktop.json");
  EXPECT_FALSE(platform::ParseLhmData(whole.substr(0, whole.size() / 2)));
}

TEST(LhmData, OddTreesGiveNoSensorsOrSensorsWithoutValues) {
  // Deep nesting, and nodes of the wrong types where the tree has objects and strings.
  std::string deep = "{\"Children\": [";
  for (int i = 0; i < 200; ++i) deep += "{\"Text\": \"x\", \"Children\": [";
  deep +=
      "{\"Text\": \"CPU\", \"Type\": \"Temperature\", \"SensorId\": \"/a/temperature/0\", "
      "\"Value\": \"40.0 \xC2\xB0"
      "C\"}";
  for (int i = 0; i < 200; ++i) deep += "]}";
  deep += "]}";
  const auto nested = platform::ParseLhmData(deep);
  ASSERT_TRUE(nested);
  EXPECT_TRUE(nested->empty());

  const auto odd = platform::ParseLhmData(R"({"Children": [7, "x", null, {"Text": "PC",
      "Children": [{"Text": "Board", "Children": [{"Text": "Temperatures", "Children": [
        {"Text": 5, "SensorId": 9, "Type": "Temperature", "Value": 45.5, "Children": []},
        {"Text": "CPU", "SensorId": "/lpc/x/temperature/0", "Type": "Temperature",
         "Value": null},
        {"Text": "System", "SensorId": "/lpc/x/temperature/1", "Type": "Temperature",
         "Value": "35.0 °C", "Children": "none"}]}]}]}]})");
  ASSERT_TRUE(odd);
  ASSERT_EQ(odd->size(), 3U);
  EXPECT_FALSE((*odd)[0].value);
  EXPECT_FALSE((*odd)[1].value);
  EXPECT_EQ((*odd)[2].value, 35.0);
  const auto choice = platform::ChooseLhmSensors(*odd);
  EXPECT_EQ(choice[0].index, 1U);  // chosen by its name; it gives no value
  EXPECT_EQ(choice[1].index, 2U);
}

TEST(LhmData, OlderVersionsWithoutSensorIdOrTypeGoByTheirGroups) {
  const auto data = platform::ParseLhmData(R"({"id": 0, "Text": "Sensor",
    "Value": "Value", "Children": [{"id": 1, "Text": "PC", "Value": "", "Children": [
      {"id": 2, "Text": "Nuvoton NCT6779D", "Value": "", "Children": [
        {"id": 3, "Text": "Controls", "Value": "", "Children": [
          {"id": 4, "Text": "CPU Fan", "Value": "60.0 %", "Children": []}]},
        {"id": 5, "Text": "Fans", "Value": "", "Children": [
          {"id": 6, "Text": "CPU Fan", "Value": "1350 RPM", "Children": []}]},
        {"id": 7, "Text": "Voltages", "Value": "", "Children": [
          {"id": 8, "Text": "CPU VCore", "Value": "1.104 V", "Children": []}]}]}]}]})");
  ASSERT_TRUE(data);
  ASSERT_EQ(data->size(), 3U);
  EXPECT_EQ((*data)[0].kind, FeatureKind::kOther);
  const auto choice = platform::ChooseLhmSensors(*data);
  EXPECT_EQ(choice[static_cast<std::size_t>(platform::Reading::kCpuFan)].index, 1U);
  EXPECT_EQ(choice[static_cast<std::size_t>(platform::Reading::kCoreVoltage)].index, 2U);
  EXPECT_EQ(platform::DescribeLhmSensor((*data)[1]), "Nuvoton NCT6779D: CPU Fan");
  EXPECT_EQ((*data)[1].value, 1350.0);
}

// tests/data/lhm/answers.txt: one answer a line, "ERROR | TEXT", where
// ERROR is what ParseLhmData says of TEXT (nothing for a sensor tree).
TEST(LhmData, OddAnswersGiveTheirMessageAndNoSensorsOrATree) {
  std::istringstream lines(Fixture("answers.txt"));
  int cases = 0;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t bar = line.find(" | ");
    if (line.empty() || line.front() == '#' || bar == std::string::npos) continue;
    ++cases;
    const auto sensors = platform::ParseLhmData(line.substr(bar + 3));
    EXPECT_EQ(sensors ? "" : sensors.Error().text, line.substr(0, bar)) << line;
    if (sensors) platform::ChooseLhmSensors(*sensors);
  }
  EXPECT_GT(cases, 0);
}

}  // namespace
