#!/usr/bin/env bash
# Mutation testing of the product's sources (panel/, settings/, platform/,
# app/): small seeded changes, each built and tested on a private copy of the
# tree; prints the share that a named test kills (with and without timeouts)
# and every survivor and timeout. A tool, not part of CI.
#
#   tools/mutate.sh                      200 core mutants, then 30 min of Windows-only ones
#   tools/mutate.sh --core 20 --win-minutes 5 --seed 7
#   tools/mutate.sh --only panel/frm1.cpp --win-minutes 0
#   tools/mutate.sh --list               the chosen mutants, nothing built
#   tools/mutate.sh --win 100 --win-minutes 120 --core 0 --out F --resume
#                                        runs on where an earlier run into F stopped (same seed)
#   tools/mutate.sh --compare OLD.tsv NEW.tsv
#
# See tools/mutate/run.py --help for every option.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/utf8.sh  # Wine needs a UTF-8 locale for non-ASCII file names
case " $* " in
  *" --list "*|*" --compare "*|*" -h "*|*" --help "*) ;;
  *) tools/deps.sh ;;
esac
exec python3 tools/mutate/run.py "$@"
