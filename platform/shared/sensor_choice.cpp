// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/sensor_choice.h"

#include <cmath>
#include <string_view>

#include "platform/shared/ascii.h"

namespace platform {
namespace {

// Chips are named by their drivers' names, '|' between them; a name that
// ends in '*' stands for every name it begins.
constexpr const char* kCpuDrivers =
    "coretemp|k10temp|k8temp|zenpower|cpu_thermal|cpu0_thermal|soc_thermal|intelcpu|amdcpu";

// Super-I/O chip families, and the inputs their pinouts give the core
// voltage and the CPU fan when nothing labels them.
struct Family {
  const char* chips;
  const char* name;
  const char* core_input;
  const char* fan_input;
};
constexpr Family kFamilies[] = {
    // nct6775's chips; CPUFANIN is fan2, SYSFANIN fan1
    {"nct61*|nct67*", "Nuvoton", "in0", "fan2"},
    {"w83*", "Winbond", "in0", "fan2"},
    // the IT8613E has no fan1; its first fan input, fan2, is the CPU's
    {"it8613*", "ITE", "in0", "fan2"},
    {"it8*", "ITE", "in0", "fan1"},
    // in0 is the chip's own 3.3 V supply
    {"f71*|f81*|f8000", "Fintek", "in1", "fan1"},
};

// Chips of a device of their own, never of the board: nothing of theirs is
// ever a reading, whatever it is called.
struct Device {
  const char* chips;
  const char* what;
};
constexpr Device kDevices[] = {
    {"amdgpu|radeon|nouveau|i915|xe|gpu-*", "a graphics card"},
    {"bat*|battery|hidpp_battery*|*_battery", "a battery"},
    {"ucsi_source_psy*", "a USB-C port"},
    {"nvme|drivetemp|hdd|ssd|storage", "a drive"},
    {"iwlwifi*|mt76*|mt79*|ath1*|rtw*|brcmfmac*", "a Wi-Fi adapter"},
    {"r8169*|igb*|igc*|e1000e*|ixgbe*|mlx*|bnxt*|atlantic*|tg3*|nic|sfp*", "a network adapter"},
    {"jc42|spd5118|ee1004|ram", "a memory module"},
};

// Which chips a line of the table looks at.
enum class Chips {
  kCpu,     // the CPU's own sensor drivers (kCpuDrivers)
  kBoard,   // any chip that is neither a CPU driver nor a device's
  kFamily,  // a Super-I/O chip of kFamilies, at its family's input
  kNamed,   // the chips the line names
};

enum class Test {
  kLabelIs,   // the label is one of the words
  kLabelHas,  // the label contains one of the words
  kNameIs,    // the feature's name is one of the words
};

// One line: a reading takes the first feature, in the chips' order, that the
// first line able to supply it finds. Labels are compared in lower case with
// '_' read as a blank; "%l" in a reason stands for the label, "%f" for the
// chip's family, "%n" for the feature's name.
struct Preference {
  Reading reading;
  Chips chips;
  const char* named;  // for Chips::kNamed
  Test test;
  const char* words;   // '|' between them
  const char* except;  // labels containing one of these never fit
  const char* reason;
};

using R = Reading;
using C = Chips;
using T = Test;
constexpr const char* kStandby = "vsb|standby|stby";

// clang-format off
constexpr Preference kPreferences[] = {
  // The CPU temperature: the CPU's own sensor before any thermistor of the
  // board's, which is often at the socket, at the VRM or not connected.
  {R::kCpuTemperature, C::kNamed, "coretemp|intelcpu|amdcpu", T::kLabelIs,
   "package id 0|physical id 0|cpu package", "", "CPU package sensor"},
  {R::kCpuTemperature, C::kNamed, "k10temp|zenpower|amdcpu", T::kLabelIs,
   "tdie|core (tdie)|core (tctl/tdie)", "", "AMD CPU die sensor"},
  {R::kCpuTemperature, C::kNamed, "k10temp|zenpower|amdcpu", T::kLabelIs,
   "tctl|core (tctl)", "", "AMD CPU control sensor"},
  // k10temp labels nothing on CPUs before Zen; a sensors.conf may label it.
  {R::kCpuTemperature, C::kNamed, "k10temp|k8temp", T::kNameIs,
   "temp1", "", "AMD CPU sensor"},
  {R::kCpuTemperature, C::kNamed, "cpu_thermal|cpu0_thermal|soc_thermal", T::kNameIs,
   "temp1", "", "the SoC's own sensor"},
  {R::kCpuTemperature, C::kBoard, "", T::kLabelHas,
   "cpu", "mos|vrm|socket|core #|near|case", "board label '%l'"},
  {R::kCpuTemperature, C::kBoard, "", T::kLabelHas,
   "peci agent 0|amd tsi", "", "the CPU's own sensor through the board's chip"},
  {R::kCpuTemperature, C::kBoard, "", T::kLabelHas,
   "socket", "", "the board's CPU socket thermistor"},
  {R::kCpuTemperature, C::kNamed, "coretemp|intelcpu", T::kLabelIs,
   "core 0|cpu core #1", "", "CPU core 0 sensor, no package sensor"},

  {R::kBoardTemperature, C::kBoard, "", T::kLabelHas,
   "motherboard|mainboard|m/b|mb|sys|board|mobo", "cpu", "board label '%l'"},
  {R::kBoardTemperature, C::kBoard, "", T::kLabelHas,
   "ambient", "", "the board's ambient sensor"},

  // The core voltage as the board measures it at the socket, then as the CPU
  // reports it, then the Super-I/O chip's core voltage input.
  {R::kCoreVoltage, C::kBoard, "", T::kLabelHas,
   "vcore|cpu core|core voltage", "core #|gpu|soc", "board label '%l'"},
  {R::kCoreVoltage, C::kCpu, "", T::kLabelIs,
   "svi2 core|core (svi2 tfn)|vcore|cpu core", "", "the CPU's own voltage report"},
  {R::kCoreVoltage, C::kFamily, "", T::kNameIs,
   "", "", "%f core voltage input %n"},

  {R::kRail3V3, C::kBoard, "", T::kLabelHas,
   "3.3v|3.3 v|+3.3|3vcc|3v3", kStandby, "board label '%l'"},
  {R::kRail5V, C::kBoard, "", T::kLabelHas,
   "+5v|5v|5 v|5.0v|5.0 v", kStandby, "board label '%l'"},
  {R::kRail12V, C::kBoard, "", T::kLabelHas,
   "12v|12 v|12.0v|12.0 v", kStandby, "board label '%l'"},

  // A second CPU fan header ("CPU_FAN2", "CPU OPT") after the first.
  {R::kCpuFan, C::kBoard, "", T::kLabelHas,
   "cpu|processor", "opt|2", "board label '%l'"},
  {R::kCpuFan, C::kBoard, "", T::kLabelHas,
   "cpu|processor", "", "board label '%l'"},
  // Machines with a fan of their own that cools the CPU: laptops' embedded
  // controllers, the Raspberry Pi 5's fan.
  {R::kCpuFan, C::kNamed, "thinkpad|pwmfan|cooling_fan", T::kNameIs,
   "fan1", "", "the machine's cooling fan"},
  {R::kCpuFan, C::kFamily, "", T::kNameIs,
   "", "", "%f CPU fan input %n"},
};
// clang-format on

// Each word of `words` ('|' between them) in turn, until `found` says yes.
template <typename Found>
bool AnyWord(std::string_view words, Found found) {
  while (!words.empty()) {
    const std::size_t bar = words.find('|');
    if (found(words.substr(0, bar))) return true;
    if (bar == std::string_view::npos) break;
    words.remove_prefix(bar + 1);
  }
  return false;
}

bool IsDigitOrPoint(char c) { return (c >= '0' && c <= '9') || c == '.' || c == ','; }
bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }

// True when `label` contains one of the words, each beginning where a word
// or a number begins: "5v" is not found in "1.05v", nor "12v" in "112v",
// nor "mb" in "ambient".
bool ContainsAny(const std::string& label, std::string_view words) {
  return AnyWord(words, [&](std::string_view word) {
    const auto continues = IsLetter(word.front()) ? IsLetter : IsDigitOrPoint;
    for (std::size_t at = label.find(word); at != std::string::npos;
         at = label.find(word, at + 1)) {
      const bool leads_with_digit = word.front() >= '0' && word.front() <= '9';
      if (!(leads_with_digit || IsLetter(word.front())) || at == 0 || !continues(label[at - 1])) {
        return true;
      }
    }
    return false;
  });
}

bool IsAny(std::string_view text, std::string_view words) {
  return AnyWord(words, [&](std::string_view word) { return text == word; });
}

bool IsChip(const std::string& chip, std::string_view names) {
  return AnyWord(names, [&](std::string_view name) {
    if (name.front() == '*')
      return chip.size() >= name.size() - 1 &&
             std::string_view(chip).substr(chip.size() - name.size() + 1) == name.substr(1);
    if (name.back() == '*')
      return std::string_view(chip).substr(0, name.size() - 1) == name.substr(0, name.size() - 1);
    return chip == name;
  });
}

const Device* DeviceOf(const std::string& chip) {
  for (const Device& device : kDevices) {
    if (IsChip(chip, device.chips)) return &device;
  }
  return nullptr;
}

const Family* FamilyOf(const std::string& chip) {
  for (const Family& family : kFamilies) {
    if (IsChip(chip, family.chips)) return &family;
  }
  return nullptr;
}

FeatureKind KindOf(Reading reading) {
  switch (reading) {
    case Reading::kCpuTemperature:
    case Reading::kBoardTemperature:
      return FeatureKind::kTemperature;
    case Reading::kCpuFan:
      return FeatureKind::kFan;
    default:
      return FeatureKind::kVoltage;
  }
}

const char* FamilyInput(const Family& family, Reading reading) {
  return reading == Reading::kCpuFan ? family.fan_input : family.core_input;
}

// A feature no label names: libsensors gives its name ("fan2"),
// LibreHardwareMonitor a number ("Fan #2", "Voltage #1").
bool IsUnlabelled(const FeatureCandidate& feature, const std::string& label) {
  return label == AsciiLower(feature.name) || label.rfind("fan #", 0) == 0 ||
         label.rfind("voltage #", 0) == 0;
}

// What a line looks for, the chip aside.
bool FitsWords(const Preference& line, const FeatureCandidate& feature, const std::string& label) {
  if (line.chips == Chips::kFamily) {
    // Any family's input: the chip decides whether it is this one's.
    for (const Family& family : kFamilies) {
      if (feature.name == FamilyInput(family, line.reading)) return true;
    }
    return false;
  }
  if (*line.except != '\0' && ContainsAny(label, line.except)) return false;
  switch (line.test) {
    case Test::kLabelIs:
      return IsAny(label, line.words);
    case Test::kLabelHas:
      return ContainsAny(label, line.words);
    case Test::kNameIs:
      return IsAny(feature.name, line.words);
  }
  return false;
}

bool FitsChip(const Preference& line, const FeatureCandidate& feature, const std::string& chip,
              const std::string& label) {
  switch (line.chips) {
    case Chips::kCpu:
      return IsChip(chip, kCpuDrivers);
    case Chips::kBoard:
      return !IsChip(chip, kCpuDrivers) && DeviceOf(chip) == nullptr;
    case Chips::kFamily: {
      const Family* family = FamilyOf(chip);
      return family != nullptr && feature.name == FamilyInput(*family, line.reading) &&
             IsUnlabelled(feature, label);
    }
    case Chips::kNamed:
      return IsChip(chip, line.named);
  }
  return false;
}

// Why a feature that fits a line cannot supply its reading; empty when it can.
std::string Refusal(const FeatureCandidate& feature, const std::string& chip) {
  if (const Device* device = DeviceOf(chip)) return std::string("belongs to ") + device->what;
  if (!feature.has_input) return "has no input to read";
  // Temperatures no CPU or board has: the values of inputs with nothing
  // connected (-128, -60, 127 °C and the like).
  if (feature.kind == FeatureKind::kTemperature && feature.value &&
      !(*feature.value > 0.0 && *feature.value <= 105.0)) {
    return "reads " + std::to_string(std::lround(*feature.value)) + " \xC2\xB0" +
           "C: not connected";
  }
  return {};
}

std::string ReasonOf(const Preference& line, const FeatureCandidate& feature,
                     const std::string& chip) {
  std::string reason;
  for (const char* c = line.reason; *c != '\0'; ++c) {
    if (*c != '%' || c[1] == '\0') {
      reason += *c;
      continue;
    }
    ++c;
    if (*c == 'l') reason += feature.label;
    if (*c == 'n') reason += feature.name;
    if (const Family* family = FamilyOf(chip); *c == 'f' && family != nullptr) {
      reason += family->name;
    }
  }
  return reason;
}

}  // namespace

FeatureChoice ChooseFeature(Reading reading, const std::vector<FeatureCandidate>& features) {
  std::vector<std::string> chips;
  std::vector<std::string> labels;
  chips.reserve(features.size());
  labels.reserve(features.size());
  for (const FeatureCandidate& feature : features) {
    chips.push_back(AsciiLower(feature.chip));
    std::string label = AsciiLower(feature.label);
    for (char& c : label) {
      if (c == '_') c = ' ';
    }
    labels.push_back(std::move(label));
  }

  FeatureChoice choice;
  std::vector<bool> refused(features.size(), false);
  for (const Preference& line : kPreferences) {
    if (line.reading != reading) continue;
    for (std::size_t i = 0; i < features.size(); ++i) {
      const FeatureCandidate& feature = features[i];
      if (feature.kind != KindOf(reading) || !FitsWords(line, feature, labels[i])) continue;
      // A device's feature is said to be passed over only where any chip's
      // could fit: by a board's label or at a family's input.
      const bool device = DeviceOf(chips[i]) != nullptr;
      if (device ? line.chips == Chips::kCpu || line.chips == Chips::kNamed
                 : !FitsChip(line, feature, chips[i], labels[i])) {
        continue;
      }
      std::string why = Refusal(feature, chips[i]);
      if (why.empty()) {
        choice.index = i;
        choice.reason = ReasonOf(line, feature, chips[i]);
        choice.passed_over.clear();
        return choice;
      }
      if (!refused[i]) choice.passed_over.push_back({i, std::move(why)});
      refused[i] = true;
    }
  }
  return choice;
}

}  // namespace platform
