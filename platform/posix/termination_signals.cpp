// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/posix/termination_signals.h"

#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

namespace platform {
namespace {

int g_signal_pipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  // Only async-signal-safe work here: wake the event loop.
  [[maybe_unused]] const auto ignored = ::write(g_signal_pipe[1], &byte, 1);
}

}  // namespace

int WatchTerminationSignals() {
  if (g_signal_pipe[0] < 0) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signal_pipe) != 0) {
      return -1;
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
  }
  // A parent may have left the signals blocked (the mask is inherited across
  // exec): unblocked, they are taken, one already pending too.
  sigset_t both;
  sigemptyset(&both);
  sigaddset(&both, SIGINT);
  sigaddset(&both, SIGTERM);
  ::pthread_sigmask(SIG_UNBLOCK, &both, nullptr);
  return g_signal_pipe[0];
}

bool TakeTerminationSignals() {
  if (g_signal_pipe[0] < 0) return false;
  bool any = false;
  char buffer[16];
  while (::read(g_signal_pipe[0], buffer, sizeof buffer) > 0) any = true;
  return any;
}

}  // namespace platform
