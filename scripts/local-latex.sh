#!/bin/sh
# Local processing run: called by the documentation job as
#   /bin/sh local-latex.sh DATADIR BASENAME
# in the document's directory. Runs latex until it stops asking for a rerun, then dvips, and exits
# non-zero when no PostScript file can be made. The templates of DATADIR (ccmds.tex, html.sty) are found through
# TEXINPUTS.
set -u

if [ $# -ne 2 ]; then
    echo "usage: $0 DATADIR BASENAME" >&2
    exit 64
fi
datadir=$1
base=$2

if [ ! -f "$base.tex" ]; then
    echo "local-latex: $base.tex not found in $(pwd)" >&2
    exit 66
fi

TEXINPUTS=".:$datadir/template:${TEXINPUTS:-}"
export TEXINPUTS

# Cross references settle after a few passes; a document that never settles still gets its output.
# LaTeX errors do not fail the run by themselves: they are in the log, which the job checks. The run
# fails when no DVI file comes out.
rm -f "$base.dvi"
passes=0
while :; do
    passes=$((passes + 1))
    latex -interaction=nonstopmode -no-shell-escape "$base.tex" </dev/null >/dev/null
    status=$?
    if [ $status -ne 0 ] || [ $passes -ge 5 ] || ! grep -q 'Rerun to get' "$base.log"; then
        break
    fi
done

if [ ! -f "$base.dvi" ]; then
    echo "local-latex: latex produced no output (exit status $status), see $base.log" >&2
    exit 1
fi
if ! dvips -q -o "$base.ps" "$base.dvi"; then
    echo "local-latex: dvips failed" >&2
    exit 1
fi
exit 0
