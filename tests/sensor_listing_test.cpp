// SPDX-License-Identifier: GPL-2.0-or-later
// --sensors: the listing, and both programs answering it without a window.
#include "status/sensor_listing.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/program.h"
#include "emulator/demo.h"
#include "fake_platform.h"

namespace {

TEST(SensorListing, EachReadingWithItsSourceValueAndTheTextTheDisplayShows) {
  fakes::FakeSensors sensors;
  sensors.steady = {{"GetCPUTemperature", 48}, {"GetMBTemperature", 0x10000 + 35},
                    {"GetVoltIN1", 1352},      {"GetVoltIN2", 3344},
                    {"GetVoltIN3", 5040},      {"GetVoltIN4", 12192},
                    {"GetFanCPURPM", 950}};
  std::ostringstream out;
  status::ListSensors(sensors, out);
  EXPECT_EQ(out.str(),
            "reading                  now         shown   source\n"
            "CPU temperature          48 \xC2\xB0"
            "C       48      fake GetCPUTemperature\n"
            "motherboard temperature  35 \xC2\xB0"
            "C       35      fake GetMBTemperature\n"
            "CPU core voltage         1352 mV     1,35    fake GetVoltIN1\n"
            "3.3 V rail               3344 mV     3,34    fake GetVoltIN2\n"
            "5 V rail                 5040 mV     5,04    fake GetVoltIN3\n"
            "12 V rail                12192 mV    12,1    fake GetVoltIN4\n"
            "CPU fan speed            950 rpm     950     fake GetFanCPURPM\n");
  // One reading each.
  EXPECT_EQ(sensors.calls.size(), platform::kReadingCount);
}

// A source for the 12 V rail alone, with the reason it was chosen, and a
// candidate passed over for the CPU temperature.
class OneSource : public platform::Sensors {
 public:
  std::int32_t Read(platform::Reading reading) override {
    return reading == platform::Reading::kRail12V ? -100 : 0;
  }
  [[nodiscard]] std::string Describe(platform::Reading reading) const override {
    return reading == platform::Reading::kRail12V ? "chip in4 (+12V)" : "";
  }
  [[nodiscard]] std::string Reason(platform::Reading) const override { return "board label"; }
  [[nodiscard]] std::vector<std::string> PassedOver(platform::Reading reading) const override {
    if (reading == platform::Reading::kRail5V) return {};
    return {
        "chip temp2 (CPUTIN) reads -60 \xC2\xB0"
        "C: not connected",
        "gpu in0 (vddgfx) belongs to a graphics card"};
  }
};

TEST(SensorListing, ASourceWithItsReasonAndAReadingWithoutOneWithWhatWasPassedOver) {
  OneSource sensors;
  std::ostringstream out;
  status::ListSensors(sensors, out);
  const std::string text = out.str();
  const std::string indent(45, ' ');
  EXPECT_NE(text.find("CPU temperature          0 \xC2\xB0"
                      "C        0       none, shows 0\n" +
                      indent + "passed over: chip temp2 (CPUTIN) reads -60 \xC2\xB0" +
                      "C: not connected\n" + indent +
                      "passed over: gpu in0 (vddgfx) belongs to a graphics card\n"
                      "motherboard temperature  0 "),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("5 V rail                 0 mV        0,      none, shows 0\n12 V rail "),
            std::string::npos)
      << text;
  // A reading with a source lists nothing passed over.
  EXPECT_NE(text.find("12 V rail                -100 mV     -1,0    chip in4 (+12V) \xE2\x80\x94 "
                      "board label\nCPU fan speed "),
            std::string::npos)
      << text;
}

TEST(SensorListing, BothProgramsListTheirSensorsAndExitWithoutAWindow) {
  fakes::FakePlatform program({"--sensors"});
  program.machine.sensors.steady["GetVoltIN4"] = 12192;
  EXPECT_EQ(app::RunStatusanzeige(program.parts), 0);
  EXPECT_FALSE(program.windows.started) << "no window system needed";
  EXPECT_EQ(program.windows.form_window, nullptr);
  EXPECT_NE(program.output.str().find("12 V rail                12192 mV    12,1    fake "
                                      "GetVoltIN4\n"),
            std::string::npos)
      << program.output.str();

  fakes::FakePlatform system_demo({"--system-sensors", "--sensors"}, platform::kStatusanzeigeDemo);
  system_demo.machine.sensors.steady["GetVoltIN4"] = 12192;
  EXPECT_EQ(emulator::RunDemo(system_demo.parts), 0);
  EXPECT_FALSE(system_demo.windows.started);
  EXPECT_EQ(system_demo.output.str(), program.output.str());

  fakes::FakePlatform demo({"--sensors"}, platform::kStatusanzeigeDemo);
  EXPECT_EQ(emulator::RunDemo(demo.parts), 0);
  EXPECT_FALSE(demo.windows.started);
  EXPECT_TRUE(demo.machine.sensors.calls.empty()) << "the emulated sensors, not the machine's";
  const std::string text = demo.output.str();
  EXPECT_EQ(text.rfind("reading ", 0), 0U) << text;
  EXPECT_NE(text.find(" emulated\n"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << text;
  EXPECT_EQ(demo.errors.str(), "");
}

}  // namespace
