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

# Starts the tests' own PostgreSQL server in <build folder>/test-server on a loopback port (the
# second argument, default 55432) and points the tests at it; the server stops when the calling
# script exits, whatever the tests did.
start_test_server() {
  HARBOR_SERVER_DIR="$PWD/$1/test-server"
  HARBOR_SERVER_SCRIPT="$PWD/scripts/test-server.sh"
  local port=${HARBOR_TEST_PGPORT:-${2:-55432}}
  trap '"$HARBOR_SERVER_SCRIPT" stop "$HARBOR_SERVER_DIR"' EXIT
  "$HARBOR_SERVER_SCRIPT" stop "$HARBOR_SERVER_DIR"
  "$HARBOR_SERVER_SCRIPT" start "$HARBOR_SERVER_DIR" "$port"
  export HARBOR_TEST_PGHOST=127.0.0.1 HARBOR_TEST_PGPORT=$port
  HARBOR_TEST_PGPASSWORD=$(cat "$HARBOR_SERVER_DIR/password")
  export HARBOR_TEST_PGPASSWORD
  # The program reaches its server on libpq's default port: the tests' server is on this one.
  export PGPORT=$port
}
