#!/usr/bin/env bash
# The shell's clock runs by itself: a person who types nothing for a while still sees the engine's
# answers. The lines come through a pipe with pauses and no line says `advance`; the engine's
# start (its WK_INIT_COMPLETE closes the splash and shows the server view) and a message it is
# made to send must both appear, the message box answered by the line that follows the pause.
# usage: shell_clock.sh NIMBIDE ADDIN ENGINE WORKSPACE WORKDIR
set -euo pipefail
nimbide="$1" addin="$2" engine="$3" workspace="$4" workdir="$5"
rm -rf "$workdir"
mkdir -p "$workdir"
cd "$workdir"

{
  echo "connect"
  echo "click addInMenuItem"
  sleep 1.5
  echo 'engine text 3 "An answer from the engine"'
  sleep 1
  echo "ok"
  echo "quit"
} | "$nimbide" --addin "$addin" --engine "$engine" --workspace "$workspace" >out.txt 2>err.txt

failed=0
expect() {
  if ! grep -qF -- "$1" out.txt; then
    echo "shell_clock: the transcript lacks: $1" >&2
    failed=1
  fi
}
expect "[form splashscrnFrm closed]"
expect 'tool window "NIMB Server View": visible'
expect "| An answer from the engine"
expect "-> OK (1)"
if grep -q "unknown command\|advance" out.txt; then
  echo "shell_clock: a line was taken for a command it was not meant for" >&2
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "--- transcript ---" >&2
  cat out.txt >&2
  cat err.txt >&2
fi
exit "$failed"
