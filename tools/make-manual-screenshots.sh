#!/usr/bin/env bash
# Remakes the screenshots of the user manual (docs/manual/images) under a virtual X
# server. Needs xvfb and a Japanese font (fonts-noto-cjk).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/default/bin}
xvfb-run -a -s "-screen 0 1024x768x24" "$bin/manual_screenshots" docs/manual/images
