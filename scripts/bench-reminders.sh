#!/usr/bin/env bash
# Runs `kesp-bench reminders N` (default 20000) on SQLite and on a database of
# a throwaway PostgreSQL cluster. Expects a build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${KESP_TEST_PG:-}" ]; then
    exec scripts/with-postgres.sh "$0" "$@"
fi
psql "$KESP_TEST_PG dbname=postgres" -qc "create database kesp_bench"
build/kesp-initdb --postgresql "$KESP_TEST_PG dbname=kesp_bench" >/dev/null
KESP_BENCH_PG="$KESP_TEST_PG dbname=kesp_bench" build/kesp-bench reminders "${1:-20000}"
