#!/usr/bin/env bash
# Installs what is missing, builds and starts Kesp on the local database build/data.dat.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/kesp "$@"
