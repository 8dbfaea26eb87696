// SPDX-License-Identifier: GPL-2.0-or-later
#include "status/lhm_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

using status::FeatureKind;
using status::LhmSensor;

std::string Fixture(const std::string& name) {
  std::ifstream file(std::string(STATUSANZEIGE_TEST_DATA) + "/lhm/" + name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// For each of the seven readings: "description = reading", or "none".
std::vector<std::string> Chosen(const std::string& json) {
  const status::LhmData data = status::ParseLhmData(json);
  EXPECT_EQ(data.error, "");
  const status::LhmChoice choice = status::ChooseLhmSensors(data.sensors);
  std::vector<std::string> chosen;
  for (const auto& index : choice) {
    if (!index) {
      chosen.emplace_back("none");
      continue;
    }
    const LhmSensor& sensor = data.sensors[*index];
    chosen.push_back(
        status::DescribeLhmSensor(sensor) + " = " +
        (sensor.value ? std::to_string(status::ReadingFromValue(*sensor.value)) : "no value"));
  }
  return chosen;
}

TEST(LhmData, IntelDesktopWithANamedNct6798d) {
  EXPECT_EQ(Chosen(Fixture("nct6798d_desktop.json")),
            (std::vector<std::string>{
                "Nuvoton NCT6798D: CPU (/lpc/nct6798d/0/temperature/0) = 48",
                "Nuvoton NCT6798D: Motherboard (/lpc/nct6798d/0/temperature/1) = 35",
                "Nuvoton NCT6798D: Vcore (/lpc/nct6798d/0/voltage/0) = 1352",
                "Nuvoton NCT6798D: +3.3V (/lpc/nct6798d/0/voltage/3) = 3344",
                "Nuvoton NCT6798D: +5V (/lpc/nct6798d/0/voltage/1) = 5040",
                "Nuvoton NCT6798D: +12V (/lpc/nct6798d/0/voltage/4) = 12192",
                // The "CPU Fan" control (a duty cycle in %) is no fan.
                "Nuvoton NCT6798D: CPU Fan (/lpc/nct6798d/0/fan/1) = 1187",
            }));
}

TEST(LhmData, LaptopWithOnlyTheCpusSensorsInGermanNumbers) {
  EXPECT_EQ(Chosen(Fixture("laptop_cpu_package.json")),
            (std::vector<std::string>{
                // "CPU Package" over the per-core "CPU Core #1"; "54,5 °C" rounds up.
                "Intel Core i5-8250U: CPU Package (/intelcpu/0/temperature/4) = 55",
                "none",
                "Intel Core i5-8250U: CPU Core (/intelcpu/0/voltage/0) = 812",
                "none",
                "none",
                // The battery's "Voltage" (11,812 V) is no 12 V rail.
                "none",
                "none",
            }));
}

TEST(LhmData, AmdDesktopWithNumberedInputsAndFahrenheit) {
  EXPECT_EQ(Chosen(Fixture("amd_tctl_it8686e.json")),
            (std::vector<std::string>{
                // 162.1 °F is 72.3 °C.
                "AMD Ryzen 7 5800X: Core (Tctl/Tdie) (/amdcpu/0/temperature/0) = 72",
                "none",
                "ITE IT8686E: CPU VCore (/lpc/it8686e/0/voltage/0) = 1380",
                "none",
                "none",
                "none",
                // The chip's first fan input, as lm-sensors falls back to fan1.
                "ITE IT8686E: Fan #1 (/lpc/it8686e/0/fan/0) = 1480",
            }));
}

TEST(LhmData, EveryTemperatureVoltageAndFanOfTheFixturesHasAValue) {
  for (const char* name :
       {"nct6798d_desktop.json", "laptop_cpu_package.json", "amd_tctl_it8686e.json"}) {
    const status::LhmData data = status::ParseLhmData(Fixture(name));
    ASSERT_EQ(data.error, "") << name;
    int measured = 0;
    for (const LhmSensor& sensor : data.sensors) {
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
      {"3125", FeatureKind::kFan, std::nullopt},
      {"1.0 V", FeatureKind::kOther, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto value = status::ParseLhmValue(c.text, c.kind);
    ASSERT_EQ(value.has_value(), c.value.has_value()) << c.text;
    if (value) {
      EXPECT_NEAR(*value, *c.value, 1e-9) << c.text;
    }
  }
}

TEST(LhmData, ValuesRoundToTheNearestAndStayWithinSixteenBits) {
  EXPECT_EQ(status::ReadingFromValue(47.5), 48);
  EXPECT_EQ(status::ReadingFromValue(-47.5), -48);
  EXPECT_EQ(status::ReadingFromValue(47.49), 47);
  EXPECT_EQ(status::ReadingFromValue(1351.9999999), 1352);
  EXPECT_EQ(status::ReadingFromValue(40000.0), 32767);
  EXPECT_EQ(status::ReadingFromValue(-40000.0), -32768);
  EXPECT_EQ(status::ReadingFromValue(std::nan("")), 0);
  EXPECT_EQ(status::ReadingFromValue(HUGE_VAL), 32767);
}

TEST(LhmData, WhatIsNoSensorTreeSaysSo) {
  for (const char* text : {"", "{", "<html>404</html>", "{\"Text\": \"Sensor\",}", "\xFF\xFE{}"}) {
    const status::LhmData data = status::ParseLhmData(text);
    EXPECT_EQ(data.error.rfind("malformed JSON", 0), 0U) << text << ": " << data.error;
    EXPECT_TRUE(data.sensors.empty());
  }
  for (const char* text : {"[]", "42", "{\"Text\": \"Sensor\"}", "{\"Children\": {}}"}) {
    EXPECT_EQ(status::ParseLhmData(text).error, "JSON, but no sensor tree") << text;
  }
  const std::string whole = Fixture("nct6798d_desktop.json");
  EXPECT_NE(status::ParseLhmData(whole.substr(0, whole.size() / 2)).error, "");
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
  const status::LhmData nested = status::ParseLhmData(deep);
  EXPECT_EQ(nested.error, "");
  EXPECT_TRUE(nested.sensors.empty());

  const status::LhmData odd = status::ParseLhmData(R"({"Children": [7, "x", null, {"Text": "PC",
      "Children": [{"Text": "Board", "Children": [{"Text": "Temperatures", "Children": [
        {"Text": 5, "SensorId": 9, "Type": "Temperature", "Value": 45.5, "Children": []},
        {"Text": "CPU", "SensorId": "/lpc/x/temperature/0", "Type": "Temperature",
         "Value": null},
        {"Text": "System", "SensorId": "/lpc/x/temperature/1", "Type": "Temperature",
         "Value": "35.0 °C", "Children": "none"}]}]}]}]})");
  EXPECT_EQ(odd.error, "");
  ASSERT_EQ(odd.sensors.size(), 3U);
  EXPECT_FALSE(odd.sensors[0].value);
  EXPECT_FALSE(odd.sensors[1].value);
  EXPECT_EQ(odd.sensors[2].value, 35.0);
  const auto choice = status::ChooseLhmSensors(odd.sensors);
  EXPECT_EQ(choice[0], 1U);  // chosen by its name; it gives no value
  EXPECT_EQ(choice[1], 2U);
}

TEST(LhmData, OlderVersionsWithoutSensorIdOrTypeGoByTheirGroups) {
  const status::LhmData data = status::ParseLhmData(R"({"id": 0, "Text": "Sensor",
    "Value": "Value", "Children": [{"id": 1, "Text": "PC", "Value": "", "Children": [
      {"id": 2, "Text": "Nuvoton NCT6779D", "Value": "", "Children": [
        {"id": 3, "Text": "Controls", "Value": "", "Children": [
          {"id": 4, "Text": "CPU Fan", "Value": "60.0 %", "Children": []}]},
        {"id": 5, "Text": "Fans", "Value": "", "Children": [
          {"id": 6, "Text": "CPU Fan", "Value": "1350 RPM", "Children": []}]},
        {"id": 7, "Text": "Voltages", "Value": "", "Children": [
          {"id": 8, "Text": "CPU VCore", "Value": "1.104 V", "Children": []}]}]}]}]})");
  ASSERT_EQ(data.error, "");
  ASSERT_EQ(data.sensors.size(), 3U);
  EXPECT_EQ(data.sensors[0].kind, FeatureKind::kOther);
  const auto choice = status::ChooseLhmSensors(data.sensors);
  EXPECT_EQ(choice[static_cast<std::size_t>(platform::Reading::kCpuFan)], 1U);
  EXPECT_EQ(choice[static_cast<std::size_t>(platform::Reading::kCoreVoltage)], 2U);
  EXPECT_EQ(status::DescribeLhmSensor(data.sensors[1]), "Nuvoton NCT6779D: CPU Fan");
  EXPECT_EQ(data.sensors[1].value, 1350.0);
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
    const status::LhmData data = status::ParseLhmData(line.substr(bar + 3));
    EXPECT_EQ(data.error, line.substr(0, bar)) << line;
    if (!data.error.empty()) {
      EXPECT_TRUE(data.sensors.empty()) << line;
    }
    status::ChooseLhmSensors(data.sensors);
  }
  EXPECT_GT(cases, 0);
}

}  // namespace
