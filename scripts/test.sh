#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: SQLite in temporary
# directories and PostgreSQL in a throwaway cluster started for the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/with-postgres.sh ctest --test-dir build --output-on-failure "$@"
