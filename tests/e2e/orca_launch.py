#!/usr/bin/python3
"""Runs the screen reader with each utterance written to a file as it is spoken.

Usage: orca_launch.py SPEECH_LOG [orca arguments...]

The reader's own debug file is written only when it ends; its "speech" logger sees every
utterance at once, so a file handler on it gives the transcript live. The reader's check for
other instances of the user is left out: this one runs on a session bus of its own, and one on
the user's desktop must neither stop it nor be stopped by it.
"""
import logging
import sys

log_path = sys.argv[1]
handler = logging.FileHandler(log_path, encoding="utf-8")
handler.setFormatter(logging.Formatter("%(message)s"))
speech_log = logging.getLogger("speech")
speech_log.setLevel(logging.INFO)
speech_log.addHandler(handler)

sys.argv = ["orca"] + sys.argv[2:]
with open("/usr/bin/orca", encoding="utf-8") as f:
    code = compile(f.read(), "/usr/bin/orca", "exec")
scope = {"__name__": "orca_launcher", "__file__": "/usr/bin/orca"}
exec(code, scope)
scope["otherOrcas"] = lambda: []
sys.exit(scope["main"]())
