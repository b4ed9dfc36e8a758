"""One whole process, timed as a user meets it: its output thrown away."""
import os
import sys
import time


def once(argv):
    """Runs argv; gives wall seconds, CPU seconds and the peak resident memory in MB.
    Stops the benchmark when the command fails (cat of a pair may not matter)."""
    t = time.perf_counter()
    pid = os.fork()
    if pid == 0:
        fd = os.open('/dev/null', os.O_WRONLY)
        os.dup2(fd, 1)
        os.dup2(fd, 2)
        os.execv(argv[0], argv)
    _, status, ru = os.wait4(pid, 0)
    if status != 0 and argv[0] != '/bin/cat':
        sys.exit(f'{" ".join(argv)} failed')
    return time.perf_counter() - t, ru.ru_utime + ru.ru_stime, ru.ru_maxrss / 1024


def median_line(runs, name, width, new, old, cmd):
    """One line of medians of `runs` runs of cmd ('@CLI' stands for the program), with the new
    build and, when `old` is given, the other build in turn, so that each meets the same load."""
    import statistics
    builds = [('new', new)] + ([('before', old)] if old else [])
    res = {b: [] for b, _ in builds}
    for _ in range(runs):
        for b, exe in builds:
            res[b].append(once([exe if c == '@CLI' else c for c in cmd]))
    line = f'{name:<{width}}'
    med = {}
    for b, _ in builds:
        w = statistics.median(r[0] for r in res[b]) * 1000
        c = statistics.median(r[1] for r in res[b]) * 1000
        m = max(r[2] for r in res[b])
        med[b] = (w, c, m)
        line += f' {b}: {w:7.1f} ms wall {c:7.1f} ms cpu {m:6.0f} MB |'
    if old:
        line += f' new/before: wall {med["new"][0] / med["before"][0]:.2f} cpu {med["new"][1] / med["before"][1]:.2f}'
    return line.rstrip(' |')


if __name__ == '__main__':
    # timed_process.py RUNS NAME WIDTH NEW OLD COMMAND...: prints median_line (OLD may be empty).
    sys.dont_write_bytecode = True  # nothing written into the checkout
    print(median_line(int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5], sys.argv[6:]))
