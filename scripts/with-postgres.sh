#!/usr/bin/env bash
# Runs a command with a throwaway PostgreSQL cluster: initdb into a temporary
# directory, start it on a private socket directory and a free port, export
# KESP_TEST_PG ("host=SOCKETDIR port=PORT user=postgres"), run the command,
# then stop the cluster and remove it. Local connections are trusted; TCP on
# 127.0.0.1 asks for passwords, so the password login can be tested for real.
set -euo pipefail

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bindir" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }

workdir=$(mktemp -d /tmp/kesp-pg.XXXXXX)
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
    chown postgres: "$workdir"
    as_owner=(runuser -u postgres --)
fi

cleanup() {
    "${as_owner[@]}" "$bindir/pg_ctl" -D "$workdir/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$workdir"
}
trap cleanup EXIT

port=54329
while (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null || [ -e "/tmp/.s.PGSQL.$port" ]; do
    port=$((port + 1))
done

"${as_owner[@]}" bash -c "head -c 24 /dev/urandom | base64 > '$workdir/pwfile'"
"${as_owner[@]}" "$bindir/initdb" -D "$workdir/data" -U postgres --pwfile="$workdir/pwfile" \
    --auth-local=trust --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$workdir/initdb.log" 2>&1 \
    || { cat "$workdir/initdb.log" >&2; exit 1; }
"${as_owner[@]}" "$bindir/pg_ctl" -D "$workdir/data" -l "$workdir/server.log" -w \
    -o "-k $workdir -p $port -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null \
    || { cat "$workdir/server.log" >&2; exit 1; }

export KESP_TEST_PG="host=$workdir port=$port user=postgres"
echo "PostgreSQL test cluster: $KESP_TEST_PG"
"$@"
