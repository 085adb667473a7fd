#!/usr/bin/env bash
# Takes the pictures of the window shown in the README: one PNG per tab and one
# of the length tool, drawn by the real widgets on a virtual X display.
#   docs/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --target kestrin-replacer-screenshots >/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb \
  "$build_dir/bin/kestrin-replacer-screenshots" docs
ls -l docs/*.png
