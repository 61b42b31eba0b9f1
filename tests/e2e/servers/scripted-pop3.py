#!/usr/bin/env python3
"""POP3 servers for the mail checker's end-to-end tests, on 127.0.0.1 only.

Two kinds of listener, any number of each, all in this one process:

  --scenario NAME:PORT
      A scripted POP3 server that replies the way real servers never do (lower-case "+ok", a
      one-field STAT reply, a bare "-ERR [IN-USE]", lines packed together or split apart,
      silence, a reset). NAME picks the behaviour; see SCENARIOS below. The imap-... scenarios
      are IMAP servers (alice/secret, STATUS INBOX: 2 messages, 1 unseen) doing what Dovecot
      never does.

  --proxy NAME:PORT:UPSTREAM_PORT[:from=ADDRESS][:hangup]
      A relay in front of a real server on 127.0.0.1:UPSTREAM_PORT. It passes every byte
      through unchanged and records the commands. from=ADDRESS connects from that loopback
      address (Dovecot treats a connection from another address as insecure and rejects USER);
      hangup ends the connection half a second after the server answers -ERR, where the real
      server would keep it open for minutes.

  --tls NAME:PORT:CERT_FILE:KEY_FILE[:stls]
      The "normal" scripted server over TLS with that certificate: TLS from the first byte, or
      with stls after the greeting and "STLS". It records the commands as they were decrypted
      (and any sent in clear before "STLS"), and notes "tls established" once the handshake is
      done; the tests use it with certificates a client must refuse.

Every listener records the commands it received, one connection after another, in
LOG_DIR/NAME.log: "# connection N", then each command line exactly as received without its
CR LF, and notes on how it ended ("# connection N closed by client", "... closed by server",
"... reset by server" ...). Lines starting with "#" are the server's own notes. The
file is opened for each write, so a test may delete it between cases.
"""

import argparse
import os
import socket
import ssl
import struct
import sys
import threading
import time

# Mailboxes of the scripted servers: user -> STAT reply. Every password is "secret".
MAILBOXES = {b"alice": b"+OK 2 320", b"bob": b"+OK 0 0"}
# A user name the scripted servers refuse at USER.
REFUSED_USER = b"nobody"
# How long a scripted server waits for more commands after a rejection or a QUIT before it
# ends the connection itself.
LINGER_AFTER_REJECTION = 0.5
LINGER_AFTER_QUIT = 3.0

SCENARIOS = {
    # An ordinary server: greeting, USER, PASS, STAT, QUIT; closes after answering QUIT.
    "normal": {},
    # Every positive reply in lower case: "+ok ready", "+ok", "+ok 2 320".
    "lower-ok": {"lower_ok": True},
    # STAT answered with one field only.
    "stat-one-field": {"stat": b"+OK 5"},
    # PASS answered "-ERR [IN-USE]" and nothing after it, whatever the password.
    "in-use-bare": {"pass_reply": b"-ERR [IN-USE]"},
    # Greeting and a second line in one packet.
    "two-lines": {"greeting": [b"+OK ready", b"+OK ready again"]},
    # Every reply in three packets, 150 ms apart, the last holding only the LF of its CR LF.
    "split-lines": {"split": True},
    # Accepts the connection and never sends anything.
    "silent": {"silent": True},
    # Answers QUIT, then resets the connection at the next command (or after 2 s).
    "reset-after-quit": {"reset_after_quit": True},
    # A greeting that is not +OK; the rest of the dialogue is ordinary.
    "bad-greeting": {"greeting": [b"-ERR Server not ready"]},
    # The greeting "+OK ready" one byte every 3 s, over and over, never a line end.
    "drip-greeting": {"drip": b"+OK ready"},
    # IMAP: untagged data nobody asked for before every answer, each tagged answer in two packets.
    "imap-noisy": {"imap": True, "noise": [b"* 3 EXISTS", b"* OK [ALERT] noise", b"* STATUS Sent (MESSAGES 9 UNSEEN 9)"]},
    # A literal in the greeting's capability that holds what looks like a tagged answer.
    "imap-literal-greeting": {"imap": True, "greeting": b"* OK [CAPABILITY IMAP4rev1 X-NOTE {7}\r\na1 OK ] ready"},
    # BYE right after the login, then the connection ends.
    "imap-bye": {"imap": True, "bye_after_login": True},
    # LOGIN disabled, and no STARTTLS to enable it.
    "imap-login-disabled": {"imap": True, "capability": b"IMAP4rev1 LOGINDISABLED AUTH=PLAIN"},
}


class CommandLog:
    """The commands of one listener's connections, numbered in arrival order."""

    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()
        self.connections = 0

    def open_connection(self):
        with self.lock:
            self.connections += 1
            number = self.connections
        self.write(b"# connection %d" % number)
        return LineRecorder(self, number)

    def write(self, line):
        with self.lock:
            with open(self.path, "ab") as f:
                f.write(line + b"\n")


class LineRecorder:
    """Cuts one connection's incoming bytes into command lines and records them."""

    def __init__(self, log, number):
        self.log = log
        self.number = number
        self.pending = b""

    def feed(self, data):
        self.pending += data
        lines = []
        while b"\n" in self.pending:
            line, self.pending = self.pending.split(b"\n", 1)
            if line.endswith(b"\r"):
                line = line[:-1]
                self.log.write(line)
            else:
                self.log.write(line)
                self.note("line above ended in LF without CR")
            lines.append(line)
        return lines

    def note(self, text):
        self.log.write(b"# connection %d %s" % (self.number, text.encode()))

    def finish(self, how):
        """Notes how the connection ended, after any unterminated rest of a line."""
        if self.pending:
            self.note("unterminated: %r" % self.pending)
            self.pending = b""
        self.note(how)


def reset(conn):
    """Closes with an RST instead of a FIN."""
    try:
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    except OSError:
        pass
    conn.close()


class ScriptedSession:
    def __init__(self, conn, recorder, scenario, tls=None):
        self.conn = conn
        self.recorder = recorder
        self.scenario = scenario
        self.tls = tls  # (context, stls) of a TLS listener
        self.lines = []
        self.user = None
        self.logged_in = False

    def secure(self):
        """Runs the server's side of the handshake; False when it failed."""
        context, _ = self.tls
        self.conn.settimeout(10)
        try:
            self.conn = context.wrap_socket(self.conn, server_side=True)
        except (ssl.SSLError, OSError) as e:
            self.recorder.note("tls handshake failed: %s" % e)
            return False
        self.recorder.note("tls established")
        return True

    def send(self, *replies):
        if self.scenario.get("lower_ok"):
            replies = [b"+ok" + r[3:].lower() if r.startswith(b"+OK") else r for r in replies]
        data = b"".join(r + b"\r\n" for r in replies)
        if self.scenario.get("split") and len(data) > 3:
            for i, part in enumerate((data[:2], data[2:-1], data[-1:])):
                if i:
                    time.sleep(0.15)
                self.conn.sendall(part)
        else:
            self.conn.sendall(data)

    def next_line(self, timeout):
        """The next command line; None when the client closed, or when timeout passed."""
        deadline = time.monotonic() + timeout
        while not self.lines:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            self.conn.settimeout(left)
            try:
                data = self.conn.recv(4096)
            except socket.timeout:
                return None
            if not data:
                raise EOFError
            self.lines.extend(self.recorder.feed(data))
        return self.lines.pop(0)

    def drain(self, timeout):
        """Records whatever the client still sends within timeout, answering nothing."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.next_line(deadline - time.monotonic()) is None:
                return

    def hang_up(self, how):
        self.recorder.note(how)
        self.conn.shutdown(socket.SHUT_WR)
        self.drain(LINGER_AFTER_QUIT)

    def after_rejection(self):
        """A rejected client should say nothing more; QUIT is still answered."""
        line = self.next_line(LINGER_AFTER_REJECTION)
        while line is not None:
            if line.upper() == b"QUIT":
                self.send(b"+OK Bye")
                break
            self.send(b"-ERR Not logged in")
            line = self.next_line(LINGER_AFTER_REJECTION)
        self.hang_up("closed by server")

    def run(self):
        if self.scenario.get("silent"):
            self.drain(600)
            return
        drip = self.scenario.get("drip", b"")
        for i in range(600 if drip else 0):
            self.conn.sendall(drip[i % len(drip) : i % len(drip) + 1])
            self.drain(3.0)
        stls = self.tls is not None and self.tls[1]
        if self.tls is not None and not stls and not self.secure():
            return
        self.send(*self.scenario.get("greeting", [b"+OK ready"]))
        while True:
            line = self.next_line(600)
            if line is None:
                self.recorder.note("idle for 600 s")
                return
            verb, _, argument = line.partition(b" ")
            verb = verb.upper()
            if verb == b"STLS" and stls:
                stls = False
                self.send(b"+OK Begin TLS negotiation now.")
                # Nothing sent in clear before the handshake counts afterwards.
                self.lines = []
                if not self.secure():
                    return
            elif verb == b"USER":
                if argument == REFUSED_USER:
                    self.send(b"-ERR [AUTH] No such user")
                    return self.after_rejection()
                self.user = argument
                self.send(b"+OK")
            elif verb == b"PASS":
                reply = self.scenario.get("pass_reply")
                if reply is None:
                    if self.user in MAILBOXES and argument == b"secret":
                        reply = b"+OK Logged in."
                        self.logged_in = True
                    else:
                        reply = b"-ERR [AUTH] Authentication failed."
                self.send(reply)
                if not self.logged_in:
                    return self.after_rejection()
            elif verb == b"STAT" and self.logged_in:
                self.send(self.scenario.get("stat", MAILBOXES[self.user]))
            elif verb == b"QUIT":
                self.send(b"+OK Bye")
                if self.scenario.get("reset_after_quit"):
                    self.next_line(2.0)
                    self.recorder.note("reset by server")
                    reset(self.conn)
                    return
                return self.hang_up("closed by server")
            else:
                self.send(b"-ERR Unknown command")


class ScriptedImapSession(ScriptedSession):
    def send(self, *lines, split=False):
        data = b"".join(line + b"\r\n" for line in lines)
        if split and self.scenario.get("noise"):
            self.conn.sendall(data[:-4])
            time.sleep(0.15)
            data = data[-4:]
        self.conn.sendall(data)

    def answer(self, tag, *untagged, result=b"OK done"):
        self.send(*self.scenario.get("noise", []), *untagged, tag + b" " + result, split=True)

    def run(self):
        self.send(self.scenario.get("greeting", b"* OK [CAPABILITY IMAP4rev1] ready"))
        while True:
            line = self.next_line(600)
            if line is None:
                return self.recorder.note("idle for 600 s")
            tag, _, rest = line.partition(b" ")
            verb, _, argument = rest.partition(b" ")
            verb = verb.upper()
            if verb == b"CAPABILITY":
                self.answer(tag, b"* CAPABILITY " + self.scenario.get("capability", b"IMAP4rev1"))
            elif verb == b"LOGIN" and not self.scenario.get("capability"):
                self.logged_in = argument == b'"alice" "secret"'
                if self.logged_in and self.scenario.get("bye_after_login"):
                    self.send(tag + b" OK Logged in", b"* BYE Server shutting down")
                    return self.hang_up("closed by server")
                self.answer(tag, result=b"OK Logged in" if self.logged_in else b"NO [AUTHENTICATIONFAILED] failed")
            elif verb == b"STATUS" and self.logged_in:
                self.answer(tag, b"* STATUS INBOX (MESSAGES 2 UNSEEN 1)")
            elif verb == b"LOGOUT":
                self.send(b"* BYE Logging out", tag + b" OK Logout completed.")
                return self.hang_up("closed by server")
            else:
                self.answer(tag, result=b"BAD not now")


def serve_scenario(conn, log, scenario, tls=None):
    recorder = log.open_connection()
    conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    session = (ScriptedImapSession if scenario.get("imap") else ScriptedSession)(conn, recorder, scenario, tls)
    try:
        session.run()
    except EOFError:
        recorder.finish("closed by client")
    except ConnectionResetError:
        recorder.finish("reset by client")
    except ssl.SSLEOFError:
        recorder.finish("closed by client without close_notify")
    except OSError as e:
        recorder.finish("socket error: %s" % e)
    finally:
        session.conn.close()


def serve_proxy(conn, log, upstream_port, source, hangup):
    recorder = log.open_connection()
    upstream = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    try:
        if source:
            upstream.bind((source, 0))
        upstream.connect(("127.0.0.1", upstream_port))
    except OSError as e:
        recorder.note("cannot reach the server: %s" % e)
        upstream.close()
        conn.close()
        return
    for s in (conn, upstream):
        s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    hung_up = threading.Event()

    def hang_up():
        if hung_up.is_set():
            return
        hung_up.set()
        recorder.note("closed by the proxy after -ERR")
        try:
            upstream.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def server_to_client():
        partial = b""
        try:
            while True:
                data = upstream.recv(4096)
                if not data:
                    if not hung_up.is_set():
                        recorder.note("closed by server")
                    conn.shutdown(socket.SHUT_WR)
                    return
                conn.sendall(data)
                *lines, partial = (partial + data).split(b"\n")
                if hangup and any(line.startswith(b"-ERR") for line in lines):
                    threading.Timer(LINGER_AFTER_REJECTION, hang_up).start()
        except ConnectionResetError:
            recorder.note("reset by server")
            reset(conn)
        except OSError:
            pass

    relay = threading.Thread(target=server_to_client, daemon=True)
    relay.start()
    try:
        while True:
            data = conn.recv(4096)
            if not data:
                recorder.finish("closed by client")
                upstream.shutdown(socket.SHUT_WR)
                break
            recorder.feed(data)
            try:
                upstream.sendall(data)
            except OSError:
                pass
    except ConnectionResetError:
        recorder.finish("reset by client")
        reset(upstream)
    except OSError:
        pass
    relay.join(LINGER_AFTER_QUIT)
    upstream.close()
    conn.close()


def listen(port):
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("127.0.0.1", port))
    s.listen(16)
    return s


def accept_forever(listener, handler, *args):
    while True:
        conn, _ = listener.accept()
        threading.Thread(target=handler, args=(conn,) + args, daemon=True).start()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--log-dir", required=True)
    parser.add_argument("--ready-file", help="written once every listener accepts connections")
    parser.add_argument("--scenario", action="append", default=[], metavar="NAME:PORT")
    parser.add_argument("--proxy", action="append", default=[], metavar="NAME:PORT:UPSTREAM_PORT[:from=ADDR][:hangup]")
    parser.add_argument("--tls", action="append", default=[], metavar="NAME:PORT:CERT_FILE:KEY_FILE[:stls]")
    args = parser.parse_args()
    os.makedirs(args.log_dir, exist_ok=True)

    servers = []
    for spec in args.scenario:
        name, port = spec.split(":")
        if name not in SCENARIOS:
            parser.error("unknown scenario %s (known: %s)" % (name, ", ".join(SCENARIOS)))
        log = CommandLog(os.path.join(args.log_dir, name + ".log"))
        servers.append((listen(int(port)), serve_scenario, log, SCENARIOS[name]))
    for spec in args.proxy:
        name, port, upstream, *options = spec.split(":")
        source = next((o[5:] for o in options if o.startswith("from=")), None)
        log = CommandLog(os.path.join(args.log_dir, name + ".log"))
        servers.append((listen(int(port)), serve_proxy, log, int(upstream), source, "hangup" in options))

    for spec in args.tls:
        name, port, cert, key, *options = spec.split(":")
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        log = CommandLog(os.path.join(args.log_dir, name + ".log"))
        servers.append((listen(int(port)), serve_scenario, log, SCENARIOS["normal"], (context, "stls" in options)))

    for listener, handler, *rest in servers:
        threading.Thread(target=accept_forever, args=(listener, handler, *rest), daemon=True).start()
    if args.ready_file:
        with open(args.ready_file, "w") as f:
            f.write("%d\n" % os.getpid())
    threading.Event().wait()


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit(0)
