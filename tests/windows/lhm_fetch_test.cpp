// SPDX-License-Identifier: GPL-2.0-or-later
// LibreHardwareMonitor's data.json over WinHTTP, from a small HTTP server on
// 127.0.0.1 inside the test: one that serves a board's data.json, one that is
// absent, one that answers too slowly, one that asks for a password, and
// answers that are no sensor tree or carry odd units.
#include <winsock2.h>
// winsock2.h before windows.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/shared/lhm_sensors.h"
#include "platform/windows/lhm_fetch.h"
#include "platform/windows/windows_sensors.h"
#include "tests/fakes.h"
#include "tests/windows/windows_test_paths.h"

namespace {

using platform::Reading;

std::string Fixture(const std::string& name) { return fakes::DataFile("lhm/" + name); }

struct Winsock {
  Winsock() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~Winsock() { WSACleanup(); }
};

// An HTTP server on 127.0.0.1, on a port of the system's choosing, that
// answers every request with `status` and `body`, after `delay_ms`.
class TestServer {
 public:
  explicit TestServer(std::string body, int status = 200, DWORD delay_ms = 0)
      : body_(std::move(body)), status_(status), delay_ms_(delay_ms) {
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    EXPECT_EQ(bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    listen(listener_, 4);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] { Serve(); });
  }
  ~TestServer() {
    SetEvent(stop_);
    thread_.join();
    closesocket(listener_);
    CloseHandle(stop_);
  }
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  [[nodiscard]] int Port() const { return port_; }
  int requests() const { return requests_; }

 private:
  void Serve() {
    while (WaitForSingleObject(stop_, 0) == WAIT_TIMEOUT) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(listener_, &ready);
      timeval wait{0, 20000};
      if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
      const SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      std::string request;
      char buffer[1024];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
      }
      ++requests_;
      // A slow server is stopped early when the test ends.
      if (delay_ms_ == 0 || WaitForSingleObject(stop_, delay_ms_) == WAIT_TIMEOUT) {
        const std::string answer = "HTTP/1.1 " + std::to_string(status_) +
                                   " X\r\nContent-Type: application/json\r\nContent-Length: " +
                                   std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n" +
                                   body_;
        send(client, answer.data(), static_cast<int>(answer.size()), 0);
      }
      shutdown(client, SD_BOTH);
      closesocket(client);
    }
  }

  std::string body_;
  int status_;
  DWORD delay_ms_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  HANDLE stop_ = nullptr;
  std::atomic<int> requests_{0};
  std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens.
int FreePort() {
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  int length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(s);
  return ntohs(address.sin_port);
}

struct Outcome {
  std::string readings;
  std::string errors;
};

Outcome ReadThrough(int port) {
  platform::LhmFetcher fetcher(L"127.0.0.1", port, L"/data.json");
  fakes::FakeClock clock;
  fakes::Said errors;
  platform::LhmSensors sensors([&] { return fetcher.Fetch(); }, "http://127.0.0.1/data.json", clock,
                               errors.reporter);
  Outcome run;
  for (const auto& info : platform::kReadings) {
    if (!run.readings.empty()) run.readings += ' ';
    run.readings += std::to_string(sensors.Read(info.reading));
  }
  clock.Advance(2.0);
  sensors.Read(Reading::kCpuTemperature);  // again, with a new request: no new message
  run.errors = errors.str();
  return run;
}

std::size_t Lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(LhmFetch, ReadsABoardsDataJsonFromTheServer) {
  Winsock winsock;
  TestServer server(Fixture("nct6798d_desktop.json"));
  const Outcome run = ReadThrough(server.Port());
  EXPECT_EQ(run.readings, "54 35 1352 3344 5040 12192 1187");
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(server.requests(), 2);
}

TEST(LhmFetch, AnAbsentSlowOrLockedServerGivesZeroAndOneMessagePerReading) {
  Winsock winsock;
  struct Case {
    const char* what;
    std::unique_ptr<TestServer> server;
    std::string reason;
  };
  Case cases[] = {
      {"absent", nullptr, "(nothing answers there)"},
      {"slow", std::make_unique<TestServer>(Fixture("laptop_cpu_package.json"), 200, 3000),
       "(no answer within 100 ms)"},
      {"password", std::make_unique<TestServer>("", 401),
       "(it asks for a password; switch its web server's authentication off)"},
      {"not found", std::make_unique<TestServer>("<html></html>", 404),
       "(it answers HTTP status 404)"},
  };
  for (Case& c : cases) {
    const Outcome run = ReadThrough(c.server ? c.server->Port() : FreePort());
    EXPECT_EQ(run.readings, "0 0 0 0 0 0 0") << c.what;
    EXPECT_EQ(Lines(run.errors), platform::kReadingCount) << c.what << ": " << run.errors;
    EXPECT_NE(run.errors.find("statusanzeige: no source for the CPU temperature, showing 0. "
                              "Tried: LibreHardwareMonitor's web server at "
                              "http://127.0.0.1/data.json " +
                              c.reason + ".\n"),
              std::string::npos)
        << c.what << ": " << run.errors;
  }
}

TEST(LhmFetch, MalformedJsonAndOddUnitsGiveZeroAndOneMessage) {
  Winsock winsock;
  const std::string whole = Fixture("nct6798d_desktop.json");
  {
    TestServer server(whole.substr(0, 1000));
    const Outcome run = ReadThrough(server.Port());
    EXPECT_EQ(run.readings, "0 0 0 0 0 0 0");
    EXPECT_EQ(Lines(run.errors), platform::kReadingCount) << run.errors;
    EXPECT_NE(run.errors.find("(its answer is malformed JSON at byte"), std::string::npos)
        << run.errors;
  }
  {
    std::string odd = whole;
    odd.replace(odd.find("\"1187 RPM\""), 10, "\"1187 U/s\"");
    TestServer server(odd);
    const Outcome run = ReadThrough(server.Port());
    EXPECT_EQ(run.readings, "54 35 1352 3344 5040 12192 0");
    EXPECT_EQ(run.errors,
              "statusanzeige: cannot read the CPU fan speed from LibreHardwareMonitor's \"CPU "
              "Fan\" (\"1187 U/s\"), showing 0\n");
  }
}

TEST(LhmFetch, WithoutAsusDllTheMachineSensorsAreLibreHardwareMonitors) {
  Winsock winsock;
  TestServer server(Fixture("amd_tctl_it8686e.json"));
  fakes::FakeClock clock;
  fakes::Said errors;
  const auto sensors = platform::MakeWindowsSensors(
      errors.reporter, clock, L"NoSuchSensorLibrary.dll", L"127.0.0.1", server.Port());
  EXPECT_EQ(sensors->Describe(Reading::kCpuTemperature),
            "LibreHardwareMonitor: AMD Ryzen 7 5800X: Core (Tctl/Tdie) "
            "(/amdcpu/0/temperature/0)");
  EXPECT_EQ(sensors->Reason(Reading::kCpuTemperature), "AMD CPU die sensor");
  EXPECT_EQ(sensors->Read(Reading::kCpuFan), 1480);

  const auto asus =
      platform::MakeWindowsSensors(errors.reporter, clock, testing_paths::FakeAsus("full"),
                                   L"127.0.0.1", server.Port(), testing_paths::SensorHosts());
  EXPECT_EQ(asus->Read(Reading::kRail3V3), 3344);
  EXPECT_EQ(errors.str(), "");
}

// The smallest 32-bit (i386) DLL the loader recognises as one: headers and
// one section holding a "ret".
void WriteThirtyTwoBitDll(const std::wstring& path) {
  std::vector<std::uint8_t> image(0x400, 0);
  const auto put16 = [&](std::size_t at, std::uint16_t v) {
    image[at] = v & 0xFF;
    image[at + 1] = v >> 8;
  };
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) image[at + i] = (v >> (8 * i)) & 0xFF;
  };
  image[0] = 'M';
  image[1] = 'Z';
  put32(0x3C, 0x40);  // where the PE header starts
  image[0x40] = 'P';
  image[0x41] = 'E';
  put16(0x44, 0x014C);  // i386
  put16(0x46, 1);       // one section
  put16(0x54, 0xE0);    // size of the optional header
  put16(0x56, 0x2102);  // executable, 32-bit, DLL
  const std::size_t opt = 0x58;
  put16(opt, 0x010B);           // PE32
  put32(opt + 4, 0x200);        // size of code
  put32(opt + 20, 0x1000);      // base of code
  put32(opt + 24, 0x1000);      // base of data
  put32(opt + 28, 0x10000000);  // image base
  put32(opt + 32, 0x1000);      // section alignment
  put32(opt + 36, 0x200);       // file alignment
  put16(opt + 40, 4);           // OS version 4.0
  put16(opt + 48, 4);           // subsystem version 4.0
  put32(opt + 56, 0x2000);      // size of image
  put32(opt + 60, 0x200);       // size of headers
  put16(opt + 68, 2);           // Windows GUI
  put32(opt + 72, 0x100000);    // stack reserve
  put32(opt + 76, 0x1000);      // stack commit
  put32(opt + 80, 0x100000);    // heap reserve
  put32(opt + 84, 0x1000);      // heap commit
  put32(opt + 92, 16);          // data directories
  const std::size_t section = opt + 0xE0;
  const char name[] = ".text";
  for (std::size_t i = 0; i < 5; ++i) image[section + i] = static_cast<std::uint8_t>(name[i]);
  put32(section + 8, 0x1000);       // virtual size
  put32(section + 12, 0x1000);      // virtual address
  put32(section + 16, 0x200);       // size of raw data
  put32(section + 20, 0x200);       // file offset
  put32(section + 36, 0x60000020);  // code, execute, read
  image[0x200] = 0xC3;
  std::ofstream(path.c_str(), std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
}

// An Asus.dll that loads in neither bitness, or has none of the seven
// functions, is said once; the readings are LibreHardwareMonitor's.
TEST(LhmFetch, ALibraryThatCannotBeUsedIsSaidOnceAndLibreHardwareMonitorReadsInstead) {
  Winsock winsock;
  TestServer server(Fixture("amd_tctl_it8686e.json"));
  const std::wstring folder = testing_paths::TemporaryFolder(L"unusable");
  const std::wstring path = folder + L"\\Asus.dll";
  const std::pair<const char*, const char*> cases[] = {
      {"no library",
       "Asus.dll: it is no Windows library; reading the sensors from "
       "LibreHardwareMonitor instead\n"},
      {"no functions",
       "Asus.dll: it has none of the sensor functions GetCPUTemperature, "
       "GetMBTemperature, GetVoltIN1, GetVoltIN2, GetVoltIN3, GetVoltIN4, "
       "GetFanCPURPM; reading the sensors from LibreHardwareMonitor instead\n"}};
  for (const auto& [what, said] : cases) {
    SCOPED_TRACE(what);
    if (std::string(what) == "no library") {
      std::ofstream(path.c_str(), std::ios::binary) << "MZ, but no more";
    } else {
      WriteThirtyTwoBitDll(path);
    }
    fakes::FakeClock clock;
    fakes::Said errors;
    const auto sensors = platform::MakeWindowsSensors(errors.reporter, clock, path, L"127.0.0.1",
                                                      server.Port(), testing_paths::SensorHosts());
    EXPECT_EQ(sensors->Read(Reading::kCpuFan), 1480);
    EXPECT_EQ(sensors->Read(Reading::kCpuFan), 1480);
    const std::string text = errors.str();
    EXPECT_EQ(text.rfind("statusanzeige: cannot use ", 0), 0U) << text;
    EXPECT_NE(text.find(said), std::string::npos) << text;
    EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    EXPECT_TRUE(testing_paths::ChildrenRunning(L"statusanzeige-sensor-host32.exe").empty());
  }
  DeleteFileW(path.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST(LhmFetch, WithNeitherSourceTheMessageSaysWhatWasTriedAndHowToEnableOne) {
  Winsock winsock;
  fakes::FakeClock clock;
  fakes::Said errors;
  const auto sensors = platform::MakeWindowsSensors(
      errors.reporter, clock, L"NoSuchSensorLibrary.dll", L"127.0.0.1", FreePort());
  EXPECT_EQ(sensors->Read(Reading::kRail5V), 0);
  const std::string text = errors.str();
  EXPECT_EQ(text.rfind("statusanzeige: no source for the 5 V rail, showing 0. Tried: "
                       "NoSuchSensorLibrary.dll (not beside the program, nor on the DLL search "
                       "path); LibreHardwareMonitor's web server at http://127.0.0.1:",
                       0),
            0U)
      << text;
  EXPECT_NE(text.find("/data.json (nothing answers there). To use one, put Asus.dll beside the "
                      "program, or start LibreHardwareMonitor with its web server on (Options > "
                      "Remote Web Server > Run).\n"),
            std::string::npos)
      << text;
}

}  // namespace
