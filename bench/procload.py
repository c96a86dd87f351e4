#!/usr/bin/env python3
"""Serial load on a running program, measured from outside through /proc, the same way for qxsetup
and for its peer CuteCom. The program opens one end of a pseudo-terminal as its serial port; this
script plays the device on the other end.

  idle    CPU over 10 s with the port open, and wake-ups per second: the times a thread went to sleep
          and was woken again (voluntary context switches), all threads and the main thread alone,
          and how often the kernel took the CPU away (involuntary switches)
  burst   1 MiB written at once: time until the program's CPU goes quiet again, its CPU time,
          and how far its peak resident memory grows
  stream  10 s at 921600 baud (92160 bytes/s in 10 ms slices): CPU in percent of one core
  soak    the same stream for --minutes (default 10), resident memory (VmRSS) every 10 s, memory at
          1 min and at the end, CPU in percent of one core; for qxsetup then a LAN flood: a second
          qxsetup whose saved link is LAN connects at start to a peer on 127.0.0.1 that sends 64 KiB
          writes without a line end for 60 s, memory every 10 s against the memory before the flood
          (the flood stops early when the window passes 4 GiB, to spare the machine)

Usage: procload.py PROGRAM [case...] [--minutes N]    PROGRAM: qxsetup=PATH, cutecom, bare=PATH (the bare Qt window
with its empty 20 ms timer: the floor for a window that polls; it opens no port), still=PATH (the same
window without the timer: the floor for a window that waits for events) or loop=PATH (a plain process
waking every 20 ms: the machine's own floor for polling)
Needs DISPLAY (bench/run.sh starts Xvfb) and, for CuteCom, xdotool to press its Open button."""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import tty

MIB = 1024 * 1024
STREAM_RATE = 92160  # bytes per second at 921600 baud, 8N1
SAMPLE_S = 10
FLOOD_S = 60
FLOOD_LIMIT_MIB = 4096


def runtime_ns(pid):
    """CPU time of every thread of the process, in nanoseconds (schedstat is exact, not in ticks)."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except OSError:
            pass
    return total


def switches(pid):
    """Context switches as (voluntary of all threads, voluntary of the main thread, involuntary of all)."""
    voluntary = main = involuntary = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    key, _, value = line.partition(":")
                    if key == "voluntary_ctxt_switches":
                        voluntary += int(value)
                        if task == str(pid):
                            main += int(value)
                    elif key == "nonvoluntary_ctxt_switches":
                        involuntary += int(value)
        except OSError:
            pass
    return voluntary, main, involuntary


def status_kib(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return -1


def lines_of(size):
    """Printable 64-byte lines, as a device that logs would send them."""
    out = bytearray()
    n = 0
    while len(out) < size:
        out += f"{n:08d} the quick brown fox jumps over the lazy dog 0123456789ABCD\n".encode()[:64]
        n += 1
    return bytes(out[:size])


class Program:
    def __init__(self, entry, slave_path, workdir, lan_port=None):
        """With lan_port (qxsetup only) the saved link is LAN to 127.0.0.1:lan_port, which the window
        connects to at start; the caller waits for that connection."""
        self.name = entry.split("=", 1)[0]
        env = dict(os.environ)
        if self.name == "qxsetup":
            exe = entry.split("=", 1)[1]
            link = f"COMType=1\r\nTCPPort={lan_port}\r\n" if lan_port else "COMType=0\r\n"
            with open(os.path.join(workdir, "Config.ini"), "w", newline="") as f:
                f.write("[info]\r\nCOM=1\r\nBaudRate=9\r\n[Ver]\r\nCEO=EN\r\n"
                        f"[Network]\r\nServerIP=127.0.0.1\r\nServerIP2=127.0.0.1\r\n{link}"
                        f"[Ports]\r\nCOM1={slave_path}\r\n")
            self.proc = subprocess.Popen([exe], cwd=workdir, env=env,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if lan_port:
                self.pid = self.proc.pid
                return
        elif self.name in ("bare", "still", "loop"):
            poll = [] if self.name == "still" else ["--poll"]
            self.proc = subprocess.Popen([entry.split("=", 1)[1], *poll], env=env,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.pid = self.proc.pid
            time.sleep(3)
            return
        else:
            conf = os.path.join(workdir, ".config", "CuteCom")
            os.makedirs(conf, exist_ok=True)
            with open(os.path.join(conf, "CuteCom5.conf"), "w") as f:
                f.write("[sessions]\n1\\BaudRate=921600\n1\\DataBits=8\n"
                        f"1\\Device={slave_path}\n1\\FlowControl=0\n1\\OpenMode=3\n1\\Parity=0\n1\\StopBits=1\n"
                        "1\\autoReconnect=false\n1\\name=Default\n1\\showCtrlCharacters=false\n"
                        "1\\showTimestamp=false\nsize=1\n")
            env.update(HOME=workdir, QT_XCB_GL_INTEGRATION="none")
            self.proc = subprocess.Popen(["cutecom"], cwd=workdir, env=env,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            window = subprocess.run(["xdotool", "search", "--sync", "--pid", str(self.proc.pid)],
                                    capture_output=True, text=True, timeout=30).stdout.split()[0]
            subprocess.run(["xdotool", "windowfocus", "--sync", window], timeout=30)
            subprocess.run(["xdotool", "key", "--window", window, "alt+o"], timeout=30)  # its Open button
        self.pid = self.proc.pid
        deadline = time.time() + 30
        while not self.port_open(slave_path):
            if time.time() > deadline:
                raise SystemExit(f"{self.name} did not open {slave_path}")
            time.sleep(0.1)
        time.sleep(3)  # start-up work done

    def port_open(self, slave_path):
        try:
            return any(os.readlink(f"/proc/{self.pid}/fd/{fd}") == slave_path
                       for fd in os.listdir(f"/proc/{self.pid}/fd"))
        except OSError:
            return False

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()


def idle(program):
    cpu0, sw0, t0 = runtime_ns(program.pid), switches(program.pid), time.monotonic()
    time.sleep(10)
    cpu1, sw1, t1 = runtime_ns(program.pid), switches(program.pid), time.monotonic()
    wall = t1 - t0
    woken, main, taken = ((after - before) / wall for before, after in zip(sw0, sw1))
    print(f"{program.name:8} idle: CPU {100 * (cpu1 - cpu0) / 1e9 / wall:.3f} % of a core, "
          f"{woken:.1f} wake-ups/s ({main:.1f} of the main thread), {taken:.1f} preemptions/s", flush=True)


def feed(master, data, rate):
    start = time.monotonic()
    done = 0
    while done < len(data):
        due = len(data) if rate == 0 else min(len(data), int((time.monotonic() - start) * rate) + 1)
        if due > done:
            done += os.write(master, data[done:due])
        else:
            time.sleep(0.01)


def load(program, master, name, data, rate):
    with open(f"/proc/{program.pid}/clear_refs", "w") as f:
        f.write("5")  # the peak starts from now
    rss0 = status_kib(program.pid, "VmRSS")
    cpu0 = runtime_ns(program.pid)
    t0 = time.monotonic()
    writer = threading.Thread(target=feed, args=(master, data, rate))
    writer.start()
    # Busy: more than 20 % of a core in a 10 ms sample. Done: quiet for a whole second after the writer.
    last_busy = t0
    previous = cpu0
    while True:
        time.sleep(0.01)
        now_cpu, now = runtime_ns(program.pid), time.monotonic()
        if now_cpu - previous > 2_000_000:
            last_busy = now
        previous = now_cpu
        if not writer.is_alive() and now - last_busy > 1.0:
            break
    writer.join()
    cpu = (previous - cpu0) / 1e9
    growth = (status_kib(program.pid, "VmHWM") - rss0) / 1024
    if rate:
        seconds = len(data) / rate
        print(f"{program.name:8} {name}: CPU {100 * cpu / seconds:.1f} % of a core over the {seconds:.0f} s stream, "
              f"peak memory +{growth:.1f} MiB", flush=True)
    else:
        print(f"{program.name:8} {name}: processed in {last_busy - t0:.3f} s, CPU {cpu:.3f} s, "
              f"peak memory +{growth:.1f} MiB", flush=True)


def rss_mib(pid):
    """Resident memory in MiB, or None once the process is gone."""
    try:
        return status_kib(pid, "VmRSS") / 1024
    except OSError:
        return None


def sample_memory(pid, seconds, stop=lambda: False, limit_mib=None):
    """VmRSS every SAMPLE_S seconds for the given seconds, or until stop() holds, the process is gone
    or (checked every 0.5 s) it passes limit_mib. Returns [(seconds since start, MiB)], the first
    taken at once, the last at the end."""
    t0 = time.monotonic()
    samples = [(0.0, rss_mib(pid))]
    while True:
        time.sleep(0.5)
        now, mib = time.monotonic() - t0, rss_mib(pid)
        if stop() or mib is None or now >= seconds or (limit_mib and mib > limit_mib):
            samples.append((now, mib))
            return samples
        if now >= SAMPLE_S * len(samples):
            samples.append((now, mib))


def mib_text(mib):
    return "gone" if mib is None else f"{mib:.1f} MiB"


def shown(samples):
    return " ".join("gone" if mib is None else f"{mib:.0f}" for _, mib in samples)


def soak(program, master, minutes):
    """The 921600-baud stream for the given minutes: memory every 10 s, at 1 min and at the end."""
    data = lines_of(int(STREAM_RATE * 60 * minutes))
    cpu0, t0 = runtime_ns(program.pid), time.monotonic()
    writer = threading.Thread(target=feed, args=(master, data, STREAM_RATE))
    writer.start()
    samples = sample_memory(program.pid, float("inf"), stop=lambda: not writer.is_alive())
    writer.join()
    wall = time.monotonic() - t0
    cpu = (runtime_ns(program.pid) - cpu0) / 1e9 if rss_mib(program.pid) is not None else float("nan")
    at_minute = min(samples, key=lambda s: abs(s[0] - 60))
    end = samples[-1]
    growth = "" if None in (at_minute[1], end[1]) else f", {end[1] - at_minute[1]:+.1f} MiB since 1 min (bound +64)"
    print(f"{program.name:8} soak {minutes:g} min at 921600 baud: CPU {100 * cpu / wall:.1f} % of a core, "
          f"stream took {wall:.0f} s for {len(data) / STREAM_RATE:.0f} s of data", flush=True)
    print(f"{program.name:8} soak memory: {mib_text(at_minute[1])} at {at_minute[0]:.0f} s, "
          f"{mib_text(end[1])} at the end{growth}", flush=True)
    print(f"{program.name:8} soak memory every {SAMPLE_S} s (MiB): {shown(samples)}", flush=True)


def lan_flood(entry, slave_path):
    """A qxsetup whose saved link is LAN, flooded for FLOOD_S seconds by a peer on 127.0.0.1."""
    server = socket.create_server(("127.0.0.1", 0))
    server.settimeout(30)
    workdir = tempfile.mkdtemp(prefix="qxbench-lan-")
    program = Program(entry, slave_path, workdir, lan_port=server.getsockname()[1])
    try:
        try:
            peer, _ = server.accept()
        except socket.timeout:
            print(f"{program.name:8} LAN flood: the window did not connect to 127.0.0.1 within 30 s", flush=True)
            return
        time.sleep(3)  # start-up work done
        stop = threading.Event()
        sent = [0]

        def flood():
            chunk = b"x" * 65536
            try:
                while not stop.is_set():
                    sent[0] += peer.send(chunk)
            except OSError:
                pass  # the window closed the connection

        cpu0, t0 = runtime_ns(program.pid), time.monotonic()
        flooder = threading.Thread(target=flood)
        flooder.start()
        samples = sample_memory(program.pid, FLOOD_S, limit_mib=FLOOD_LIMIT_MIB)
        wall = time.monotonic() - t0
        alive = samples[-1][1] is not None
        cpu = (runtime_ns(program.pid) - cpu0) / 1e9 if alive else float("nan")
        stop.set()
        try:
            peer.shutdown(socket.SHUT_RDWR)  # wakes a send blocked on a window that stopped reading
        except OSError:
            pass
        flooder.join()
        peer.close()
        start, peak = samples[0][1], max(mib for _, mib in samples if mib is not None)
        why = "" if alive and wall >= FLOOD_S - 1 else (
            " (the window exited)" if not alive else f" (stopped early: over {FLOOD_LIMIT_MIB} MiB)")
        print(f"{program.name:8} LAN flood {wall:.0f} s{why}: {sent[0] / MIB:.0f} MiB sent, CPU {100 * cpu / wall:.1f} % "
              f"of a core, memory {start:.1f} MiB before, peak {peak:.1f} MiB ({peak - start:+.1f} MiB; bound +128)",
              flush=True)
        print(f"{program.name:8} LAN flood memory every {SAMPLE_S} s (MiB): {shown(samples)}", flush=True)
    finally:
        program.stop()
        server.close()
        shutil.rmtree(workdir, ignore_errors=True)


def main():
    args = sys.argv[1:]
    minutes = 10.0
    if "--minutes" in args:
        at = args.index("--minutes")
        minutes = float(args[at + 1])
        del args[at:at + 2]
    if not args:
        raise SystemExit(__doc__)
    cases = args[1:] or ["idle", "burst", "stream"]
    master, slave = os.openpty()
    tty.setraw(slave)
    slave_path = os.ttyname(slave)
    workdir = tempfile.mkdtemp(prefix="qxbench-")
    program = Program(args[0], slave_path, workdir)
    drain = threading.Thread(target=lambda: [os.read(master, 65536) for _ in iter(int, 1)], daemon=True)
    drain.start()  # whatever the program sends is taken away, so it never blocks on a full pty
    try:
        for case in cases:
            if case == "idle":
                idle(program)
            elif case == "burst":
                load(program, master, "1 MiB burst", lines_of(MIB), 0)
            elif case == "stream":
                load(program, master, "921600 baud", lines_of(STREAM_RATE * 10), STREAM_RATE)
            elif case == "soak":
                soak(program, master, minutes)
                if program.name == "qxsetup":
                    lan_flood(args[0], slave_path)
            else:
                print(f"unknown case {case}")
    finally:
        program.stop()
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    main()
