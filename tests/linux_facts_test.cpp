// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/linux_facts.h"

#include <gtest/gtest.h>

namespace {

TEST(LinuxFacts, TheProcessorIsItsModelNameElseTheBoardsModel) {
  EXPECT_EQ(platform::CpuModelOf("processor\t: 0\nvendor_id\t: GenuineIntel\n"
                                 "model name\t: Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz\n"
                                 "processor\t: 1\nmodel name\t: other\n"),
            "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
  // A Raspberry Pi 4 with a 64-bit kernel: no model name, the board's model last.
  EXPECT_EQ(platform::CpuModelOf("processor\t: 0\nBogoMIPS\t: 108.00\nCPU part\t: 0xd08\n\n"
                                 "Revision\t: c03114\nModel\t\t: Raspberry Pi 4 Model B Rev 1.4\n"),
            "Raspberry Pi 4 Model B Rev 1.4");
  EXPECT_EQ(platform::CpuModelOf("Hardware\t: BCM2835\n"), "BCM2835");
  EXPECT_EQ(platform::CpuModelOf(""), "");
}

TEST(LinuxFacts, TextsFilesAreTheUsersXdgConfigThenEtc) {
  using Places = std::vector<std::string>;
  EXPECT_EQ(platform::TextsFilePlacesOf("/x/conf", "/home/j"),
            (Places{"/x/conf/statusanzeige/texts.toml", "/etc/statusanzeige/texts.toml"}));
  EXPECT_EQ(platform::TextsFilePlacesOf(nullptr, "/home/j"),
            (Places{"/home/j/.config/statusanzeige/texts.toml", "/etc/statusanzeige/texts.toml"}));
  EXPECT_EQ(platform::TextsFilePlacesOf("relative", "/home/j"),
            (Places{"/home/j/.config/statusanzeige/texts.toml", "/etc/statusanzeige/texts.toml"}))
      << "a relative XDG_CONFIG_HOME counts as none";
  EXPECT_EQ(platform::TextsFilePlacesOf(nullptr, nullptr),
            (Places{"/etc/statusanzeige/texts.toml"}))
      << "a service's user without a home";
}

}  // namespace
