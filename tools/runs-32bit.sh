#!/bin/sh
# Succeeds when this machine's kernel runs 32-bit x86 programs, which Wine
# needs to run 32-bit Windows programs. Some kernels are built without it:
# there, Debian's wine32 cannot start, and once installed it takes the 64-bit
# programs down with it.
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# The smallest 32-bit program: exit(7) through int 0x80.
printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\007\000\000\000\315\200' >"$probe"
chmod +x "$probe"
status=0
"$probe" 2>/dev/null || status=$?
[ "$status" -eq 7 ]
