#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A private PostgreSQL server for the tests of the team database, in a folder
# of its own:
#   pg-test-server.sh start DIR   makes DIR (empty or new) and starts it
#   pg-test-server.sh stop DIR    stops it and deletes DIR
#   pg-test-server.sh halt|resume DIR   stops it, keeping DIR; starts it again
#   pg-test-server.sh freeze|thaw DIR   stops all its processes (SIGSTOP), as
#                                 a hung server; lets them go on (SIGCONT)
# It listens on a Unix socket in DIR/socket, where the superuser velno_admin
# is trusted, and with TLS on a free loopback TCP port (the socket's port
# number too, as libpq names the socket after it), where roles sign in
# with a password (scram-sha-256); its certificate for localhost and 127.0.0.1
# is signed by a throwaway CA, DIR/tls/ca.crt; DIR/tls/other-ca.crt is
# another, which did not sign it. DIR/pg-test-server.env exports
# VELNO_TEST_PG_SOCKET, VELNO_TEST_PG_PORT, VELNO_TEST_PG_CA,
# VELNO_TEST_PG_OTHER_CA and VELNO_TEST_PG_SUPERUSER for the tests. The server refuses to run as root:
# as root it runs as the system user postgres, otherwise as the caller.
set -euo pipefail

superuser=velno_admin
envname=pg-test-server.env

usage()
{
    echo "Usage: $0 start|stop DIR" >&2
    exit 2
}

[ $# -eq 2 ] || usage
action=$1
dir=$2

bindir=$(printf '%s\n' /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
    echo "$0: no PostgreSQL server under /usr/lib/postgresql (Debian package postgresql)" >&2
    exit 1
fi

owner=$(id -un)
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
    owner=postgres
    if command -v runuser >/dev/null 2>&1; then
        as_owner=(runuser -u postgres --)
    else
        # shellcheck disable=SC2016 # expanded by the shell su starts
        as_owner=(su postgres -s /bin/sh -c '"$0" "$@"')
    fi
fi

# A loopback port nobody listens on, between 20000 and 59999.
free_port()
{
    local port
    for _ in $(seq 50); do
        port=$((20000 + RANDOM % 40000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return 0
        fi
    done
    echo "$0: no free loopback port found" >&2
    return 1
}

# The throwaway CA and the server's certificate signed by it.
make_certificates()
{
    local tls=$1
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=velno test CA" \
        -keyout "$tls/ca.key" -out "$tls/ca.crt" 2>/dev/null
    openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" \
        -keyout "$tls/server.key" -out "$tls/server.csr" 2>/dev/null
    printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\n' >"$tls/server.ext"
    openssl x509 -req -in "$tls/server.csr" -CA "$tls/ca.crt" -CAkey "$tls/ca.key" -CAcreateserial \
        -days 2 -extfile "$tls/server.ext" -out "$tls/server.crt" 2>/dev/null
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=velno test CA" \
        -keyout "$tls/other-ca.key" -out "$tls/other-ca.crt" 2>/dev/null
    rm -f "$tls/ca.key" "$tls/other-ca.key" "$tls/server.csr" "$tls/server.ext" "$tls/ca.srl"
    chmod 0600 "$tls/server.key"
    chmod 0644 "$tls/ca.crt" "$tls/other-ca.crt" "$tls/server.crt"
}

configure()
{
    local data=$1
    cat >>"$data/postgresql.conf" <<EOF
listen_addresses = '127.0.0.1'
unix_socket_directories = '$dir/socket'
ssl = on
ssl_cert_file = '$dir/tls/server.crt'
ssl_key_file = '$dir/tls/server.key'
password_encryption = 'scram-sha-256'
fsync = off
synchronous_commit = off
full_page_writes = off
EOF
    cat >"$data/pg_hba.conf" <<EOF
local   all  $superuser                  trust
hostssl all  all        127.0.0.1/32     scram-sha-256
EOF
}

start()
{
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    if [ -n "$(ls -A "$dir")" ]; then
        echo "$0: $dir is not empty" >&2
        exit 1
    fi
    # The server's user must reach its folders; mktemp makes them 0700.
    chmod 0755 "$dir"
    mkdir "$dir/socket" "$dir/tls" "$dir/data" "$dir/log"
    make_certificates "$dir/tls"
    chown -R "$owner" "$dir/socket" "$dir/tls" "$dir/data" "$dir/log"
    "${as_owner[@]}" "$bindir/initdb" -D "$dir/data" -U "$superuser" -E UTF8 --locale=C.UTF-8 \
        --auth-local=trust --auth-host=reject --no-sync >"$dir/log/initdb.log" 2>&1 || {
        cat "$dir/log/initdb.log" >&2
        exit 1
    }
    configure "$dir/data"
    local port
    for _ in 1 2 3; do
        port=$(free_port)
        if "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/log/server.log" -o "-p $port" -w -t 20 \
            start >/dev/null; then
            cat >"$dir/$envname" <<EOF
export VELNO_TEST_PG_SOCKET='$dir/socket'
export VELNO_TEST_PG_PORT='$port'
export VELNO_TEST_PG_CA='$dir/tls/ca.crt'
export VELNO_TEST_PG_OTHER_CA='$dir/tls/other-ca.crt'
export VELNO_TEST_PG_SUPERUSER='$superuser'
EOF
            echo "PostgreSQL for the tests: socket $dir/socket, TLS on 127.0.0.1:$port"
            return 0
        fi
        # The port was taken meanwhile: the next try takes another.
    done
    cat "$dir/log/server.log" >&2
    exit 1
}

stop()
{
    if [ ! -d "$dir/data" ] || [ ! -f "$dir/$envname" ]; then
        echo "$0: no test server in $dir" >&2
        exit 1
    fi
    "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null || true
    rm -rf "$dir"
}

# The server's processes: the postmaster and every process it started.
server_pids()
{
    local main
    main=$(head -n 1 "$dir/data/postmaster.pid")
    echo "$main"
    pgrep -P "$main" || true
}

halt()
{
    "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
}

resume()
{
    local port
    port=$(sed -n "s/^export VELNO_TEST_PG_PORT='\(.*\)'$/\1/p" "$dir/$envname")
    "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/log/server.log" -o "-p $port" -w -t 20 \
        start >/dev/null
}

case $action in
start) start ;;
stop) stop ;;
halt) halt ;;
resume) resume ;;
freeze) kill -STOP $(server_pids) ;;
thaw) kill -CONT $(server_pids) ;;
*) usage ;;
esac
