#!/usr/bin/env python3
"""A class's stack read as the command line reads it: the largest memory the
run takes (max RSS) for 99 pages of a copier's PDF at 200 dpi and for 35
phone photos of 12 MP each, and the time a page takes beside the time a PDF
renderer (pdftoppm) takes to render the same pages alone.
  bench/reading_stack.py <Tavelin program>"""
import os
import resource
import subprocess
import sys
import tempfile
import time

program = os.path.realpath(sys.argv[1])
work = tempfile.mkdtemp()
env = dict(os.environ, XDG_DATA_HOME=os.path.join(work, "data"), QT_QPA_PLATFORM="offscreen")


def run(arguments):
    """Runs a command; its seconds and the largest memory of any child so far."""
    start = time.perf_counter()
    subprocess.run(arguments, check=False, env=env, cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def max_rss_of(arguments):
    """The seconds and the max RSS (MB) of one run, measured in a child of its own."""
    probe = ("import resource,subprocess,sys,time;s=time.perf_counter();"
             "subprocess.run(sys.argv[1:],stdout=subprocess.DEVNULL,stderr=subprocess.DEVNULL);"
             "print(time.perf_counter()-s, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss/1024)")
    out = subprocess.run([sys.executable, "-c", probe, *arguments], env=env, cwd=work, capture_output=True, text=True)
    seconds, mb = out.stdout.split()
    return float(seconds), float(mb)


preset = "2けた×1けた（十の位でくり上がり）"
run([program, "--pdf", "class.pdf", "--preset", preset, "--cell", "14", "--problems", "9", "--sheets", "99", "--roll-numbers",
     "--seed", "5"])
seconds, mb = max_rss_of([program, "--read", "class.pdf", "--results", "r.csv", "--marked", "m.pdf"])
render = run(["pdftoppm", "-r", "200", "-gray", "class.pdf", os.path.join(work, "rendered")])
print(f"99 pages (PDF, 200 dpi): max RSS {mb:.0f} MB (budget 300), {seconds / 99 * 1000:.0f} ms a page with the marked PDF;"
      f" pdftoppm alone {render / 99 * 1000:.0f} ms a page")
seconds, mb = max_rss_of([program, "--read", "class.pdf", "--results", "r.csv"])
print(f"99 pages without the marked PDF: max RSS {mb:.0f} MB, {seconds / 99 * 1000:.0f} ms a page,"
      f" {seconds / render:.2f}x the renderer")

# Photos of 12 MP (A4 at 350 dpi is 2894 x 4093).
run(["pdftoppm", "-r", "350", "-jpeg", "-f", "1", "-l", "35", "class.pdf", os.path.join(work, "photo")])
photos = sorted(f for f in os.listdir(work) if f.startswith("photo") and f.endswith(".jpg"))
seconds, mb = max_rss_of([program, "--read", *photos, "--results", "p.csv", "--marked", "pm.pdf"])
print(f"{len(photos)} photos of 12 MP: max RSS {mb:.0f} MB (budget 300), {seconds / len(photos) * 1000:.0f} ms a photo")
