// SPDX-License-Identifier: GPL-2.0-or-later
// The machine's facts on Linux: the host name, the processor from
// /proc/cpuinfo, the memory, the local time, and the texts files of the XDG
// base directories and /etc.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine_facts.h"

namespace platform {

std::unique_ptr<MachineFacts> MakeLinuxFacts();

// The processor's name in /proc/cpuinfo: its "model name" (x86), else its
// "Model" (the board of an ARM machine, e.g. "Raspberry Pi 4 Model B Rev
// 1.4"), else its "Hardware"; empty when none.
std::string CpuModelOf(std::string_view cpuinfo);

// $XDG_CONFIG_HOME/statusanzeige/texts.toml (an absolute one only; else
// $HOME/.config/...), then /etc/statusanzeige/texts.toml. Either variable
// may be null.
std::vector<std::string> TextsFilePlacesOf(const char* xdg_config_home, const char* home);

}  // namespace platform
