#!/usr/bin/env bash
# Brings translations/*.ts up to date with the texts in src/: new texts come in unfinished, texts
# gone from the code go. Translate the unfinished ones (linguist or an editor) before committing;
# the catalogue test fails while any is left.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DSORVELL_BENCH=OFF >/dev/null
ninja -C build update_translations
