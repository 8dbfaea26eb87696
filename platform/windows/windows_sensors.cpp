// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/windows_sensors.h"

#include <vector>

#include "platform/windows/asus_sensors.h"
#include "platform/windows/lhm_fetch.h"
#include "platform/windows/text.h"

namespace platform {
namespace {

class WindowsSensors final : public Sensors {
 public:
  WindowsSensors(Reporter& reporter, Clock& clock, std::wstring asus_library, std::wstring lhm_host,
                 int lhm_port, const std::wstring& host_folder)
      : reporter_(reporter),
        clock_(clock),
        asus_library_(std::move(asus_library)),
        lhm_host_(std::move(lhm_host)),
        lhm_port_(lhm_port),
        asus_(std::make_unique<AsusDllSensors>(reporter, clock, asus_library_, host_folder)) {}

  std::int32_t Read(Reading reading) override { return Source().Read(reading); }
  [[nodiscard]] std::string Describe(Reading reading) const override {
    return Source().Describe(reading);
  }
  [[nodiscard]] std::string Reason(Reading reading) const override {
    return Source().Reason(reading);
  }
  [[nodiscard]] std::vector<std::string> PassedOver(Reading reading) const override {
    return Source().PassedOver(reading);
  }
  void RunStarts() override {
    if (source_ != nullptr) source_->RunStarts();
  }

 private:
  Sensors& Source() const {
    if (source_ != nullptr) return *source_;
    std::string tried =
        Narrow(asus_library_) + " (not beside the program, nor on the DLL search path); ";
    if (asus_->Found()) {
      const std::string unusable = asus_->Unusable();
      if (unusable.empty()) {
        source_ = asus_.get();
        return *source_;
      }
      reporter_.SayOnce("Asus.dll unusable",
                        unusable + "; reading the sensors from LibreHardwareMonitor instead");
      tried = Narrow(asus_library_) + " (cannot be used); ";
      asus_.reset();
    }
    auto fetcher = std::make_shared<LhmFetcher>(lhm_host_, lhm_port_, Widen(kLhmPath));
    const std::string url =
        "http://" + Narrow(lhm_host_) + ":" + std::to_string(lhm_port_) + kLhmPath;
    lhm_ = std::make_unique<LhmSensors>(
        [fetcher] { return fetcher->Fetch(); }, url, clock_, reporter_, tried,
        "To use one, put Asus.dll beside the program, or start LibreHardwareMonitor with its "
        "web server on (Options > Remote Web Server > Run).");
    source_ = lhm_.get();
    return *source_;
  }

  Reporter& reporter_;
  Clock& clock_;
  std::wstring asus_library_;
  std::wstring lhm_host_;
  int lhm_port_;
  mutable std::unique_ptr<AsusDllSensors> asus_;
  mutable std::unique_ptr<LhmSensors> lhm_;
  mutable Sensors* source_ = nullptr;
};

}  // namespace

std::unique_ptr<Sensors> MakeWindowsSensors(Reporter& reporter, Clock& clock,
                                            const std::wstring& asus_library,
                                            const std::wstring& lhm_host, int lhm_port,
                                            const std::wstring& host_folder) {
  return std::make_unique<WindowsSensors>(reporter, clock, asus_library, lhm_host, lhm_port,
                                          host_folder);
}

}  // namespace platform
