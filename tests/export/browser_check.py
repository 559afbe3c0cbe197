#!/usr/bin/env python3
"""Opens what nivra-card hands over in headless Chromium, as the receiver would.

The share copy of an H.265 card must play in the browser (1280x720, its whole
length, a seek answered), and so must a stream copy carrying the camera's
clock as a text track; the evidence package's report must open with its
stills shown and the clip's camera times in it. The files are served by this
script's own HTTP server on 127.0.0.1; Chromium gets a private profile in a
temporary folder, and everything goes when the script ends.

Usage: browser_check.py NIVRA_CARD SHARE_CARD SHARE_START_MS EVENTS_CARD EVENTS_START_MS SHOT_DIR
"""
import functools
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading

PAGE = """<!doctype html><meta charset="utf-8"><body>
<video id="v" muted preload="auto" src="%s"></video>
<video id="t" muted preload="auto" src="%s"></video>
<iframe id="r" src="%s" style="width:900px;height:1200px"></iframe>
<pre id="out">waiting</pre>
<script>
const out = document.getElementById('out'), v = document.getElementById('v');
const result = {};
function done() {
  if (!('video' in result) || !('report' in result) || !('timed' in result)) return;
  out.textContent = 'RESULT ' + JSON.stringify(result);
}
v.addEventListener('error', () => { result.video = {error: v.error ? v.error.code : -1}; done(); });
v.addEventListener('loadeddata', () => { v.currentTime = v.duration / 2; });
v.addEventListener('seeked', () => {
  result.video = {width: v.videoWidth, height: v.videoHeight, duration: v.duration, ready: v.readyState};
  done();
});
const t = document.getElementById('t');
t.addEventListener('error', () => { result.timed = {error: t.error ? t.error.code : -1}; done(); });
t.addEventListener('loadeddata', () => { t.currentTime = t.duration / 2; });
t.addEventListener('seeked', () => {
  result.timed = {width: t.videoWidth, duration: t.duration, ready: t.readyState};
  done();
});
document.getElementById('r').addEventListener('load', e => {
  const d = e.target.contentDocument, images = Array.from(d.images);
  Promise.all(images.map(i => i.decode().then(() => i.naturalWidth, () => 0))).then(widths => {
    result.report = {stills: widths.filter(w => w > 0).length, images: images.length,
                     text: d.body.innerText};
    done();
  });
});
</script>"""


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def nivra_card(tool, *args):
    r = subprocess.run([tool, *args, "--json"], capture_output=True, text=True, timeout=300)
    if r.returncode != 0:
        sys.exit(f"nivra-card {' '.join(args)} failed ({r.returncode}): {r.stdout} {r.stderr}")
    return json.loads(r.stdout)


def chromium(args, profile):
    return subprocess.run(["chromium", "--headless=new", "--no-sandbox", "--disable-gpu",
                           "--no-first-run", f"--user-data-dir={profile}", *args],
                          capture_output=True, text=True, timeout=120)


def main():
    tool, share_card, share_start, events_card, events_start, shots = sys.argv[1:7]
    share_start, events_start = int(share_start), int(events_start)
    faults = []
    with tempfile.TemporaryDirectory(prefix="nivra-browser-") as root:
        share_dir, evidence_dir = os.path.join(root, "share"), os.path.join(root, "evidence")
        share = nivra_card(tool, "export", share_card, "--from", str(share_start), "--to",
                           str(share_start + 29999), "--out", share_dir, "--share", "--share-mb", "8")
        package = nivra_card(tool, "export", events_card, "--from", str(events_start), "--to",
                             str(events_start + 59999), "--out", evidence_dir, "--mp4", "--evidence",
                             "--time-track")
        clip = os.path.relpath(share["files"][0], root)
        timed = os.path.relpath(package["files"][0], root)
        report = os.path.relpath(package["evidence"]["report"], root)
        with open(os.path.join(root, "page.html"), "w", encoding="utf-8") as f:
            f.write(PAGE % (clip, timed, report))

        handler = functools.partial(QuietHandler, directory=root)
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        base = f"http://127.0.0.1:{server.server_address[1]}"
        try:
            profile = os.path.join(root, "profile")
            page = chromium(["--timeout=15000", "--dump-dom", f"{base}/page.html"], profile)
            os.makedirs(shots, exist_ok=True)
            shot = os.path.join(shots, "evidence_report.png")
            chromium(["--timeout=5000", "--window-size=900,1300", f"--screenshot={shot}",
                      f"{base}/{report}"], profile)
        finally:
            server.shutdown()
            server.server_close()

        found = re.search(r"RESULT (\{.*\})", page.stdout)
        if not found:
            sys.exit(f"the page reported nothing: {page.stdout[-2000:]} {page.stderr[-2000:]}")
        result = json.loads(found.group(1).replace("&quot;", '"').replace("&amp;", "&"))
        video = result["video"]
        if video.get("width") != 1280 or video.get("height") != 720:
            faults.append(f"the share copy did not play as 1280x720: {video}")
        elif abs(video["duration"] - 30.0) > 0.5 or video["ready"] < 2:
            faults.append(f"the share copy played wrong: {video}")
        timed_clip = result["timed"]
        if timed_clip.get("width") != 320 or abs(timed_clip.get("duration", 0) - 60.0) > 0.5:
            faults.append(f"the stream copy with the time track did not play: {timed_clip}")
        rep = result["report"]
        # A still at the start and at each event of the minute (two).
        stills = package["evidence"]["stills"]
        if rep["images"] != stills or rep["stills"] != stills or stills < 2:
            faults.append(f"report: {rep['stills']} of {rep['images']} stills shown, {stills} made")
        # The clip's first and last pictures in the camera's time (UTC+1).
        for time in ("2024-10-27 10:00:00 (UTC+1)", "10:00:59"):
            if time not in rep["text"]:
                faults.append(f"report: {time} is not in its text")
        if not os.path.exists(shot) or os.path.getsize(shot) < 10000:
            faults.append("no screenshot of the report")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} faults; video {video}, with the time track {timed_clip}, report stills {rep['stills']}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
