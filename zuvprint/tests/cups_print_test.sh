#!/bin/sh
# End-to-end print onto a CUPS queue: a private cupsd with a cups-pdf queue
# "ZuvPDF" (scripts/cups-server), a two-page print file, a style file that
# names that queue, and a check of the PDF cups-pdf writes.
#
#   cups_print_test.sh ZUVPRINT_BINARY PROJECT_SOURCE_DIR [wine LINUX_ZUVPRINT]
#
# With "wine" the binary is zuvprint.exe, run under 64-bit Wine in a fresh
# prefix of its own: the Windows program prints on the Windows printer that
# Wine makes of the queue, through GDI and Wine's PostScript driver. Its
# invoice is then held against the one the Linux program prints on its own
# PDF printer: the same words at the same places on every page.
#
# Exit 0 when the PDF has the two pages with their texts, non-zero otherwise.
set -u

me=cups_print_test
[ $# -eq 2 ] || [ $# -eq 4 ] || {
  echo "usage: $me ZUVPRINT_BINARY PROJECT_SOURCE_DIR [wine LINUX_ZUVPRINT]" >&2
  exit 2
}
zuvprint=$1
srcdir=$2
wine=${3:-}
linux_zuvprint=${4:-}
server=$srcdir/scripts/cups-server

tmp=
server_dir=
work=

note() { echo "$me: $*" >&2; }

# What the run left behind, for a failing test's log.
diagnostics() {
  [ -n "$work" ] || return 0
  for f in "$tmp/zuvprint.out" "$tmp/zuvprint.err"; do
    if [ -s "$f" ]; then
      echo "---- $(basename "$f") ----" >&2
      cat "$f" >&2
    fi
  done
  if [ -n "$server_dir" ] && [ -f "$server_dir/log/error_log" ]; then
    echo "---- cupsd error_log (job lines, last 40) ----" >&2
    grep -E '^[A-Z] \[[^]]*\] \[Job [0-9]+\]' "$server_dir/log/error_log" |
      grep -vE 'argv\[|envp\[' | tail -n 40 >&2
  fi
  if [ -n "$server_dir" ] && [ -f "$server_dir/log/cups-pdf-ZuvPDF_log" ]; then
    echo "---- cups-pdf log (last 20) ----" >&2
    tail -n 20 "$server_dir/log/cups-pdf-ZuvPDF_log" >&2
  fi
  echo "---- files ----" >&2
  (cd "$tmp" && find work builtin "${server_dir##*/}/pdf-out" -print 2>/dev/null) >&2
}

fail() {
  note "FAIL: $*"
  diagnostics
  exit 1
}

cleanup() {
  if [ -n "$wine" ] && [ -n "$tmp" ]; then
    WINEPREFIX="$tmp/wineprefix" wineserver -k 2>/dev/null || true
  fi
  if [ -n "$server_dir" ]; then
    "$server" stop "$server_dir" || note "could not stop the CUPS server in $server_dir"
  fi
  if [ -n "$tmp" ]; then rm -rf "$tmp"; fi
}
trap cleanup EXIT
trap 'exit 1' HUP INT PIPE TERM

[ -f "$zuvprint" ] || fail "no program at $zuvprint"
[ -x "$server" ] || fail "no server script at $server"
for p in lpstat ipptool pdfinfo pdftotext; do
  command -v $p >/dev/null 2>&1 || fail "$p not found (packages cups-client, cups-ipp-utils, poppler-utils)"
done
[ "$(id -u)" -eq 0 ] || fail "needs root: cupsd runs the cups-pdf backend as root"

# Under /tmp rather than $TMPDIR: the server's socket path must stay short.
tmp=$(mktemp -d /tmp/zuvcups.XXXXXX) || fail "mktemp failed"
# The server's filters run as user lp and must get through to its directory.
chmod 0711 "$tmp"
server_dir=$tmp/cups
work=$tmp/work
mkdir -p "$work" "$tmp/builtin" "$tmp/tmp"

out=$("$server" start "$server_dir") ||
  fail "the private CUPS server did not start (its messages are above)"
case $out in
  CUPS_SERVER=/*) export CUPS_SERVER="${out#CUPS_SERVER=}" ;;
  *) fail "unexpected output from cups-server start: $out" ;;
esac

# Only the private server counts: client settings of the machine and of the
# user (lpoptions, client.conf) stay out, and so do default-printer variables.
export CUPS_SERVERROOT="$server_dir/etc"
unset PRINTER LPDEST
# Built-in printers write here; a PDF here means the job never went to CUPS.
export ZUVPRINT_OUTPUT_DIR="$tmp/builtin"
export TMPDIR="$tmp/tmp"

LC_ALL=C lpstat -e 2>/dev/null | grep -qx ZuvPDF ||
  fail "test setup: the private server does not list ZuvPDF"

# A Windows program under Wine, in a prefix of the test's own, where Wine
# lists the private server's queues as Windows printers.
in_wine() {
  WINEPREFIX=$("$srcdir/scripts/wine-prefix" "$tmp") || return 125
  export WINEPREFIX WINEDEBUG=-all,err+module ZUVPRINT_MESSAGES=stderr
  timeout 300 /usr/lib/wine/wine64 "$@"
}

# The program, started directly or under Wine.
run_zuvprint() {
  if [ -n "$wine" ]; then
    in_wine "$zuvprint" "$@"
  else
    exec "$zuvprint" "$@"
  fi
}

# Two pages: a form feed ends the last line of page 1, before its CR LF.
printf 'Strona pierwsza\r\nkoniec strony\014\r\nStrona druga\r\n' >"$work/print.txt"
printf '[Drukarka]\r\nNazwa=ZuvPDF\r\n' >"$work/test.dpc"

(cd "$work" && run_zuvprint print.txt test.dpc) >"$tmp/zuvprint.out" 2>"$tmp/zuvprint.err"
rc=$?
[ $rc -eq 0 ] || fail "zuvprint exited with status $rc"

[ ! -e "$work/print.txt" ] || fail "print.txt is still there (the program deletes it after copying)"
left=$(find "$work" "$tmp/tmp" -name 'dprtemp*.lst' 2>/dev/null)
[ -z "$left" ] || fail "temporary print file left behind: $left"
builtin=$(find "$tmp/builtin" -type f 2>/dev/null)
[ -z "$builtin" ] || fail "the job went to a built-in printer, not to ZuvPDF: $builtin"

# IPP requests to the queue, through ipptool.
cat >"$tmp/get-jobs.test" <<'EOF'
{
  OPERATION Get-Jobs
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri $uri
  ATTR keyword which-jobs all
  ATTR keyword requested-attributes job-id
  STATUS successful-ok
}
EOF
cat >"$tmp/get-job.test" <<'EOF'
{
  OPERATION Get-Job-Attributes
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri $uri
  ATTR integer job-id $job_id
  ATTR keyword requested-attributes job-state,job-name
  STATUS successful-ok
}
EOF
queue_uri="ipp://$(printf '%s' "$CUPS_SERVER" | sed 's|/|%2F|g')/printers/ZuvPDF"

# ipp REQUEST [ipptool options]: the attributes of the answer, "name (type) = value".
ipp() {
  request=$1
  shift
  answer=$(LC_ALL=C ipptool -tv "$@" "$queue_uri" "$tmp/$request.test" 2>&1) || {
    printf '%s\n' "$answer" >&2
    return 1
  }
  printf '%s\n' "$answer" | sed -n '/RECEIVED/,$s/^ *//p'
}
# value ATTRIBUTE < answer
value() { sed -n "s/^$1 ([^)]*) = //p"; }

answer=$(ipp get-jobs) || fail "Get-Jobs on ZuvPDF failed"
ids=$(printf '%s\n' "$answer" | value job-id)
[ -n "$ids" ] || fail "no job reached the queue ZuvPDF"
[ "$(printf '%s\n' "$ids" | wc -l)" -eq 1 ] || fail "expected one job on ZuvPDF, got jobs $(printf '%s ' "$ids" | tr '\n' ' ')"
job=$ids

# cups-pdf works after the job is queued: wait, 30 s at most, for the job to
# end.  A job that stops (a filter failed), is canceled or aborted fails.
pid=$(cat "$server_dir/cupsd.pid")
deadline=$(($(date +%s) + 30))
while :; do
  kill -0 "$pid" 2>/dev/null || fail "cupsd died while printing"
  attrs=$(ipp get-job -d job_id="$job") || fail "Get-Job-Attributes for job $job failed"
  state=$(printf '%s\n' "$attrs" | value job-state)
  case $state in
    completed) break ;;
    pending | pending-held | processing) ;;
    *) fail "job $job ended as ${state:-(no state)}" ;;
  esac
  [ "$(date +%s)" -le "$deadline" ] || fail "job $job is still $state after 30 s"
  sleep 0.2
done
title=$(printf '%s\n' "$attrs" | value job-name)

# The program names the job after the print file.
case $title in
  print.txt | */print.txt) ;;
  *) fail "job title is \"$title\", expected the print file's name print.txt" ;;
esac

pdfs=$(find "$server_dir/pdf-out" -type f -name '*.pdf')
[ -n "$pdfs" ] || fail "the job completed without a PDF in pdf-out"
[ "$(printf '%s\n' "$pdfs" | wc -l)" -eq 1 ] || fail "more than one PDF: $pdfs"
pdf=$pdfs

pages=$(pdfinfo "$pdf" 2>&1 | sed -n 's/^Pages:[[:space:]]*//p')
[ "$pages" = 2 ] || fail "$pdf has ${pages:-no} pages, expected 2"

# Text is drawn one character per cell, so pdftotext may split or join words:
# compare without white space.
page_text() {
  pdftotext -f "$1" -l "$1" "$pdf" - 2>/dev/null | tr -d '[:space:]'
}
p1=$(page_text 1)
p2=$(page_text 2)
case $p1 in *Stronapierwsza*) ;; *) fail "page 1 lacks \"Strona pierwsza\"; its text: $p1" ;; esac
case $p1 in *Stronadruga*) fail "page 1 shows page 2's text; its text: $p1" ;; esac
case $p2 in *Stronadruga*) ;; *) fail "page 2 lacks \"Strona druga\"; its text: $p2" ;; esac
case $p2 in *Stronapierwsza*) fail "page 2 shows page 1's text; its text: $p2" ;; esac

# The sample invoice (without its QR settings: its codes are another test's)
# with its style file, logo and background, on the same queue: three pages
# with the invoice's texts, Polish letters included.
# Wine's printer works at 300 dpi unless told otherwise; at the Linux PDF
# printer's 600 dpi both programs lay out the same grid.
rm -f "$server_dir"/pdf-out/*.pdf
if [ -n "$wine" ]; then
  (in_wine "$(dirname "$zuvprint")/printer_resolution.exe" ZuvPDF 600) >&2 ||
    fail "test setup: ZuvPDF did not take 600 dpi"
fi
cp "$srcdir/examples/faktura.txt" "$work/faktura.txt"
(cd "$srcdir" && PRINTER=ZuvPDF run_zuvprint "$work/faktura.txt" examples/faktura.dpc) \
  >"$tmp/faktura.out" 2>"$tmp/faktura.err" || fail "the invoice was not printed: $(cat "$tmp/faktura.err")"
deadline=$(($(date +%s) + 60))
until [ -n "$(find "$server_dir/pdf-out" -name 'faktura*.pdf' 2>/dev/null)" ]; do
  [ "$(date +%s)" -le "$deadline" ] || fail "no PDF of the invoice after 60 s"
  sleep 0.5
done
sleep 1  # cups-pdf writes the file under its final name
pdf=$(find "$server_dir/pdf-out" -name 'faktura*.pdf' | head -n 1)
pages=$(pdfinfo "$pdf" 2>&1 | sed -n 's/^Pages:[[:space:]]*//p')
[ "$pages" = 3 ] || fail "the invoice has ${pages:-no} pages, expected 3"
text=$(pdftotext "$pdf" - 2>/dev/null | tr -d '[:space:]')
for expected in FAKTURAVATnrFV/2026/12/0042 ZŁOTYŁĘG RAZEMDOZAPŁATY: Strona3/3; do
  case $text in *"$expected"*) ;; *) fail "the invoice lacks \"$expected\"" ;; esac
done

# words PDF: every word of every page as "page text xMin yMax", in points.
words() {
  pdftotext -bbox "$1" - 2>/dev/null | awk '
    /<page / { page++ }
    /<word / {
      match($0, /xMin="[^"]*"/); x = substr($0, RSTART + 6, RLENGTH - 7)
      match($0, /yMax="[^"]*"/); y = substr($0, RSTART + 6, RLENGTH - 7)
      match($0, />.*</); print page, substr($0, RSTART + 1, RLENGTH - 2), x, y
    }'
}
if [ -n "$wine" ]; then
  mkdir "$tmp/linux"
  cp "$srcdir/examples/faktura.txt" "$tmp/linux/faktura.txt"
  (cd "$srcdir" && PRINTER=PDF ZUVPRINT_OUTPUT_DIR="$tmp/linux" "$linux_zuvprint" "$tmp/linux/faktura.txt" \
    examples/faktura.dpc) || fail "the Linux program did not print the invoice"
  words "$tmp/linux/faktura.pdf" >"$tmp/linux.words"
  words "$pdf" >"$tmp/windows.words"
  # Each word of one print matched by the same word on the same page of the
  # other within half a point: each printer rounds to its own pixels.
  unmatched=$(awk '
    NR == FNR { n++; page[n] = $1; text[n] = $2; x[n] = $3; y[n] = $4; next }
    {
      for (i = 1; i <= n; i++)
        if (!used[i] && page[i] == $1 && text[i] == $2 && (x[i] - $3) ^ 2 < 0.25 && (y[i] - $4) ^ 2 < 0.25) {
          used[i] = 1; next
        }
      print "windows only: " $0
    }
    END { for (i = 1; i <= n; i++) if (!used[i]) print "linux only: " page[i], text[i], x[i], y[i] }
  ' "$tmp/linux.words" "$tmp/windows.words")
  [ -s "$tmp/linux.words" ] || fail "no words in the Linux program's invoice"
  [ -z "$unmatched" ] || fail "the Windows and Linux invoices differ:
$(printf '%s\n' "$unmatched" | head -n 20)"
fi

# A queue named like a built-in printer does not hide it: a style file that
# names "PDF" gets the built-in printer's file, and the queue gets no job.
if [ -z "$wine" ]; then
  out=$(lpadmin -h "$CUPS_SERVER" -p PDF -E -v cups-pdf:/ -P "$server_dir/etc/ZuvPDF-source.ppd" 2>&1) ||
    fail "test setup: lpadmin could not add the queue PDF: $out"
  printf 'Wbudowana\r\n' >"$work/builtin.txt"
  printf '[Drukarka]\r\nNazwa=PDF\r\n' >"$work/pdf.dpc"
  (cd "$work" && run_zuvprint builtin.txt pdf.dpc) >"$tmp/zuvprint.out" 2>"$tmp/zuvprint.err" ||
    fail "zuvprint on PDF exited with status $?"
  [ -f "$tmp/builtin/builtin.pdf" ] || fail "a style file naming PDF did not get the built-in printer's PDF"
  queue_uri="ipp://$(printf '%s' "$CUPS_SERVER" | sed 's|/|%2F|g')/printers/PDF"
  answer=$(ipp get-jobs) || fail "Get-Jobs on PDF failed"
  ids=$(printf '%s\n' "$answer" | value job-id)
  [ -z "$ids" ] || fail "the CUPS queue PDF got jobs $ids; the built-in printer should have"
fi

# A queue that refuses jobs: the run says so, fails, and still cleans up.
cupsreject ZuvPDF || fail "test setup: cupsreject ZuvPDF failed"
printf 'Odrzucony\r\n' >"$work/refused.txt"
(cd "$work" && run_zuvprint refused.txt test.dpc) >"$tmp/refused.out" 2>"$tmp/refused.err"
rc=$?
[ $rc -ne 0 ] || fail "a refused job was reported as success"
grep -q "ZuvPDF" "$tmp/refused.err" || fail "no message names the refusing printer: $(cat "$tmp/refused.err")"
[ ! -e "$work/refused.txt" ] || fail "refused.txt is still there"
left=$(find "$work" "$tmp/tmp" -name 'dprtemp*.lst' -o -name '.zuvprint-*' 2>/dev/null)
[ -z "$left" ] || fail "files left behind after a refused job: $left"

builtin_first=
[ -n "$wine" ] || builtin_first="; a queue named PDF leaves the built-in PDF first"
echo "$me: OK: 2 pages, the 3-page invoice${wine:+ (word for word where the Linux program puts it)}$builtin_first; a refused job is reported"
exit 0
