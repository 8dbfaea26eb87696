// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/lhm_sensors.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes.h"

namespace {

using platform::Reading;

std::string Fixture(const std::string& name) { return fakes::DataFile("lhm/" + name); }

// A web server that gives whatever the test puts in `answer`, and counts
// requests; and the sensors that read it, on a clock that moves only when
// the test advances it.
struct LhmFixture {
  explicit LhmFixture(platform::Result<std::string> first, std::string tried_before = {},
                      std::string how_to_enable = {})
      : answer(std::move(first)),
        sensors(
            [this] {
              ++requests;
              return answer;
            },
            platform::kLhmUrl, clock, errors.reporter, std::move(tried_before),
            std::move(how_to_enable)) {}
  platform::Result<std::string> answer;
  int requests = 0;
  fakes::FakeClock clock;
  fakes::Said errors;
  platform::LhmSensors sensors;
};

platform::Failure NoAnswer(const std::string& why) { return platform::Failure{0, why}; }

std::string ReadAll(platform::Sensors& sensors) {
  std::string all;
  for (const auto& info : platform::kReadings) {
    if (!all.empty()) all += ' ';
    all += std::to_string(sensors.Read(info.reading));
  }
  return all;
}

TEST(LhmSensors, ReadsTheChosenSensorsWithOneRequestForTheReadingsOfOneText) {
  LhmFixture lhm(Fixture("nct6798d_desktop.json"));
  auto& [answer, requests, clock, errors, sensors] = lhm;

  EXPECT_EQ(sensors.Describe(Reading::kRail12V),
            "LibreHardwareMonitor: Nuvoton NCT6798D: +12V (/lpc/nct6798d/0/voltage/4)");
  EXPECT_EQ(ReadAll(sensors), "54 35 1352 3344 5040 12192 1187");
  EXPECT_EQ(requests, 1);
  clock.Advance(0.9);
  sensors.Read(Reading::kCpuFan);
  EXPECT_EQ(requests, 1);
  clock.Advance(0.1);
  sensors.Read(Reading::kCpuFan);
  sensors.Read(Reading::kCpuFan);
  EXPECT_EQ(requests, 2);
  EXPECT_EQ(errors.str(), "");
}

TEST(LhmSensors, NoServerMeansZeroAndOneMessagePerReadingNamingWhatWasTried) {
  LhmFixture lhm(NoAnswer("connection refused"), "Asus.dll (not found); ",
                 "Put Asus.dll beside the program.");
  auto& [answer, requests, clock, errors, sensors] = lhm;
  EXPECT_EQ(ReadAll(sensors), "0 0 0 0 0 0 0");
  clock.Advance(5.0);
  EXPECT_EQ(ReadAll(sensors), "0 0 0 0 0 0 0");
  EXPECT_EQ(requests, 2);
  EXPECT_EQ(sensors.Describe(Reading::kCpuTemperature), "");

  std::istringstream lines(errors.str());
  std::vector<std::string> messages;
  for (std::string line; std::getline(lines, line);) messages.push_back(line);
  ASSERT_EQ(messages.size(), platform::kReadingCount);
  EXPECT_EQ(messages[0],
            "statusanzeige: no source for the CPU temperature, showing 0. Tried: Asus.dll (not "
            "found); LibreHardwareMonitor's web server at http://localhost:8085/data.json "
            "(connection refused). Put Asus.dll beside the program.");
  EXPECT_EQ(messages[6].rfind("statusanzeige: no source for the CPU fan speed, showing 0.", 0), 0U);

  // A failure that says nothing is a failure all the same.
  LhmFixture silent(NoAnswer(""), "", "");
  EXPECT_EQ(silent.sensors.Read(Reading::kCpuTemperature), 0);
  EXPECT_NE(silent.errors.str().find("data.json (no answer)."), std::string::npos)
      << silent.errors.str();
}

TEST(LhmSensors, MalformedAnswersAndOddUnitsGiveZeroAndOneMessage) {
  LhmFixture lhm(std::string("{\"Children\": ["));
  auto& [answer, requests, clock, errors, sensors] = lhm;
  EXPECT_EQ(sensors.Read(Reading::kCpuTemperature), 0);
  EXPECT_EQ(sensors.Read(Reading::kCpuTemperature), 0);
  EXPECT_EQ(errors.str(),
            "statusanzeige: no source for the CPU temperature, showing 0. Tried: "
            "LibreHardwareMonitor's web server at http://localhost:8085/data.json (its answer "
            "is malformed JSON at byte 15).\n");

  errors.text.str("");
  std::string odd = Fixture("nct6798d_desktop.json");
  odd.replace(odd.find("\"5.040 V\""), 9, "\"5.040 W\"");
  answer = odd;
  clock.Advance(1.0);
  EXPECT_EQ(sensors.Read(Reading::kRail5V), 0);
  EXPECT_EQ(sensors.Read(Reading::kRail5V), 0);
  EXPECT_EQ(sensors.Read(Reading::kRail12V), 12192);
  EXPECT_EQ(errors.str(),
            "statusanzeige: cannot read the 5 V rail from LibreHardwareMonitor's \"+5V\" "
            "(\"5.040 W\"), showing 0\n");
}

TEST(LhmSensors, AValueBeyondAReadingIsClampedAsEveryMeasuredValueIs) {
  std::string fast = Fixture("nct6798d_desktop.json");
  fast.replace(fast.find("\"1187 RPM\""), 10, "\"70000 RPM\"");
  LhmFixture lhm(fast);
  EXPECT_EQ(lhm.sensors.Read(Reading::kCpuFan), 32767);
}

TEST(LhmSensors, AServerStartedLaterIsUsedFromTheNextRequestOn) {
  LhmFixture lhm(NoAnswer("no answer within 100 ms"));
  auto& [answer, requests, clock, errors, sensors] = lhm;
  EXPECT_EQ(sensors.Read(Reading::kCoreVoltage), 0);
  answer = Fixture("laptop_cpu_package.json");
  EXPECT_EQ(sensors.Read(Reading::kCoreVoltage), 0);  // still the first answer
  clock.Advance(1.0);
  EXPECT_EQ(ReadAll(sensors), "55 0 812 0 0 0 0");
  const std::string text = errors.str();
  EXPECT_NE(text.find("no source for the CPU core voltage"), std::string::npos);
  EXPECT_NE(text.find("LibreHardwareMonitor has no sensor for the motherboard temperature, "
                      "showing 0\n"),
            std::string::npos);
  EXPECT_EQ(text.find("no source for the CPU temperature"), std::string::npos);
  EXPECT_EQ(text.find("for the CPU core voltage", text.find("CPU core voltage") + 1),
            std::string::npos);
}

// The reasons come with LibreHardwareMonitor's own names for the sensors.
TEST(LhmSensors, SaysWhyASensorWasChosenAndWhatWasPassedOver) {
  LhmFixture lhm(std::string(R"({"Children": [{"Text": "PC", "Children": [
    {"Text": "Nuvoton NCT6798D", "Children": [
      {"Text": "Temperatures", "Children": [{"Text": "CPU", "Type": "Temperature",
        "SensorId": "/lpc/nct6798d/0/temperature/0", "Value": "-60.0 \u00b0C"}]},
      {"Text": "Fans", "Children": [{"Text": "Fan #2", "Type": "Fan",
        "SensorId": "/lpc/nct6798d/0/fan/1", "Value": "1187 RPM"}]}]}]}]})"));
  auto& [answer, requests, clock, errors, sensors] = lhm;
  EXPECT_EQ(sensors.Reason(Reading::kCpuFan), "Nuvoton CPU fan input fan2");
  EXPECT_TRUE(sensors.PassedOver(Reading::kCpuFan).empty());
  EXPECT_EQ(sensors.Reason(Reading::kCpuTemperature), "");
  EXPECT_EQ(sensors.PassedOver(Reading::kCpuTemperature),
            std::vector<std::string>{"Nuvoton NCT6798D: CPU (/lpc/nct6798d/0/temperature/0) reads "
                                     "-60 \xC2\xB0"
                                     "C: not connected"});
}

}  // namespace
