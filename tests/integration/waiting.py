"""What the integration tests share to start a real component: a free local port, waiting on a
component's state (never on a fixed sleep), and a check that fails the test."""

import socket
import time


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def poll(what, ready, timeout_seconds, poll_seconds):
    """Calls ready() until it returns something true; fails after timeout_seconds."""
    deadline = time.monotonic() + timeout_seconds
    while time.monotonic() < deadline:
        result = ready()
        if result:
            return result
        time.sleep(poll_seconds)
    raise AssertionError("timed out waiting for " + what)


def check(condition, message):
    if not condition:
        raise AssertionError(message)
