# SPDX-License-Identifier: GPL-2.0-or-later
"""Runs statusanzeige-demo builds and prints CPU, timing, memory and start-up figures."""
import os
import statistics
import subprocess
import sys
import tempfile
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
    proc = subprocess.Popen([binary, "--no-window", "--report-log", log] + EXTRA, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.5)
    return run_figures(proc, log, run_seconds)


def main():
    global EXTRA
    run_seconds = float(sys.argv[1])
    EXTRA = sys.argv[4:]
    ours, busy = measure(sys.argv[2], run_seconds), measure(sys.argv[3], run_seconds)
    unattended = measure_unattended(sys.argv[2], run_seconds)
    print(f"{'figure':34} {'ours':>10} {'busy-poll':>10} {'ours/busy':>10} {'no-window':>10}")
    for key in ours:
        ratio = f"{ours[key] / busy[key]:10.4f}" if busy[key] else f"{'-':>10}"
        alone = f"{unattended[key]:10.4f}" if key in unattended else f"{'-':>10}"
        print(f"{key:34} {ours[key]:10.4f} {busy[key]:10.4f} {ratio} {alone}")


if __name__ == "__main__":
    main()
