// SPDX-License-Identifier: GPL-2.0-or-later
// The HID calls of HidIowkit on Windows: SetupAPI lists the interfaces of the
// HID class, hid.dll tells what they are, the file API writes the reports.
#include <windows.h>
// windows.h first: the SetupAPI and HID headers build on its types. The HID
// headers (hidsdi.h brings hidusage.h and hidpi.h) are C, without NTSTATUS.
#include <ntdef.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}

#include <map>

#include "platform/windows/hid_iowkit.h"
#include "platform/windows/text.h"

namespace platform {
namespace {

constexpr DWORD kWriteMs = 1000;
constexpr DWORD kStalledWriteMs = 20;
// ERROR_NO_SUCH_DEVICE, which mingw-w64's headers lack.
constexpr DWORD kNoSuchDevice = 433;

// The failure the last system call left behind.
Failure LastFailure() {
  const DWORD code = GetLastError();
  return Failure{static_cast<int>(code), ErrorText(code)};
}

HANDLE ToHandle(HidDevice device) {
  return reinterpret_cast<HANDLE>(device);  // NOLINT(performance-no-int-to-ptr)
}

class WindowsHidSystem final : public HidSystem {
 public:
  std::vector<std::string> ListInterfaces() override {
    std::vector<std::string> paths;
    GUID hid_class{};
    HidD_GetHidGuid(&hid_class);
    HDEVINFO set =
        SetupDiGetClassDevsW(&hid_class, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return paths;
    SP_DEVICE_INTERFACE_DATA interface {};
    interface.cbSize = sizeof(interface);
    for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hid_class, index, &interface);
         ++index) {
      DWORD size = 0;
      SetupDiGetDeviceInterfaceDetailW(set, &interface, nullptr, 0, &size, nullptr);
      if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
      std::vector<std::uint8_t> storage(size, 0);
      auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
      detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
      if (SetupDiGetDeviceInterfaceDetailW(set, &interface, detail, size, nullptr, nullptr)) {
        paths.push_back(Narrow(detail->DevicePath));
      }
    }
    SetupDiDestroyDeviceInfoList(set);
    return paths;
  }

  Result<HidDevice> Open(const std::string& path) override {
    // Shared, as Windows' HID drivers expect; a program that holds the
    // interface exclusively makes this fail with a sharing violation.
    HANDLE handle = CreateFileW(Widen(path).c_str(), GENERIC_WRITE | GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastFailure();
    return reinterpret_cast<HidDevice>(handle);
  }

  bool Attributes(HidDevice device, std::uint16_t* vendor, std::uint16_t* product) override {
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof(attributes);
    if (!HidD_GetAttributes(ToHandle(device), &attributes)) return false;
    *vendor = attributes.VendorID;
    *product = attributes.ProductID;
    return true;
  }

  std::uint32_t OutputReportLength(HidDevice device) override {
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(ToHandle(device), &preparsed)) return 0;
    HIDP_CAPS caps{};
    const NTSTATUS status = HidP_GetCaps(preparsed, &caps);
    HidD_FreePreparsedData(preparsed);
    return status == HIDP_STATUS_SUCCESS ? caps.OutputReportByteLength : 0;
  }

  // A device that stops taking reports must not stall the program: a write
  // that has not completed in time is cancelled and counts as failed. Once
  // one has timed out, the next ones get only a moment, until one succeeds,
  // so that a run keeps its pace.
  Result<std::size_t> Write(HidDevice device, const std::uint8_t* data, std::size_t size) override {
    Result<std::size_t> written =
        WriteWithin(device, data, size, stalled_[device] ? kStalledWriteMs : kWriteMs);
    stalled_[device] = !written && written.Error().code == WAIT_TIMEOUT;
    return written;
  }

  void Close(HidDevice device) override {
    stalled_.erase(device);
    CloseHandle(ToHandle(device));
  }

 private:
  static Result<std::size_t> WriteWithin(HidDevice device, const std::uint8_t* data,
                                         std::size_t size, DWORD wait_ms) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (overlapped.hEvent == nullptr) return LastFailure();
    HANDLE handle = ToHandle(device);
    DWORD written = 0;
    bool timed_out = false;
    bool done = WriteFile(handle, data, static_cast<DWORD>(size), nullptr, &overlapped) != FALSE;
    if (!done && GetLastError() == ERROR_IO_PENDING) {
      if (WaitForSingleObject(overlapped.hEvent, wait_ms) != WAIT_OBJECT_0) {
        CancelIoEx(handle, &overlapped);
        timed_out = true;
      }
      done = true;
    }
    done = done && GetOverlappedResult(handle, &overlapped, &written, TRUE) != FALSE;
    const Failure failure =
        timed_out ? Failure{WAIT_TIMEOUT, ErrorText(WAIT_TIMEOUT)} : LastFailure();
    CloseHandle(overlapped.hEvent);
    if (!done) return failure;
    if (written != size) return Failure{0, "the report was cut short"};
    return std::size_t{written};
  }

  std::map<HidDevice, bool> stalled_;
};

}  // namespace

bool MeansControllerGone(int error) {
  switch (static_cast<DWORD>(error)) {
    // The HID class driver's answer for a device that has been removed
    // (STATUS_DEVICE_NOT_CONNECTED), and the other ways the I/O manager and
    // the USB stack say it: a device that stopped working under the request
    // (STATUS_UNSUCCESSFUL, a port reset by sleep), one no longer there
    // (STATUS_NO_SUCH_DEVICE, STATUS_DEVICE_REMOVED), a handle that no
    // longer stands for anything. On a handle opened for writing, a write
    // refused as not allowed means that the device is being removed
    // (STATUS_DELETE_PENDING, Wine's answer once the controller is gone).
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_ACCESS_DENIED:
    case ERROR_GEN_FAILURE:
    case ERROR_BAD_COMMAND:
    case ERROR_INVALID_HANDLE:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
    case kNoSuchDevice:
    case ERROR_DEVICE_REMOVED:
      return true;
    default:
      // A timed-out or cut-short report, a bad parameter: the device is
      // still there.
      return false;
  }
}

std::unique_ptr<HidSystem> MakeWindowsHidSystem() { return std::make_unique<WindowsHidSystem>(); }

}  // namespace platform
