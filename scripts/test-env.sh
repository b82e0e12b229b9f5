# Sourced by the test scripts: the environment every test run shares.
# shellcheck shell=bash
export QT_QPA_PLATFORM=offscreen
export LC_ALL=C.UTF-8
# A test function may take longer than QtTest's five minutes on a slow or busy machine (the
# sanitizer build runs the hostile-input windows several times slower).
export QTEST_FUNCTION_TIMEOUT="${QTEST_FUNCTION_TIMEOUT:-1200000}"
# Qt wants a private runtime folder; CI and containers often have none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/runtime-$(id -u)"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
fi

# A loopback port no one listens on now, as the system hands one out for port 0.
free_loopback_port() {
  if command -v python3 >/dev/null; then
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
  else
    shuf -i 49152-60999 -n 1
  fi
}

# Starts the tests' own PostgreSQL server in <build folder>/test-server on a loopback port and
# points the tests at it; the server stops when the calling script exits, whatever the tests
# did. The port is one the system has free at the start (another one is tried when someone took
# it in between), or HARBOR_TEST_PGPORT or the second argument when given.
start_test_server() {
  HARBOR_SERVER_DIR="$PWD/$1/test-server"
  HARBOR_SERVER_SCRIPT="$PWD/scripts/test-server.sh"
  local wanted=${HARBOR_TEST_PGPORT:-${2:-}}
  local port="" attempt
  trap '"$HARBOR_SERVER_SCRIPT" stop "$HARBOR_SERVER_DIR"' EXIT
  "$HARBOR_SERVER_SCRIPT" stop "$HARBOR_SERVER_DIR"
  for attempt in 1 2 3 4 5; do
    port=${wanted:-$(free_loopback_port)}
    if "$HARBOR_SERVER_SCRIPT" start "$HARBOR_SERVER_DIR" "$port"; then
      break
    fi
    port=""
    [ -z "$wanted" ] || break
    echo "test server: port taken, attempt $attempt, trying another one" >&2
  done
  if [ -z "$port" ]; then
    echo "test server: could not start (see $HARBOR_SERVER_DIR/server.log)" >&2
    return 1
  fi
  export HARBOR_TEST_PGHOST=127.0.0.1 HARBOR_TEST_PGPORT=$port
  HARBOR_TEST_PGPASSWORD=$(cat "$HARBOR_SERVER_DIR/password")
  export HARBOR_TEST_PGPASSWORD
  # The program reaches its server on libpq's default port: the tests' server is on this one.
  export PGPORT=$port
}
