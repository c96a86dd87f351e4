#!/usr/bin/env python3
"""Where a program's resident memory is: starts it, waits 3 s, prints VmRSS split into private
(anonymous) and file-backed pages, and the mappings that hold the most.

Usage: memory_split.py PATH [WORKDIR]    (WORKDIR: where it starts, for qxsetup the one with Config.ini)
Needs DISPLAY (bench/run.sh starts Xvfb)."""
import collections
import subprocess
import sys
import time


def main():
    exe = sys.argv[1]
    workdir = sys.argv[2] if len(sys.argv) > 2 else None
    proc = subprocess.Popen([exe], cwd=workdir, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(3)
        status = {}
        with open(f"/proc/{proc.pid}/status") as f:
            for line in f:
                key, _, value = line.partition(":")
                status[key] = value.strip()
        rss = collections.Counter()
        name = None
        with open(f"/proc/{proc.pid}/smaps") as f:
            for line in f:
                fields = line.split()
                if not fields[0].endswith(":"):
                    name = fields[5] if len(fields) > 5 else "[anonymous]"
                elif fields[0] == "Rss:":
                    rss[name] += int(fields[1])
        print(f"{exe}: VmRSS {status['VmRSS']}, private (RssAnon) {status['RssAnon']}, "
              f"files {status['RssFile']}, shared memory {status['RssShmem']}")
        for mapping, kib in rss.most_common(12):
            print(f"  {kib / 1024:5.1f} MiB {mapping}")
    finally:
        proc.terminate()
        proc.wait()


if __name__ == "__main__":
    main()
