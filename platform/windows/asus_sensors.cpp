#include "platform/windows/asus_sensors.h"

#include <ostream>

#include "platform/windows/text.h"

namespace platform {

AsusDllSensors::AsusDllSensors(std::ostream& errors, std::wstring library)
    : errors_(errors), library_name_(std::move(library)) {}

AsusDllSensors::~AsusDllSensors() {
  if (library_ != nullptr) FreeLibrary(library_);
}

void AsusDllSensors::Load() const {
  if (loaded_) return;
  loaded_ = true;
  library_ = LoadLibraryW(library_name_.c_str());
  if (library_ == nullptr) return;
  for (const ReadingInfo& info : kReadings) {
    functions_[static_cast<std::size_t>(info.reading)] = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(library_, info.function)));
  }
}

std::int32_t AsusDllSensors::Read(Reading reading) {
  Load();
  const auto index = static_cast<std::size_t>(reading);
  const Function function = functions_[index];
  if (function == nullptr) {
    if (!said_[index]) {
      said_[index] = true;
      errors_ << "statusanzeige: no sensor for the " << InfoOf(reading).name << " ("
              << Narrow(library_name_) << (library_ == nullptr ? " not found" : " lacks ")
              << (library_ == nullptr ? "" : InfoOf(reading).function) << "); it shows 0\n"
              << std::flush;
    }
    return 0;
  }
  // Only the low 16 bits count, taken as signed.
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(function() & 0xFFFF));
}

std::string AsusDllSensors::Describe(Reading reading) const {
  Load();
  if (functions_[static_cast<std::size_t>(reading)] == nullptr) return {};
  return Narrow(library_name_) + " " + InfoOf(reading).function;
}

}  // namespace platform
