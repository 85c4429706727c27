#!/usr/bin/python3
"""paylark-cli remind --notify posts the reminder to an ntfy topic or a Gotify /message URL
(Reminders/PushUrl): an HTTP server of this test's own on 127.0.0.1 records what arrives.

Usage: push_test.py PAYLARK_CLI"""

import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading

from waiting import check

TOKEN = "tk_paylark_test_token"


class Recorder(http.server.BaseHTTPRequestHandler):
    """Keeps every request; answers with the status the test set."""

    requests = []
    answer = 200

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        Recorder.requests.append({"method": self.command, "path": self.path,
                                  "headers": dict(self.headers), "body": body})
        self.send_response(Recorder.answer)
        self.send_header("Content-Length", "2")
        self.end_headers()
        self.wfile.write(b"{}")

    def log_message(self, *arguments):
        pass


class Setup:
    def __init__(self, root, cli):
        self.root = root
        self.cli = cli
        self.workdir = os.path.join(root, "work")
        os.makedirs(self.workdir)
        self.config = os.path.join(root, "config")
        os.makedirs(os.path.join(self.config, "Velmora"))
        self.token_file = os.path.join(root, "token")
        with open(self.token_file, "w") as file:
            file.write(TOKEN + "\n")
        self.env = dict(os.environ, XDG_CONFIG_HOME=self.config, LC_ALL="en_US.UTF-8",
                        XDG_RUNTIME_DIR=root, XDG_CACHE_HOME=os.path.join(root, "cache"))
        # No desktop: the phone is where the reminder goes.
        for name in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)

    def run(self, *words):
        return subprocess.run([self.cli, "--dir", self.workdir] + list(words), env=self.env,
                              capture_output=True, text=True, timeout=120)

    def remind(self, url, token_mode=0o600):
        """remind --notify with the reminders pushed to url."""
        with open(os.path.join(self.config, "Velmora", "Paylark.conf"), "w") as file:
            file.write("[Reminders]\nPushUrl=%s\nPushTokenFile=%s\n" % (url, self.token_file))
        os.chmod(self.token_file, token_mode)
        return self.run("remind", "--notify", "--wait", "0")


def main():
    root = tempfile.mkdtemp(prefix="paylark-push-")
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Recorder)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = "http://127.0.0.1:%d" % server.server_address[1]
    try:
        setup = Setup(root, os.path.abspath(sys.argv[1]))
        setup.run("add", "--title", "Rent", "--pay-to", "Landlord", "--due", "2020-01-01",
                  "--amount", "850")

        # ntfy: JSON at the server's root with the topic, the title and body of the
        # notification, high priority for an overdue due, the token as a bearer token.
        result = setup.remind(base + "/ntfy/paylark-bills")
        check(result.returncode == 0, "ntfy: exit %d, %s" % (result.returncode, result.stderr))
        check(len(Recorder.requests) == 1, "ntfy: %d posts" % len(Recorder.requests))
        request = Recorder.requests[-1]
        check(request["method"] == "POST" and request["path"] == "/ntfy/",
              "ntfy: %s %s" % (request["method"], request["path"]))
        check(json.loads(request["body"]) == {"topic": "paylark-bills",
                                              "title": "Rent is overdue",
                                              "message": "Rent \u2013 $850.00 \u2013 overdue",
                                              "priority": 4},
              "ntfy: body %r" % request["body"])
        check(request["headers"].get("Authorization") == "Bearer " + TOKEN,
              "ntfy: authorization %r" % request["headers"].get("Authorization"))
        check(TOKEN not in request["path"], "ntfy: the token is in the URL")

        # Gotify: its /message URL, its own priority scale, the token as its application key.
        result = setup.remind(base + "/gotify/message")
        check(result.returncode == 0, "gotify: exit %d, %s" % (result.returncode, result.stderr))
        check(len(Recorder.requests) == 2, "gotify: %d posts in all" % len(Recorder.requests))
        request = Recorder.requests[-1]
        check(request["path"] == "/gotify/message", "gotify: path %s" % request["path"])
        check(json.loads(request["body"]) == {"title": "Rent is overdue",
                                              "message": "Rent \u2013 $850.00 \u2013 overdue",
                                              "priority": 8},
              "gotify: body %r" % request["body"])
        check(request["headers"].get("X-Gotify-Key") == TOKEN, "gotify: no application key")

        # A token file others may read is refused before anything is sent.
        result = setup.remind(base + "/ntfy/paylark-bills", token_mode=0o644)
        check(result.returncode == 1 and "chmod 600" in result.stderr,
              "token file 0644: exit %d, %s" % (result.returncode, result.stderr))
        check(len(Recorder.requests) == 2, "token file 0644: the token was sent")

        # A refused token says so.
        Recorder.answer = 401
        result = setup.remind(base + "/ntfy/paylark-bills")
        check(result.returncode == 1 and "check the token" in result.stderr,
              "refused token: exit %d, %s" % (result.returncode, result.stderr))
        check(TOKEN not in open(os.path.join(setup.config, "Velmora", "Paylark.conf")).read(),
              "the token is in the settings file")
    finally:
        server.shutdown()
        shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
