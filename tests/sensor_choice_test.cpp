// SPDX-License-Identifier: GPL-2.0-or-later
#include "status/sensor_choice.h"

#include <gtest/gtest.h>

namespace {

using platform::Reading;
using status::ChooseFeature;
using status::FeatureCandidate;
using K = status::FeatureKind;

// The label each reading picks, or "" when none.
std::vector<std::string> Picks(const std::vector<FeatureCandidate>& features) {
  std::vector<std::string> picks;
  for (std::size_t r = 0; r < platform::kReadingCount; ++r) {
    const auto found = ChooseFeature(static_cast<Reading>(r), features);
    picks.push_back(found ? features[*found].chip + "/" + features[*found].name : "");
  }
  return picks;
}

TEST(SensorChoice, AsusWmiSensorsBoard) {
  const std::vector<FeatureCandidate> asus = {
      {"asus_wmi_sensors", K::kVoltage, "in0", "CPU Core Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in1", "CPU SOC Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in2", "DRAM Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in3", "VDDP Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in4", "1.8V PLL Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in5", "+12V Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in6", "+5V Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in7", "3VSB Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in8", "VBAT Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in9", "AVCC3 Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in10", "SB 1.05V Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in11", "CPU Core Voltage"},
      {"asus_wmi_sensors", K::kVoltage, "in12", "CPU SOC Voltage"},
      {"asus_wmi_sensors", K::kFan, "fan1", "CPU Fan"},
      {"asus_wmi_sensors", K::kFan, "fan2", "Chassis Fan 1"},
      {"asus_wmi_sensors", K::kTemperature, "temp1", "CPU Temperature"},
      {"asus_wmi_sensors", K::kTemperature, "temp2", "CPU Socket Temperature"},
      {"asus_wmi_sensors", K::kTemperature, "temp3", "Motherboard Temperature"},
      {"asus_wmi_sensors", K::kTemperature, "temp4", "Chipset Temperature"},
  };
  EXPECT_EQ(Picks(asus),
            (std::vector<std::string>{"asus_wmi_sensors/temp1", "asus_wmi_sensors/temp3",
                                      "asus_wmi_sensors/in0", "", "asus_wmi_sensors/in6",
                                      "asus_wmi_sensors/in5", "asus_wmi_sensors/fan1"}));
  // "SB 1.05V" is no 5 V rail, "3VSB" no 3.3 V rail, even when they come first.
  std::vector<FeatureCandidate> reordered = {asus[10], asus[7], asus[6]};
  EXPECT_EQ(ChooseFeature(Reading::kRail5V, reordered), 2U);
  EXPECT_EQ(ChooseFeature(Reading::kRail3V3, reordered), std::nullopt);
}

TEST(SensorChoice, StandbyRailsAreNeverTheMainRailsWhereverTheyStand) {
  struct Case {
    Reading reading;
    std::vector<std::string> labels;  // voltages of one chip, in detection order
    std::optional<std::size_t> pick;
  };
  const std::vector<Case> cases = {
      {Reading::kRail3V3, {"+3.3VSB", "+3.3V"}, 1},
      {Reading::kRail3V3, {"3.3VSB", "3.3V"}, 1},
      {Reading::kRail3V3, {"3VSB", "3VCC"}, 1},
      {Reading::kRail3V3, {"3.3V Standby", "+3.3V"}, 1},
      {Reading::kRail3V3, {"+3.3VSB"}, std::nullopt},
      {Reading::kRail5V, {"+5VSB", "+5V"}, 1},
      {Reading::kRail5V, {"5VSB", "5V"}, 1},
      {Reading::kRail5V, {"5V Stby", "+5 V"}, 1},
      {Reading::kRail5V, {"5VSB"}, std::nullopt},
  };
  for (const Case& c : cases) {
    std::vector<FeatureCandidate> features;
    for (const std::string& label : c.labels) {
      features.push_back({"it8792", K::kVoltage, "in" + std::to_string(features.size()), label});
    }
    EXPECT_EQ(ChooseFeature(c.reading, features), c.pick) << c.labels.front();
  }
}

TEST(SensorChoice, AsusEcSensorsBesideAnNct6798WithASensorsConf) {
  const std::vector<FeatureCandidate> board = {
      {"asusec", K::kTemperature, "temp1", "Chipset"},
      {"asusec", K::kTemperature, "temp2", "CPU"},
      {"asusec", K::kTemperature, "temp3", "Motherboard"},
      {"asusec", K::kTemperature, "temp4", "T_Sensor"},
      {"asusec", K::kVoltage, "in0", "CPU Core"},
      {"asusec", K::kFan, "fan1", "CPU_Opt"},
      // nct6798 voltages are unlabelled in sysfs; sensors.conf labels them.
      {"nct6798", K::kVoltage, "in0", "Vcore"},
      {"nct6798", K::kVoltage, "in1", "+5V"},
      {"nct6798", K::kVoltage, "in2", "AVCC"},
      {"nct6798", K::kVoltage, "in3", "+3.3V"},
      {"nct6798", K::kVoltage, "in4", "+12V"},
      {"nct6798", K::kVoltage, "in7", "3VSB"},
      {"nct6798", K::kFan, "fan1", "Chassis Fan"},
      {"nct6798", K::kFan, "fan2", "CPU Fan"},
      {"nct6798", K::kTemperature, "temp1", "SYSTIN"},
      {"nct6798", K::kTemperature, "temp2", "CPUTIN"},
  };
  EXPECT_EQ(Picks(board),
            (std::vector<std::string>{"asusec/temp2", "asusec/temp3", "asusec/in0", "nct6798/in3",
                                      "nct6798/in1", "nct6798/in4", "asusec/fan1"}));
}

TEST(SensorChoice, Nct6775WithoutLabelsFallsBackToIn0AndFan1) {
  const std::vector<FeatureCandidate> nct = {
      {"nct6775", K::kVoltage, "in0", "in0"},
      {"nct6775", K::kVoltage, "in1", "in1"},
      {"nct6775", K::kFan, "fan1", "fan1"},
      {"nct6775", K::kFan, "fan2", "fan2"},
      {"nct6775", K::kTemperature, "temp1", "SYSTIN"},
      {"nct6775", K::kTemperature, "temp2", "CPUTIN"},
      {"nct6775", K::kTemperature, "temp7", "PECI Agent 0"},
  };
  EXPECT_EQ(Picks(nct), (std::vector<std::string>{"nct6775/temp2", "nct6775/temp1", "nct6775/in0",
                                                  "", "", "", "nct6775/fan1"}));
}

TEST(SensorChoice, K10tempAndCoretempCpuTemperatures) {
  const std::vector<FeatureCandidate> amd = {
      {"amdgpu", K::kTemperature, "temp1", "edge"},
      {"k10temp", K::kTemperature, "temp1", "Tctl"},
      {"k10temp", K::kTemperature, "temp3", "Tccd1"},
      {"nvme", K::kTemperature, "temp1", "Composite"},
  };
  EXPECT_EQ(ChooseFeature(Reading::kCpuTemperature, amd), 1U);
  EXPECT_EQ(ChooseFeature(Reading::kBoardTemperature, amd), std::nullopt);

  const std::vector<FeatureCandidate> intel = {
      {"acpitz", K::kTemperature, "temp1", "temp1"},
      {"coretemp", K::kTemperature, "temp2", "Core 0"},
      {"coretemp", K::kTemperature, "temp1", "Package id 0"},
  };
  EXPECT_EQ(ChooseFeature(Reading::kCpuTemperature, intel), 2U);

  // A label with "CPU" in it comes before the driver fallbacks, wherever it stands.
  auto labelled = intel;
  labelled.push_back({"it8686", K::kTemperature, "temp2", "CPU Temp"});
  EXPECT_EQ(ChooseFeature(Reading::kCpuTemperature, labelled), 3U);
  // Case does not matter; a fan's "CPU" is no temperature.
  const std::vector<FeatureCandidate> mixed = {{"it87", K::kFan, "fan1", "cpu fan"},
                                               {"it87", K::kTemperature, "temp1", "cpu temp"}};
  EXPECT_EQ(ChooseFeature(Reading::kCpuTemperature, mixed), 1U);
  EXPECT_EQ(ChooseFeature(Reading::kCpuFan, mixed), 0U);
}

}  // namespace

namespace {

TEST(SensorChoice, LibreHardwareMonitorNames) {
  // Names as LibreHardwareMonitor gives them; standby rails come before the
  // real ones here to show they are passed over.
  const std::vector<FeatureCandidate> board = {
      {"nct6796d", K::kVoltage, "in7", "+3V Standby"},
      {"nct6796d", K::kVoltage, "in8", "Standby +3.3V"},
      {"nct6796d", K::kVoltage, "in9", "+5V Standby"},
      {"nct6796d", K::kVoltage, "in3", "+3.3V"},
      {"nct6796d", K::kVoltage, "in1", "+5V"},
      {"intelcpu", K::kTemperature, "temperature/0", "CPU Core #1"},
      {"intelcpu", K::kTemperature, "temperature/8", "CPU Package"},
      {"nct6796d", K::kFan, "fan3", "Chassis Fan #1"},
      {"nzxt", K::kFan, "fan/0", "Fan #1"},
  };
  EXPECT_EQ(Picks(board),
            (std::vector<std::string>{"intelcpu/temperature/8", "", "", "nct6796d/in3",
                                      "nct6796d/in1", "", "nzxt/fan/0"}));

  const std::vector<FeatureCandidate> amd = {
      {"amdcpu", K::kVoltage, "voltage/1", "SoC (SVI2 TFN)"},
      {"amdcpu", K::kVoltage, "voltage/0", "Core (SVI2 TFN)"},
      {"amdcpu", K::kTemperature, "temperature/1", "CCD1 (Tdie)"},
      {"amdcpu", K::kTemperature, "temperature/0", "Core (Tctl/Tdie)"},
  };
  EXPECT_EQ(ChooseFeature(Reading::kCoreVoltage, amd), 1U);
  EXPECT_EQ(ChooseFeature(Reading::kCpuTemperature, amd), 3U);
  const std::vector<FeatureCandidate> ite = {{"it8686e", K::kVoltage, "in1", "Voltage #2"},
                                             {"it8686e", K::kVoltage, "in2", "CPU VCore"}};
  EXPECT_EQ(ChooseFeature(Reading::kCoreVoltage, ite), 1U);
}

}  // namespace
