#!/usr/bin/env bash
# The shell's clock runs by itself: a person who types nothing for a while still sees the engine's
# answers. The lines come through a pipe that pauses until the transcript shows what the pause was
# for, and no line says `advance`: the engine's start (its WK_INIT_COMPLETE closes the splash and
# shows the server view) must appear while the pipe is silent, then a message the engine is made to
# send, whose box the next line answers. A pause that waited in vain (a clock that stands still
# shows nothing until the next line comes) is a failure, whatever the transcript holds at the end.
# usage: shell_clock.sh WORKDIR NIMBIDE-COMMAND...
#   e.g. shell_clock.sh work nimbide --addin A --engine E --workspace W
#        shell_clock.sh work wine64 nimbide.exe --com --workspace 'Z:\...'
set -euo pipefail
workdir="$1"
shift
rm -rf "$workdir"
mkdir -p "$workdir"
cd "$workdir"
: >out.txt

# Waits until the transcript holds $1, at most 30 s (a Windows program under Wine starts slowly).
shown() {
  local deadline=$((SECONDS + 30))
  until grep -qF -- "$1" out.txt; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      echo "shell_clock: nothing showed while the pipe waited for: $1" >>waited.txt
      return 0
    fi
    sleep 0.1
  done
}

{
  echo "connect"
  echo "click addInMenuItem"
  shown 'tool window "NIMB Server View": visible'
  echo 'engine text 3 "An answer from the engine"'
  shown "| An answer from the engine"
  echo "ok"
  echo "quit"
} | "$@" >out.txt 2>err.txt

failed=0
if [ -s waited.txt ]; then
  cat waited.txt >&2
  failed=1
fi
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
