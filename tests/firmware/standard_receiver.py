#!/usr/bin/env python3
"""Plays a boot loader's greeting on the line (standard input and output),
then hands the transfer to a standard YMODEM receiver.

Usage: standard_receiver.py DIRECTORY BAUD RECEIVER [ARGUMENTS...]

Waits for "reset!", announces itself with a line containing "main", waits for
"ks", then runs RECEIVER in DIRECTORY on a pseudo-terminal of its own and
carries the bytes between the two lines as a serial line of BAUD would (10
bits a byte): each chunk arrives once its last byte could have. Receivers
clear their input right after each answer, which on a real line drops
nothing because the sender's reply is still on its way; a pseudo-terminal
alone would deliver the reply before the clearing. Exits with the receiver's
status.
"""
import collections
import os
import pty
import select
import subprocess
import sys
import time
import tty


def read_until(token):
    seen = b""
    while not seen.endswith(token):
        byte = os.read(0, 1)
        if not byte:
            sys.exit("line closed while waiting for %r" % token)
        seen += byte


class Direction:
    """Bytes on their way from one descriptor to another."""

    def __init__(self, source, target, byte_time):
        self.source, self.target, self.byte_time = source, target, byte_time
        self.pending = collections.deque()
        self.line_free = 0.0

    def take(self, data):
        now = time.monotonic()
        self.line_free = max(now, self.line_free) + len(data) * self.byte_time
        self.pending.append((self.line_free, data))

    def deliver(self):
        now = time.monotonic()
        while self.pending and self.pending[0][0] <= now:
            os.write(self.target, self.pending.popleft()[1])

    def next_due(self):
        return self.pending[0][0] if self.pending else None


def relay(line, receiver_fd, process, byte_time):
    """Reads the line on `line` (standard input) and answers on standard output."""
    outward = Direction(line, receiver_fd, byte_time)
    inward = Direction(receiver_fd, 1, byte_time)
    receiver_open = True
    while receiver_open or inward.pending:
        dues = [d for d in (outward.next_due(), inward.next_due()) if d is not None]
        timeout = max(0.0, min(dues) - time.monotonic()) if dues else 0.5
        sources = [line] + ([receiver_fd] if receiver_open else [])
        readable, _, _ = select.select(sources, [], [], timeout)
        if line in readable:
            data = os.read(line, 4096)
            if not data:
                break
            outward.take(data)
        if receiver_fd in readable:
            try:
                data = os.read(receiver_fd, 4096)
            except OSError:  # the receiver has ended and closed its line
                data = b""
            if data:
                inward.take(data)
            else:
                receiver_open = False
        if receiver_open:
            outward.deliver()
        inward.deliver()
    return process.wait()


def main():
    directory, baud, receiver = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    read_until(b"reset!")
    os.write(1, b"\r\nstandard receiver, waiting in main\r\n")
    read_until(b"ks")
    master, device = pty.openpty()
    tty.setraw(device)
    process = subprocess.Popen(receiver, cwd=directory, stdin=device, stdout=device)
    os.close(device)
    sys.exit(relay(0, master, process, 10.0 / baud))


if __name__ == "__main__":
    main()
