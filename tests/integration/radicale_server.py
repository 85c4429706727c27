"""A Radicale CalDAV server of a test's or a benchmark's own: 127.0.0.1, a free port, htpasswd
users, storage in a given folder; started and waited for until it answers."""

import os
import subprocess
import urllib.error
import urllib.request

import waiting

USER = "alice"
PASSWORD = "correct horse"
TIMEOUT_SECONDS = 60
POLL_SECONDS = 0.05


class Radicale:
    """A Radicale server of its own: htpasswd users, storage in the test's folder."""

    def __init__(self, root):
        self.root = root
        self.port = waiting.free_port()
        self.url = "http://127.0.0.1:%d/" % self.port
        self.log = os.path.join(root, "radicale.log")
        users = os.path.join(root, "users")
        with open(users, "w") as file:
            file.write("%s:%s\n" % (USER, PASSWORD))
        self.config = os.path.join(root, "radicale.conf")
        with open(self.config, "w") as file:
            file.write("[server]\nhosts = 127.0.0.1:%d\n"
                       "[auth]\ntype = htpasswd\nhtpasswd_filename = %s\n"
                       "htpasswd_encryption = plain\ndelay = 0\n"
                       "[storage]\nfilesystem_folder = %s\n"
                       "[rights]\ntype = owner_only\n"
                       % (self.port, users, os.path.join(root, "collections")))
        self.process = None

    def start(self):
        self.process = subprocess.Popen(
            ["/usr/bin/python3", "-m", "radicale", "--config", self.config],
            stdout=open(self.log, "ab"), stderr=subprocess.STDOUT)
        waiting.poll("Radicale to answer", self.answers, TIMEOUT_SECONDS, POLL_SECONDS)

    def answers(self):
        waiting.check(self.process.poll() is None,
                      "Radicale exited: " + open(self.log).read()[-2000:])
        try:
            urllib.request.urlopen(self.url + ".web/", timeout=1).close()
            return True
        except urllib.error.HTTPError:
            return True
        except OSError:
            return False

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=30)
