#!/usr/bin/env bash
# POP3 servers on 127.0.0.1 for the mail checker's end-to-end tests: Dovecot and GNU Mailutils
# pop3d, both real, and the scripted servers of scripted-pop3.py; every one behind a recorder of
# the commands it received. Meant to run as root inside a private network namespace (only
# loopback), without systemd. Source it, then:
#   start_pop3_servers    starts everything and exports the VQ_* variables below
#   stop_pop3_servers     ends every process it started, by PID, and removes its folder
# or run it: `eval "$(pop3-servers.sh start)"` leaves the servers running and sets the variables
# (VQ_POP3_DIR is their folder); `pop3-servers.sh stop "$VQ_POP3_DIR"` ends them.
#
# Users (password "secret" everywhere):
#   Dovecot     alice (3 messages, 10422 bytes), bob (empty), carol (mailbox locked: "-ERR
#               [IN-USE] ..." after about 10 s)
#   GNU pop3d   alice@example.org, bob@example.org, carol@example.org (the same, "[IN-USE]" at once)
#   scripted    alice ("+OK 2 320"), bob ("+OK 0 0"), nobody (USER refused); see scripted-pop3.py

VQ_POP3_SERVERS_HOME=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
VQ_POP3_PIDS=()

# Fixed ports: the namespace is private, so nothing else holds them.
VQ_DOVECOT_DIRECT_PORT=1110
VQ_MAILUTILS_DIRECT_PORT=1111
VQ_DOVECOT_PORT=2110          # Dovecot, commands recorded in dovecot.log
VQ_DOVECOT_INSECURE_PORT=2111 # Dovecot reached from 127.0.0.2: USER is refused
VQ_DOVECOT_CLOSING_PORT=2112  # Dovecot, the connection ended 0.5 s after any -ERR
VQ_MAILUTILS_PORT=2113        # GNU pop3d, commands recorded in mailutils.log
VQ_SCRIPTED_SCENARIOS=(normal lower-ok stat-one-field in-use-bare two-lines split-lines silent reset-after-quit
  bad-greeting drip-greeting)
VQ_SCRIPTED_FIRST_PORT=2120 # one port per scenario, in the order above
VQ_DOVECOT_POP3S_PORT=1995    # Dovecot over TLS from the first byte (STLS is offered on every plain port)
# Scripted servers over TLS whose certificate must be refused; they record the commands as
# decrypted, so a login that should never have been sent would show.
VQ_TLS_UNTRUSTED_PORT=2130  # TLS from the first byte, a certificate from a CA nobody trusts (leaf only)
VQ_TLS_EXPIRED_PORT=2131    # TLS from the first byte, a certificate of the test CA that expired in 2021
VQ_TLS_WRONG_NAME_PORT=2132 # STLS, a certificate of the test CA for mail.example.org
# Dovecot's IMAP: 1143 plain (STARTTLS offered), 1993 TLS from the first byte, 2143 the plain one
# behind a recorder (dovecot-imap.log).
VQ_DOVECOT_IMAP_DIRECT_PORT=1143
VQ_DOVECOT_IMAPS_PORT=1993
VQ_DOVECOT_IMAP_PORT=2143
# Scripted IMAP servers (scripted-pop3.py), one port per scenario from 2150.
VQ_IMAP_SCENARIOS=(imap-noisy imap-literal-greeting imap-bye imap-login-disabled)
VQ_IMAP_FIRST_PORT=2150

# A message file whose POP3 size (its bytes plus one for each LF, which the servers send as
# CR LF) is exactly $2.
write_message() {
  local file=$1 size=$2 number=$3 text left
  text="From: sender$number@example.org"$'\n'"To: user@example.org"$'\n'"Subject: Test message $number"$'\n\n'
  left=$((size - ${#text} - 4))
  while [ $left -gt 146 ]; do
    text+=$(printf '%071d' 0 | tr 0 x)$'\n'
    left=$((left - 73)) # 71 characters, LF, and the CR it becomes
  done
  text+=$(printf "%0$((left - 2))d" 0 | tr 0 y)$'\n'
  printf '%s' "$text" >"$file"
}

# alice's three messages into a maildir; the first has been read (its "seen" flag, S, is set), so
# IMAP counts 3 messages, 2 of them unseen.
write_mailbox() {
  mkdir -p "$1/cur" "$1/new" "$1/tmp"
  write_message "$1/cur/1000000001.vq1.localhost:2,S" 3000 1
  write_message "$1/new/1000000002.vq2.localhost" 3422 2
  write_message "$1/new/1000000003.vq3.localhost" 4000 3
}

# The test CA ($1/ca.pem, trusted in the Wine prefix of the tests only), and the servers'
# certificates: good.pem (localhost, also as a name "127.0.0.1", since Wine does not match
# address entries), expired.pem, wrong-name.pem, and untrusted.pem from a CA of its own.
write_test_certificates() {
  local dir=$1 name local_names="DNS:localhost,DNS:127.0.0.1,IP:127.0.0.1"
  mkdir -p "$dir/db"
  : >"$dir/db/index.txt"
  echo 01 >"$dir/db/serial"
  printf '%s\n' "[ca]" "default_ca = test" "[test]" "database = $dir/db/index.txt" "serial = $dir/db/serial" \
    "new_certs_dir = $dir/db" "default_md = sha256" "policy = any" "unique_subject = no" "[any]" "commonName = supplied" >"$dir/ca.cnf"
  for name in ca rogue-ca; do
    openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=Vornquill2 test $name" -keyout "$dir/$name.key" \
      -out "$dir/$name.pem" -addext "basicConstraints=critical,CA:TRUE" \
      -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null || return 1
  done
  # leaf NAME CN SUBJECT-ALT-NAMES ISSUER VALIDITY-OPTIONS...
  leaf() {
    local out=$1 cn=$2 san=$3 ca=$4
    shift 4
    printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\n' "$san" >"$dir/$out.ext"
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$cn" -keyout "$dir/$out.key" -out "$dir/$out.csr" 2>/dev/null &&
      openssl ca -batch -config "$dir/ca.cnf" -cert "$dir/$ca.pem" -keyfile "$dir/$ca.key" -in "$dir/$out.csr" \
        -out "$dir/$out.pem" -extfile "$dir/$out.ext" -notext "$@" 2>/dev/null
  }
  leaf good localhost "$local_names" ca -days 3650 &&
    leaf expired localhost "$local_names" ca -startdate 20200101000000Z -enddate 20210101000000Z &&
    leaf wrong-name mail.example.org DNS:mail.example.org ca -days 3650 &&
    leaf untrusted localhost "$local_names" rogue-ca -days 3650
}

write_dovecot_config() {
  local dir=$1
  mkdir -p "$dir/dovecot/mail"
  printf '%s:{PLAIN}secret::::::\n' alice bob carol >"$dir/dovecot/users"
  write_mailbox "$dir/dovecot/mail/alice"
  mkdir -p "$dir"/dovecot/mail/{bob,carol}/{cur,new,tmp}
  chown -R 65534:65534 "$dir/dovecot/mail"
  # Plaintext logins work on loopback even so (a connection to its own address counts as secure),
  # which lets a connection from 127.0.0.2 get a real refusal of USER.
  cat >"$dir/dovecot/dovecot.conf" <<EOF
base_dir = $dir/dovecot/run
state_dir = $dir/dovecot/state
log_path = $dir/dovecot/dovecot.log
protocols = pop3 imap
listen = 127.0.0.1
ssl = yes
ssl_cert = <$dir/tls/good.pem
ssl_key = <$dir/tls/good.key
disable_plaintext_auth = yes
mail_location = maildir:$dir/dovecot/mail/%u
first_valid_uid = 1
pop3_lock_session = yes
# No delay after a failed login: the tests fail logins on purpose, one after another.
auth_failure_delay = 0
service anvil {
  unix_listener anvil-auth-penalty {
    mode = 0
  }
}
service pop3-login {
  inet_listener pop3 {
    address = 127.0.0.1
    port = $VQ_DOVECOT_DIRECT_PORT
  }
  inet_listener pop3s {
    address = 127.0.0.1
    port = $VQ_DOVECOT_POP3S_PORT
    ssl = yes
  }
}
service imap-login {
  inet_listener imap {
    address = 127.0.0.1
    port = $VQ_DOVECOT_IMAP_DIRECT_PORT
  }
  inet_listener imaps {
    address = 127.0.0.1
    port = $VQ_DOVECOT_IMAPS_PORT
    ssl = yes
  }
}
passdb {
  driver = static
  args = noauthenticate nodelay=y
  result_success = continue
}
passdb {
  driver = passwd-file
  args = $dir/dovecot/users
}
userdb {
  driver = passwd-file
  args = $dir/dovecot/users
  default_fields = uid=65534 gid=65534
}
EOF
}

write_mailutils_config() {
  local dir=$1 hash u
  mkdir -p "$dir/mailutils/passwd" "$dir/mailutils/mail" "$dir/mailutils/locks"
  hash=$(openssl passwd -1 -salt vornquil secret)
  for u in alice bob carol; do
    printf '%s:%s:65534:65534::%s/mailutils/mail/%s:/bin/false\n' "$u" "$hash" "$dir" "$u"
  done >"$dir/mailutils/passwd/example.org"
  write_mailbox "$dir/mailutils/mail/alice/INBOX"
  mkdir -p "$dir"/mailutils/mail/{bob,carol}/INBOX/{cur,new,tmp}
  chown -R 65534:65534 "$dir/mailutils/mail"
  # Users are name@domain (virtual domains). Without mandatory locking every maildir login
  # reports "in use"; the idle timeout ends sessions the tests leave open (after a refusal).
  cat >"$dir/mailutils/pop3d.conf" <<EOF
mode daemon;
foreground yes;
pidfile $dir/mailutils/pop3d.pid;
timeout 3;
logging { syslog no; };
tcp-wrappers { enable no; };
auth { authorization virtdomain; authentication generic; };
virtdomain { passwd-dir $dir/mailutils/passwd; };
mailbox { mailbox-pattern "maildir:$dir/mailutils/mail/\${user}"; };
mandatory-locking { enable yes; lock-directory "$dir/mailutils/locks"; };
server 127.0.0.1:$VQ_MAILUTILS_DIRECT_PORT { };
EOF
}

# Waits until 127.0.0.1:$1 accepts a connection (at most 10 s).
wait_for_port() {
  local i
  for i in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# PID and every descendant of it.
process_tree() {
  local child
  echo "$1"
  for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do process_tree "$child"; done
}

start_pop3_servers() {
  local dir python port i scripted=() umask_before
  umask_before=$(umask)
  umask 022 # the servers' unprivileged processes must reach their files
  dir=$(mktemp -d /tmp/vornquill2-pop3.XXXXXX) || return 1
  chmod 755 "$dir"
  VQ_POP3_DIR=$dir
  VQ_POP3_PIDS=()
  export VQ_POP3_DIR

  write_test_certificates "$dir/tls" || {
    echo "cannot make the test certificates" >&2
    return 1
  }
  write_dovecot_config "$dir"
  dovecot -F -c "$dir/dovecot/dovecot.conf" >"$dir/dovecot/stdout.log" 2>&1 &
  VQ_POP3_PIDS+=($!)
  write_mailutils_config "$dir"
  pop3d --no-site-config --config-file="$dir/mailutils/pop3d.conf" --foreground >"$dir/mailutils/stdout.log" 2>&1 &
  VQ_POP3_PIDS+=($!)

  python=$(command -v /usr/bin/python3 || command -v python3)
  # VQ_POP3_<SCENARIO>_PORT, and VQ_IMAP_<SCENARIO>_PORT for imap-<scenario>.
  port=$VQ_SCRIPTED_FIRST_PORT
  for i in "${VQ_SCRIPTED_SCENARIOS[@]}" - "${VQ_IMAP_SCENARIOS[@]}"; do
    [ "$i" = - ] && port=$VQ_IMAP_FIRST_PORT && continue
    scripted+=(--scenario "$i:$port")
    local var="VQ_${i//-/_}_PORT"
    [[ $i == imap-* ]] || var="VQ_POP3_${i//-/_}_PORT"
    export "${var^^}=$port"
    port=$((port + 1))
  done
  mkdir -p "$dir/logs"
  "$python" "$VQ_POP3_SERVERS_HOME/scripted-pop3.py" --log-dir "$dir/logs" --ready-file "$dir/scripted.ready" \
    "${scripted[@]}" \
    --proxy "dovecot:$VQ_DOVECOT_PORT:$VQ_DOVECOT_DIRECT_PORT" \
    --proxy "dovecot-insecure:$VQ_DOVECOT_INSECURE_PORT:$VQ_DOVECOT_DIRECT_PORT:from=127.0.0.2" \
    --proxy "dovecot-closing:$VQ_DOVECOT_CLOSING_PORT:$VQ_DOVECOT_DIRECT_PORT:hangup" \
    --proxy "mailutils:$VQ_MAILUTILS_PORT:$VQ_MAILUTILS_DIRECT_PORT" \
    --proxy "dovecot-imap:$VQ_DOVECOT_IMAP_PORT:$VQ_DOVECOT_IMAP_DIRECT_PORT" \
    --tls "tls-untrusted:$VQ_TLS_UNTRUSTED_PORT:$dir/tls/untrusted.pem:$dir/tls/untrusted.key" \
    --tls "tls-expired:$VQ_TLS_EXPIRED_PORT:$dir/tls/expired.pem:$dir/tls/expired.key" \
    --tls "tls-wrong-name:$VQ_TLS_WRONG_NAME_PORT:$dir/tls/wrong-name.pem:$dir/tls/wrong-name.key:stls" \
    >"$dir/scripted.log" 2>&1 &
  VQ_POP3_PIDS+=($!)

  # The scripted servers write their ready file once they listen; a trial connection to them would be recorded.
  for i in $(seq 100); do
    [ -f "$dir/scripted.ready" ] && break
    sleep 0.1
  done
  if ! [ -f "$dir/scripted.ready" ] || ! wait_for_port $VQ_DOVECOT_DIRECT_PORT || ! wait_for_port $VQ_MAILUTILS_DIRECT_PORT ||
    ! wait_for_port $VQ_DOVECOT_POP3S_PORT || ! wait_for_port $VQ_DOVECOT_IMAPS_PORT; then
    echo "the POP3 servers did not start; their logs:" >&2
    tail -n 5 "$dir"/dovecot/*.log "$dir"/mailutils/*.log "$dir/scripted.log" >&2
    return 1
  fi

  # carol's mailbox is in use: a lock held by a live process (the servers' own masters).
  echo "${VQ_POP3_PIDS[0]}:$(hostname)" >"$dir/dovecot/mail/carol/dovecot-pop3-session.lock"
  chown 65534:65534 "$dir/dovecot/mail/carol/dovecot-pop3-session.lock"
  local mailbox="$dir/mailutils/mail/carol/INBOX"
  printf '%s' "${VQ_POP3_PIDS[1]}" >"$dir/mailutils/locks/${mailbox//\//%2F}.lock"

  umask "$umask_before"

  # The tests are Windows programs: the log folder in Wine's form, with its trailing backslash.
  VQ_SERVER_LOG_DIR="Z:${dir//\//\\}\\logs\\"
  export VQ_SERVER_LOG_DIR VQ_DOVECOT_PORT VQ_DOVECOT_INSECURE_PORT VQ_DOVECOT_CLOSING_PORT VQ_MAILUTILS_PORT
  export VQ_DOVECOT_DIRECT_PORT VQ_MAILUTILS_DIRECT_PORT VQ_DOVECOT_IMAP_PORT VQ_DOVECOT_IMAPS_PORT
  VQ_TEST_CA=$dir/tls/ca.pem
  export VQ_TEST_CA VQ_DOVECOT_POP3S_PORT VQ_TLS_UNTRUSTED_PORT VQ_TLS_EXPIRED_PORT VQ_TLS_WRONG_NAME_PORT
}

# Makes the test CA ($1) a trusted root of the current user in the Wine prefix $WINEPREFIX (its
# wineserver running), and of nothing else: the machine's own store is only ever read. A root in
# the registry is one property record: id 32 (the encoded certificate), 1, its length
# (little-endian), then the DER bytes.
trust_test_ca() {
  local der sha1 length
  der=$(openssl x509 -in "$1" -outform der | od -An -v -tx1 | tr -d ' \n') || return 1
  sha1=$(openssl x509 -in "$1" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
  length=$(printf '%08x' $((${#der} / 2)) | sed -E 's/(..)(..)(..)(..)/\4\3\2\1/')
  wine reg add "HKCU\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\$sha1" /v Blob /t REG_BINARY \
    /d "2000000001000000$length$der" /f >/dev/null 2>&1
}

# True while the process runs (a zombie, ended but not yet waited for, counts as ended).
process_alive() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) && [[ $state != Z* ]]
}

stop_pop3_servers() {
  local pids=() alive=() pid i
  for pid in "${VQ_POP3_PIDS[@]}"; do mapfile -t -O "${#pids[@]}" pids < <(process_tree "$pid"); done
  if [ ${#pids[@]} -gt 0 ]; then
    kill "${pids[@]}" 2>/dev/null
    for i in $(seq 50); do
      alive=()
      for pid in "${pids[@]}"; do process_alive "$pid" && alive+=("$pid"); done
      [ ${#alive[@]} -eq 0 ] && break
      sleep 0.1
    done
    [ ${#alive[@]} -gt 0 ] && kill -KILL "${alive[@]}" 2>/dev/null
    wait "${VQ_POP3_PIDS[@]}" 2>/dev/null
  fi
  VQ_POP3_PIDS=()
  [ -n "${VQ_POP3_DIR:-}" ] && rm -rf "$VQ_POP3_DIR"
  VQ_POP3_DIR=
  return 0
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case ${1:-} in
  start)
    start_pop3_servers || exit 1
    printf '%s\n' "${VQ_POP3_PIDS[@]}" >"$VQ_POP3_DIR/pids"
    export -p | grep -E ' VQ_(POP3|DOVECOT|MAILUTILS|SERVER|TLS|TEST|IMAP)_'
    ;;
  stop)
    [ -f "${2:-}/pids" ] || { echo "usage: $0 stop FOLDER (the VQ_POP3_DIR that start printed)" >&2; exit 2; }
    VQ_POP3_DIR=$2
    mapfile -t VQ_POP3_PIDS <"$2/pids"
    stop_pop3_servers
    ;;
  *)
    echo "usage: $0 start | stop FOLDER" >&2
    exit 2
    ;;
  esac
fi
