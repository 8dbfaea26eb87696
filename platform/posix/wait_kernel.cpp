// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/posix/wait_kernel.h"

#include <unistd.h>

#include <cstdint>

namespace platform {
namespace {

class SystemKernel final : public WaitKernel {
 public:
  int CreateWallTimer() override {
    return ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
  }
  timespec WallNow() override {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
  }
  int SetTimer(int fd, int flags, const itimerspec& at) override {
    return ::timerfd_settime(fd, flags, &at, nullptr);
  }
  void ReadTimer(int fd) override {
    std::uint64_t expirations = 0;
    [[maybe_unused]] const auto ignored = ::read(fd, &expirations, sizeof expirations);
  }
  int Poll(pollfd* fds, nfds_t count, int timeout_ms) override {
    return ::poll(fds, count, timeout_ms);
  }
  void Close(int fd) override { ::close(fd); }
};

}  // namespace

WaitKernel& SystemWaitKernel() {
  static SystemKernel kernel;
  return kernel;
}

}  // namespace platform
