// SPDX-License-Identifier: GPL-2.0-or-later
// The system calls the window-less waits are made of, so that tests can see
// how a wait is armed and how long it sleeps.
#pragma once

#include <poll.h>
#include <sys/timerfd.h>

#include <ctime>

namespace platform {

class WaitKernel {
 public:
  virtual ~WaitKernel() = default;
  // A timerfd on CLOCK_REALTIME, non-blocking; below 0 when there is none.
  virtual int CreateWallTimer() = 0;
  // CLOCK_REALTIME now.
  virtual timespec WallNow() = 0;
  // timerfd_settime: 0, or -1.
  virtual int SetTimer(int fd, int flags, const itimerspec& at) = 0;
  // Takes what a timerfd has to say, if anything.
  virtual void ReadTimer(int fd) = 0;
  // poll(): as the system call, EINTR and all.
  virtual int Poll(pollfd* fds, nfds_t count, int timeout_ms) = 0;
  virtual void Close(int fd) = 0;
};

// The system's own.
WaitKernel& SystemWaitKernel();

}  // namespace platform
