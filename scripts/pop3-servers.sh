#!/usr/bin/env bash
# Runs a command (an interactive shell by default) in a private network namespace, with only
# loopback, where the POP3 test servers of tests/e2e/servers run and their VQ_* variables are
# set; ends the servers afterwards, by PID. For trying the servers, or one test, by hand:
#   sudo scripts/pop3-servers.sh
#   sudo scripts/pop3-servers.sh bash -c 'printf "USER alice\r\nQUIT\r\n" | nc -q1 127.0.0.1 $VQ_DOVECOT_PORT'
set -uo pipefail
source "$(dirname "$0")/common.sh"

[ "$(id -u)" = 0 ] || fail "run as root (a private network namespace, and servers that change user)"
if [ "${1:-}" != --inside ]; then
  exec unshare --net --mount -- bash "$0" --inside "$@"
fi
shift
source "$VQ_ROOT/tests/e2e/servers/pop3-servers.sh"
ip link set lo up || fail "cannot bring up loopback in the namespace"
trap stop_pop3_servers EXIT
start_pop3_servers || fail "the POP3 test servers did not start"
step "POP3 servers up; logs in ${VQ_POP3_DIR}/logs"
if [ $# -eq 0 ]; then
  bash -i
else
  "$@"
fi
