// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/lhm_data.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "platform/shared/ascii.h"

namespace platform {
namespace {

using Json = nlohmann::json;

// Deeper than any real tree (computer, hardware, sub-hardware, group, sensor).
constexpr int kMaxDepth = 32;

std::string StringOf(const Json& node, const char* key) {
  const auto it = node.find(key);
  if (it == node.end() || !it->is_string()) return {};
  return it->get<std::string>();
}

std::vector<std::string_view> Segments(std::string_view id) {
  std::vector<std::string_view> parts;
  while (!id.empty()) {
    const std::size_t slash = id.find('/');
    if (slash != 0) parts.push_back(id.substr(0, slash));
    if (slash == std::string_view::npos) break;
    id.remove_prefix(slash + 1);
  }
  return parts;
}

FeatureKind KindOfName(std::string_view name) {
  const std::string lower = AsciiLower(name);
  if (lower == "temperature" || lower == "temperatures") return FeatureKind::kTemperature;
  if (lower == "voltage" || lower == "voltages") return FeatureKind::kVoltage;
  if (lower == "fan" || lower == "fans") return FeatureKind::kFan;
  return FeatureKind::kOther;
}

// The sensor's Type; else the kind in its SensorId (".../voltage/0"); else,
// in versions without either, the group it stands in ("Voltages").
FeatureKind KindOf(const Json& node, const std::string& id, const std::string& group) {
  const std::string type = StringOf(node, "Type");
  if (!type.empty()) return KindOfName(type);
  const auto parts = Segments(id);
  if (parts.size() >= 2) return KindOfName(parts[parts.size() - 2]);
  return KindOfName(group);
}

struct Walk {
  LhmSensorList& sensors;

  void Node(const Json& node, const std::string& parent, const std::string& grandparent,
            int depth) {
    if (!node.is_object() || depth > kMaxDepth) return;
    const std::string text = StringOf(node, "Text");
    const auto children = node.find("Children");
    const bool has_children = children != node.end() && children->is_array() && !children->empty();
    const auto value = node.find("Value");
    const bool has_value =
        value != node.end() && !(value->is_string() && value->empty()) && !value->is_null();
    if (node.contains("SensorId") || (!has_children && has_value && depth >= 2)) {
      LhmSensor sensor;
      sensor.id = StringOf(node, "SensorId");
      sensor.text = text;
      sensor.hardware = grandparent;
      sensor.kind = KindOf(node, sensor.id, parent);
      if (value != node.end()) {
        // A number or a word as it stands; an array or object is no value
        // text (and dumping one nested deep would recurse as deep).
        if (value->is_string()) {
          sensor.value_text = value->get<std::string>();
        } else if (value->is_primitive()) {
          sensor.value_text = value->dump();
        }
      }
      sensor.value = ParseLhmValue(sensor.value_text, sensor.kind);
      sensors.push_back(std::move(sensor));
      return;
    }
    if (!has_children) return;
    for (const Json& child : *children) Node(child, text, parent, depth + 1);
  }
};

bool IsSpace(std::string_view text, std::size_t at, std::size_t& length) {
  if (text[at] == ' ' || text[at] == '\t') {
    length = 1;
    return true;
  }
  // No-break space and narrow no-break space, as some cultures write them.
  for (std::string_view space : {std::string_view("\xC2\xA0"), std::string_view("\xE2\x80\xAF")}) {
    if (text.substr(at, space.size()) == space) {
      length = space.size();
      return true;
    }
  }
  return false;
}

std::string_view Trim(std::string_view text) {
  std::size_t length = 0;
  while (!text.empty() && IsSpace(text, 0, length)) text.remove_prefix(length);
  while (!text.empty()) {
    bool trimmed = false;
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
      if (IsSpace(text, text.size() - back, length) && length == back) {
        text.remove_suffix(back);
        trimmed = true;
        break;
      }
    }
    if (!trimmed) break;
  }
  return text;
}

// Where the parser stops on input it refuses without a parse_error: its
// position, as a parse_error would have told it.
struct StopOfParse final : nlohmann::json_sax<Json> {
  std::size_t byte = 0;
  bool null() override { return true; }
  bool boolean(bool /*value*/) override { return true; }
  bool number_integer(number_integer_t /*value*/) override { return true; }
  bool number_unsigned(number_unsigned_t /*value*/) override { return true; }
  bool number_float(number_float_t /*value*/, const string_t& /*text*/) override { return true; }
  bool string(string_t& /*value*/) override { return true; }
  bool binary(binary_t& /*value*/) override { return true; }
  bool start_object(std::size_t /*size*/) override { return true; }
  bool key(string_t& /*value*/) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t /*size*/) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t position, const std::string& /*token*/,
                   const nlohmann::detail::exception& /*error*/) override {
    byte = position;
    return false;
  }
};

}  // namespace

Result<LhmSensorList> ParseLhmData(std::string_view json) {
  // Whatever answers on the port may send anything: no exception of the
  // JSON library leaves here. A number too large for a double ("1e999") is
  // refused without a parse_error; the byte it stops at is found again with
  // a parse that only looks for it.
  try {
    const Json root = Json::parse(json.begin(), json.end());
    const auto children = root.is_object() ? root.find("Children") : root.end();
    if (children == root.end() || !children->is_array()) {
      return Failure{0, "JSON, but no sensor tree"};
    }
    LhmSensorList sensors;
    Walk{sensors}.Node(root, "", "", 0);
    return sensors;
  } catch (const Json::parse_error& e) {
    return Failure{0, "malformed JSON at byte " + std::to_string(e.byte)};
  } catch (const Json::exception&) {
    StopOfParse stop;
    Json::sax_parse(json.begin(), json.end(), &stop);
    return Failure{0, "malformed JSON at byte " + std::to_string(stop.byte)};
  } catch (const std::exception& e) {
    return Failure{0, std::string("unreadable JSON (") + e.what() + ")"};
  }
}

std::optional<double> ParseLhmValue(std::string_view text, FeatureKind kind) {
  text = Trim(text);
  std::string number;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    if (text.front() == '-') number += '-';
    text.remove_prefix(1);
  } else if (text.substr(0, 3) == "\xE2\x88\x92") {  // U+2212 MINUS SIGN
    number += '-';
    text.remove_prefix(3);
  }
  bool digits = false;
  bool point = false;
  while (!text.empty()) {
    const char c = text.front();
    if (c >= '0' && c <= '9') {
      digits = true;
      number += c;
    } else if ((c == '.' || c == ',') && !point) {
      point = true;
      number += '.';
    } else {
      break;
    }
    text.remove_prefix(1);
  }
  if (!digits) return std::nullopt;
  const std::string_view unit = Trim(text);

  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;

  // In the reading's unit: a value whose conversion leaves the numbers (300
  // digits of volts in millivolts) is no value either.
  const std::optional<double> converted = [&]() -> std::optional<double> {
    switch (kind) {
      case FeatureKind::kTemperature:
        if (unit ==
            "\xC2\xB0"
            "C")
          return value;
        if (unit ==
            "\xC2\xB0"
            "F")
          return (value - 32.0) * 5.0 / 9.0;
        return std::nullopt;
      case FeatureKind::kVoltage:
        if (unit == "V") return value * 1000.0;
        if (unit == "mV") return value;
        return std::nullopt;
      case FeatureKind::kFan:
        if (EqualsIgnoringCase(unit, "RPM")) return value;
        return std::nullopt;
      case FeatureKind::kOther:
        break;
    }
    return std::nullopt;
  }();
  if (converted && !std::isfinite(*converted)) return std::nullopt;
  return converted;
}

LhmChoice ChooseLhmSensors(const LhmSensorList& sensors) {
  std::vector<FeatureCandidate> candidates;
  candidates.reserve(sensors.size());
  for (const LhmSensor& sensor : sensors) {
    const auto parts = Segments(sensor.id);
    FeatureCandidate candidate;
    // The hardware's kind, as the id gives it ("intelcpu", "gpu-nvidia",
    // "nvme"), or for a Super I/O chip the chip ("nct6798d").
    if (parts.size() >= 2) {
      candidate.chip = std::string(parts[0] == "lpc" ? parts[1] : parts[0]);
    } else {
      candidate.chip = sensor.hardware;
    }
    candidate.kind = sensor.kind;
    candidate.label = sensor.text;
    candidate.name = sensor.id;
    candidate.value = sensor.value;
    // A Super I/O chip's inputs counted as its hwmon driver counts them
    // (in0, temp1, fan1), so the rules' fallbacks find the same inputs.
    if (parts.size() >= 4 && parts[0] == "lpc") {
      int index = 0;
      const std::string_view last = parts.back();
      const auto [end, error] = std::from_chars(last.data(), last.data() + last.size(), index);
      if (error == std::errc() && end == last.data() + last.size()) {
        switch (sensor.kind) {
          case FeatureKind::kVoltage:
            candidate.name = "in" + std::to_string(index);
            break;
          case FeatureKind::kTemperature:
            candidate.name = "temp" + std::to_string(index + 1);
            break;
          case FeatureKind::kFan:
            candidate.name = "fan" + std::to_string(index + 1);
            break;
          case FeatureKind::kOther:
            break;
        }
      }
    }
    candidates.push_back(std::move(candidate));
  }
  LhmChoice choice;
  for (std::size_t r = 0; r < kReadingCount; ++r) {
    choice[r] = ChooseFeature(static_cast<Reading>(r), candidates);
  }
  return choice;
}

std::string DescribeLhmSensor(const LhmSensor& sensor) {
  std::string text = sensor.hardware.empty() ? sensor.text : sensor.hardware + ": " + sensor.text;
  if (!sensor.id.empty()) text += " (" + sensor.id + ")";
  return text;
}

}  // namespace platform
