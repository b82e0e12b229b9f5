#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests: its own data folder, a loopback port, run as
# the postgres user (the server refuses to run as root).
#   scripts/test-server.sh start DIR PORT   initialise DIR if new and start the server
#   scripts/test-server.sh stop DIR         stop it (nothing when it does not run)
# The superuser is postgres with the password in DIR/password; only 127.0.0.1 is listened on.
set -euo pipefail

bindir=""
for candidate in /usr/lib/postgresql/*/bin; do
  [ -x "$candidate/pg_ctl" ] && bindir="$candidate"
done
if [ -z "$bindir" ]; then
  echo "test-server: PostgreSQL is not installed (apt-get install postgresql)" >&2
  exit 1
fi

as_postgres() {
  if [ "$(id -un)" = postgres ]; then
    "$@"
  elif [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"  # an ordinary user runs the server as themselves
  fi
}

command=${1:-}
dir=${2:-}
[ -n "$dir" ] || { echo "usage: $0 start DIR PORT | stop DIR" >&2; exit 2; }
dir=$(realpath -m "$dir")

# The postgres user must reach the folder, and its socket path must stay short: otherwise the
# folder lives in /tmp and DIR is a link to it.
place_folder() {
  local parent
  parent=$(dirname "$dir")
  mkdir -p "$parent"
  if { [ "$(id -u)" -eq 0 ] && ! runuser -u postgres -- test -x "$parent"; } || [ ${#dir} -gt 70 ]; then
    local real
    real=$(mktemp -d /tmp/harbor-test-server.XXXXXX)
    ln -sfn "$real" "$dir"
    dir=$real
  fi
}

case "$command" in
start)
  port=${3:?port missing}
  if [ ! -f "$dir/data/PG_VERSION" ]; then
    rm -rf "$dir"
    place_folder
    mkdir -p "$dir"
    echo "harbor-test-$RANDOM$RANDOM" >"$dir/password"
    [ "$(id -u)" -eq 0 ] && chown -R postgres:postgres "$dir"
    chmod 700 "$dir"
    as_postgres "$bindir/initdb" -D "$dir/data" -U postgres --pwfile="$dir/password" \
      --auth-host=scram-sha-256 --auth-local=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
  fi
  # The tests make and drop many small databases: durability is not wanted here.
  as_postgres "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start \
    -o "-p $port -c listen_addresses=127.0.0.1 -c unix_socket_directories=$dir \
        -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" >/dev/null
  ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_postgres "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
  fi
  ;;
*)
  echo "usage: $0 start DIR PORT | stop DIR" >&2
  exit 2
  ;;
esac
