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
#include <thread>

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
  EXPECT_EQ(run.readings, "48 35 1352 3344 5040 12192 1187");
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
    EXPECT_EQ(run.readings, "48 35 1352 3344 5040 12192 0");
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
  EXPECT_EQ(sensors->Read(Reading::kCpuFan), 1480);

  const auto asus = platform::MakeWindowsSensors(
      errors.reporter, clock, testing_paths::FakeAsus("full"), L"127.0.0.1", server.Port());
  EXPECT_EQ(asus->Read(Reading::kRail3V3), 3344);
  EXPECT_EQ(errors.str(), "");
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
