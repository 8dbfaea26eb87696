# SPDX-License-Identifier: GPL-2.0-or-later
"""Runs statusanzeige-demo builds and prints CPU, timing, memory and start-up figures;
and LCDd beside them, doing the same work.

    measure.py SECONDS OURS BUSY WINDOWLESS LCDD_DRIVERS [ARGUMENTS...]
"""
import os
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time


# Arguments every measured program gets besides its own (bench/run's after
# the seconds, e.g. --texts FILE).
EXTRA = []


def over_threads(pid, name, value):
    """The sum of value(text of /proc/PID/task/TID/name) over the process's threads."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/{name}") as f:
                total += value(f.read())
        except FileNotFoundError:  # a thread that has just ended
            pass
    return total


def cpu_seconds(pid):
    """Time on a CPU of all the process's threads, to the nanosecond."""
    return over_threads(pid, "schedstat", lambda text: int(text.split()[0])) / 1e9


def context_switches(pid, kinds=("voluntary", "nonvoluntary")):
    """Context switches of the given kinds of all the process's threads."""
    names = tuple(f"{kind}_ctxt_switches:" for kind in kinds)
    return over_threads(pid, "status", lambda text: sum(
        int(line.split()[1]) for line in text.splitlines() if line.startswith(names)))


def peak_rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def find_window(name):
    out = subprocess.run(["xdotool", "search", "--name", name], capture_output=True, text=True)
    ids = out.stdout.split()
    return ids[0] if ids else None


def run_figures(proc, log, run_seconds):
    """CPU, wake-ups, step timing and memory of a running run, then the end of it."""
    run_cpu0, run_t0 = cpu_seconds(proc.pid), time.monotonic()
    switches0, wall0 = context_switches(proc.pid), time.time()
    preempted0 = context_switches(proc.pid, ("nonvoluntary",))
    time.sleep(run_seconds)
    running = (cpu_seconds(proc.pid) - run_cpu0) / (time.monotonic() - run_t0)
    switches, wall = context_switches(proc.pid) - switches0, time.time()
    preempted = context_switches(proc.pid, ("nonvoluntary",)) - preempted0
    rss = peak_rss_mb(proc.pid)
    proc.terminate()
    proc.wait(timeout=10)

    with open(log) as f:
        times = [float(line.split()[0]) for line in f]
    os.unlink(log)
    steps = [times[i:i + 24] for i in range(3, len(times) - 23, 24)]
    # The first step follows the click (or the start); the others are paced
    # to whole seconds.
    late = [(s[0] - int(s[0])) * 1000 for s in steps[1:]]
    spans = [(s[-1] - s[0]) * 1000 for s in steps]
    # Wake-ups: every context switch of every thread while the run was measured.
    steps_in_run = sum(1 for s in steps if wall0 <= s[0] < wall)
    return {
        "CPU while running (% of a core)": 100 * running,
        "wake-ups per step (all threads)": switches / max(steps_in_run, 1),
        "  of which preempted (involuntary)": preempted / max(steps_in_run, 1),
        "step lateness median (ms)": statistics.median(late),
        "step lateness max (ms)": max(late),
        "longest step, 24 reports (ms)": max(spans),
        "peak RSS (MB)": rss,
        "steps measured": len(late),
    }


def measure(binary, run_seconds):
    log = tempfile.NamedTemporaryFile(suffix=".log", delete=False).name
    started = time.monotonic()
    proc = subprocess.Popen([binary, "--report-log", log] + EXTRA,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = None
    while window is None:
        window = find_window("Statusanzeige mit")
        if window is None:
            time.sleep(0.002)
        if time.monotonic() - started > 20:
            raise RuntimeError("window did not appear")
    startup = time.monotonic() - started

    time.sleep(2.0)
    idle_cpu0, idle_t0 = cpu_seconds(proc.pid), time.monotonic()
    time.sleep(5.0)
    idle = (cpu_seconds(proc.pid) - idle_cpu0) / (time.monotonic() - idle_t0)

    subprocess.run(["xdotool", "mousemove", "--window", window, "60", "112", "click", "1"],
                   check=True)
    time.sleep(0.5)
    figures = run_figures(proc, log, run_seconds)
    figures["CPU while idle (% of a core)"] = 100 * idle
    figures["start-up to window (ms)"] = startup * 1000
    return figures


def measure_unattended(binary, run_seconds):
    """The program as it runs unattended: --no-window, no display painted."""
    log = tempfile.NamedTemporaryFile(suffix=".log", delete=False).name
    env = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
    started = time.monotonic()
    proc = subprocess.Popen([binary, "--no-window", "--report-log", log] + EXTRA, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while os.path.getsize(log) == 0:
        if time.monotonic() - started > 20:
            raise RuntimeError("no first report")
        time.sleep(0.0005)
    startup = time.monotonic() - started
    time.sleep(1.5)
    figures = run_figures(proc, log, run_seconds)
    figures["start-up to first report (ms)"] = startup * 1000
    return figures


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def measure_lcdd(drivers, run_seconds):
    """LCDd (lcdproc) doing the same work: its text driver on an 8x1 display, and a
    client that scrolls one text through it at one step per second."""
    port = free_port()
    config = tempfile.NamedTemporaryFile("w", suffix=".conf", delete=False)
    config.write(f"[server]\nDriverPath={drivers}/\nDriver=text\nBind=127.0.0.1\n"
                 f"Port={port}\nReportLevel=0\nReportToSyslog=no\nForeground=yes\n"
                 "ServerScreen=no\n[text]\nSize=8x1\n")
    config.close()
    proc = subprocess.Popen(["LCDd", "-c", config.name, "-f"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    for _ in range(200):
        try:
            client = socket.create_connection(("127.0.0.1", port))
            break
        except OSError:
            time.sleep(0.05)
    else:
        raise RuntimeError("LCDd did not listen")
    def drain():
        # Its answers and "listen"/"ignore" lines are read away, not looked at.
        try:
            while client.recv(4096):
                pass
        except OSError:
            pass

    threading.Thread(target=drain, daemon=True).start()
    for line in ["hello", "client_set -name bench", "screen_add s",
                 "screen_set s -priority foreground -heartbeat off", "widget_add s w string"]:
        client.sendall((line + "\n").encode())
    text = " " * 8 + "Dieser Rechner arbeitet fuer Wendrik Pfarlow aus Morvik" + " " * 8
    stop = threading.Event()

    def scroll():
        k = 0
        while not stop.is_set():
            window = text[k % (len(text) - 8):][:8]
            client.sendall(f'widget_set s w 1 1 "{window}"\n'.encode())
            k += 1
            stop.wait(1 - time.time() % 1)

    scroller = threading.Thread(target=scroll, daemon=True)
    scroller.start()
    time.sleep(1.5)
    cpu0, t0 = cpu_seconds(proc.pid), time.monotonic()
    switches0 = context_switches(proc.pid)
    time.sleep(run_seconds)
    seconds = time.monotonic() - t0
    figures = {
        "CPU while running (% of a core)": 100 * (cpu_seconds(proc.pid) - cpu0) / seconds,
        "wake-ups per step (all threads)": (context_switches(proc.pid) - switches0) / seconds,
        "peak RSS (MB)": peak_rss_mb(proc.pid),
    }
    stop.set()
    scroller.join()
    client.close()
    proc.terminate()
    proc.wait(timeout=10)
    os.unlink(config.name)
    return figures


def main():
    global EXTRA
    run_seconds = float(sys.argv[1])
    EXTRA = sys.argv[6:]
    ours, busy = measure(sys.argv[2], run_seconds), measure(sys.argv[3], run_seconds)
    unattended = measure_unattended(sys.argv[2], run_seconds)
    windowless = measure_unattended(sys.argv[4], run_seconds)
    lcdd = measure_lcdd(sys.argv[5], run_seconds)
    keys = list(ours) + [key for key in unattended if key not in ours]
    print(f"{'figure':34} {'ours':>10} {'busy-poll':>10} {'ours/busy':>10} {'no-window':>10} "
          f"{'window-less':>11} {'LCDd':>10}")

    def cell(figures, key, width=10):
        return f"{figures[key]:{width}.4f}" if key in figures else f"{'-':>{width}}"

    for key in keys:
        ratio = (f"{ours[key] / busy[key]:10.4f}" if key in ours and busy[key]
                 else f"{'-':>10}")
        print(f"{key:34} {cell(ours, key)} {cell(busy, key)} {ratio} {cell(unattended, key)} "
              f"{cell(windowless, key, 11)} {cell(lcdd, key)}")


if __name__ == "__main__":
    main()
