// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/linux_facts.h"

#include <sys/sysinfo.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>

namespace platform {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

class LinuxFacts final : public MachineFacts {
 public:
  std::string HostName() override {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) return "";
    return name.data();
  }

  std::string CpuModel() override {
    std::ifstream in("/proc/cpuinfo");
    const std::string cpuinfo{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return CpuModelOf(cpuinfo);
  }

  std::uint64_t MemoryMegabytes() override {
    struct sysinfo info {};
    if (sysinfo(&info) != 0) return 0;
    constexpr std::uint64_t kMegabyte = std::uint64_t{1024} * 1024;
    return static_cast<std::uint64_t>(info.totalram) * info.mem_unit / kMegabyte;
  }

  LocalTime Now() override {
    const std::time_t now = std::time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
  }

  [[nodiscard]] std::vector<std::string> TextsFilePlaces() const override {
    return TextsFilePlacesOf(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  }
};

}  // namespace

std::unique_ptr<MachineFacts> MakeLinuxFacts() { return std::make_unique<LinuxFacts>(); }

std::string CpuModelOf(std::string_view cpuinfo) {
  for (const std::string_view key : {"model name", "Model", "Hardware"}) {
    std::size_t start = 0;
    while (start < cpuinfo.size()) {
      const std::size_t end = std::min(cpuinfo.find('\n', start), cpuinfo.size());
      const std::string_view line = cpuinfo.substr(start, end - start);
      start = end + 1;
      const std::size_t colon = line.find(':');
      if (colon != std::string_view::npos && Trimmed(line.substr(0, colon)) == key) {
        return std::string(Trimmed(line.substr(colon + 1)));
      }
    }
  }
  return "";
}

std::vector<std::string> TextsFilePlacesOf(const char* xdg_config_home, const char* home) {
  constexpr std::string_view kFile = "/statusanzeige/texts.toml";
  std::vector<std::string> places;
  if (xdg_config_home != nullptr && xdg_config_home[0] == '/') {
    places.push_back(xdg_config_home + std::string(kFile));
  } else if (home != nullptr && home[0] == '/') {
    places.push_back(home + std::string("/.config") + std::string(kFile));
  }
  places.push_back("/etc" + std::string(kFile));
  return places;
}

}  // namespace platform
