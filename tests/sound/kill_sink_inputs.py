#!/usr/bin/env python3
"""Drops every stream playing on a PulseAudio server, as the server does when
a device goes away, and notes how far a recording of the sink had come.

  kill_sink_inputs.py CLI_SOCKET RECORDING LOG

CLI_SOCKET is the server's module-cli-protocol-unix socket. One line per
call goes to LOG: the recording's size in bytes and the streams dropped.
"""
import os
import re
import socket
import sys
import time


def command(sock, text):
    sock.sendall((text + "\n").encode())
    reply = b""
    sock.settimeout(0.5)
    try:
        while True:
            chunk = sock.recv(65536)
            if not chunk:
                break
            reply += chunk
    except socket.timeout:
        pass
    return reply.decode(errors="replace")


def main(argv):
    cli, recording, log = argv[1:4]
    sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    sock.connect(cli)
    streams = re.findall(r"^\s*index: (\d+)", command(sock, "list-sink-inputs"), re.M)
    size = os.path.getsize(recording) if os.path.exists(recording) else 0
    for index in streams:
        command(sock, "kill-sink-input " + index)
    sock.close()
    with open(log, "a") as out:
        out.write("%d %s %.3f\n" % (size, ",".join(streams) or "-", time.time()))
    return 0 if streams else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
