#!/usr/bin/env bash
# tresolva-batch as a person runs it: settings, exports, pictures, animations,
# exponents and sweeps; every refusal or failure one line, a status, no file.
#   cli.sh TRESOLVA-BATCH
set -u
BATCH=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$BATCH" settings >"$WORK/default.toml" || fail "settings ended with $?"
"$BATCH" export -s "$WORK/default.toml" -o - >"$WORK/run.csv" || fail "export -o - ended with $?"
[ "$(head -n1 "$WORK/run.csv")" = "t,x,y,z" ] && [ "$(wc -l <"$WORK/run.csv")" -eq 30000 ] ||
  fail "the printed settings, read back, give no header and 29999 rows (tmin 50 to 200 at 0.005)"
LC_ALL=de_DE.UTF-8 "$BATCH" export -o "$WORK/de.csv" 2>/dev/null
cmp -s "$WORK/run.csv" "$WORK/de.csv" || fail "the CSV depends on the locale"

# ---- Pictures: the same bytes every time, each format what it says;
# animate's frames are render's frames of the same playback.
export -n DISPLAY
"$BATCH" render -o "$WORK/w1.png" || fail "render ended with $?"
# Vector files carry a date, which SOURCE_DATE_EPOCH sets: renders made a
# second of the clock apart are the same bytes.
for f in "png:PNG" "svg:<?xml" "pdf:%PDF" "eps:%!PS"; do
  SOURCE_DATE_EPOCH=1 "$BATCH" render --size 64x40 -o "$WORK/a.${f%%:*}" || fail "render .${f%%:*} ended with $?"
  head -c 5 "$WORK/a.${f%%:*}" | LC_ALL=C grep -aq "${f#*:}" || fail "the .${f%%:*} file is not one"
done
second=$(date +%s)
while [ "$(date +%s)" = "$second" ]; do sleep 0.1; done
for f in png svg pdf eps; do SOURCE_DATE_EPOCH=1 "$BATCH" render --size 64x40 -o "$WORK/b.$f" &&
  cmp -s "$WORK/a.$f" "$WORK/b.$f" || fail "two .$f with SOURCE_DATE_EPOCH differ"; done
# Lines as thick against the picture as on the screen: at twice the size
# the curve covers as much of it, unless the widths stay in pixels.
covered() { convert "$WORK/$1" -colorspace gray -threshold 10% -format '%[fx:mean]' info:; }
"$BATCH" render --size 1900x1420 -o "$WORK/w2.png" &&
  "$BATCH" render --size 1900x1420 --pixel-widths -o "$WORK/w2p.png" || fail "render at twice the size"
awk -v a="$(covered w1.png)" -v b="$(covered w2.png)" -v c="$(covered w2p.png)" \
  'BEGIN { exit !(b > 0.85 * a && c < 0.7 * a) }' || fail "line widths do not follow the picture's size"
# Multisampled, the curve's edges take shades between it and the background.
"$BATCH" render --samples 4 -o "$WORK/w1s.png" || fail "render --samples 4 ended with $?"
colours() { convert "$WORK/$1" -format %k info:; }
[ "$(colours w1s.png)" -gt $((2 * $(colours w1.png))) ] || fail "--samples 4 left the edges hard"
# render --frame K goes straight to frame K with the bytes of playing K frames: along
# Segment's moving start (the curve's; the twin's and the map's previous maximum's)
# and across Dynamic's wrap back to tmin; frame 10^6 without the hours of playing to it.
printf 'tmin = 0.0\ntmax = 20.0\ndt = 0.01\n' >"$WORK/short.toml"
printf 'playback = "dynamic"\n' | cat "$WORK/short.toml" - >"$WORK/dyn.toml"
printf 'twin = true\nmaximum_map = true\n' | cat "$WORK/short.toml" - >"$WORK/seg.toml"
for p in short dyn seg; do
  "$BATCH" animate -s "$WORK/$p.toml" -n 402 --size 64x40 -o "$WORK/$p" || fail "animate $p ended with $?"
  for k in 1 2 3 200 201 202 203 402; do
    "$BATCH" render -s "$WORK/$p.toml" --frame $k --size 64x40 -o "$WORK/r.png"
    cmp -s "$WORK/r.png" "$WORK/$p-$(printf %04d $k).png" || fail "$p: frame $k is not the played one"
  done
  timeout 30 "$BATCH" render -s "$WORK/$p.toml" --frame 1000000 --size 64x40 -o "$WORK/$p-last.png" ||
    fail "$p: frame 1000000 not drawn within 30 s"
done
# The period: the first p with frames p + 1 to p + 40 those of 1 to 40.
same() { for j in $(seq 0 39); do cmp -s "$WORK/dyn-$(printf %04d $((1 + j))).png" \
  "$WORK/dyn-$(printf %04d $(($1 + 1 + j))).png" || return 1; done; }
period=$(for p in $(seq 1 360); do same $p && echo $p && break; done)
[ -n "$period" ] && cmp -s "$WORK/dyn-last.png" "$WORK/dyn-$(printf %04d $((999999 % period + 1))).png" ||
  fail "Dynamic's frame 1000000 is not its frame within the period ($period)"
# Segment's frame 10^4 starts where a run from the same start is after
# 99,990 steps (row 99,990 of the export holds the state after them).
printf 'playback = "static"\ntmin = 0.0\ntmax = 1000.0\ndt = 0.01\n' >"$WORK/run.toml"
"$BATCH" export -s "$WORK/run.toml" -o - | awk -F, 'NR == 99990 { print "[start]\nx = " $2 "\ny = " $3 "\nz = " $4 }' |
  cat "$WORK/short.toml" - >"$WORK/moved.toml"
"$BATCH" render -s "$WORK/short.toml" --frame 10000 --size 64x40 -o "$WORK/far.png" &&
  "$BATCH" render -s "$WORK/moved.toml" --size 64x40 -o "$WORK/near.png" && cmp -s "$WORK/far.png" "$WORK/near.png" ||
  fail "Segment's frame 10000 does not start 99990 steps on"
# yuv420p, which browsers play, needs even sizes: 15x9 is made 16x10.
for v in "16x10 v.mp4" "15x9 it's.mp4"; do
  "$BATCH" animate -n 3 --size "${v% *}" --video "$WORK/${v#* }" || fail "animate --video $v ended with $?"
  [ "$(ffprobe -v error -count_frames -show_entries stream=width,height,pix_fmt,nb_read_frames \
    -of csv=p=0 "$WORK/${v#* }")" = "16,10,yuv420p,3" ] || fail "$v is not 3 yuv420p frames of 16x10"
done

# ---- Numbers: repeats and sweeps give the same bytes on one thread as on
# every core, and the sweep's shards merge into the whole file.
printf 'attractor = "roessler"\n' >"$WORK/r.toml"
lyap="lyapunov -s $WORK/r.toml --time 200 --transient 10 --spectrum --repeat 4"
"$BATCH" $lyap --threads 1 >"$WORK/l1.txt" && "$BATCH" $lyap >"$WORK/lall.txt" || fail "lyapunov ended with $?"
cmp -s "$WORK/l1.txt" "$WORK/lall.txt" || fail "lyapunov --repeat depends on the threads"
grep -q "^kaplan_yorke = " "$WORK/l1.txt" || fail "no Kaplan-Yorke dimension"
"$BATCH" lyapunov --time 50 --json >"$WORK/l.json" || fail "lyapunov --time 50 --json ended with $?"
for key in version settings options exponents error; do
  grep -q "\"$key\"" "$WORK/l.json" || fail "no $key in the JSON"; done
"$BATCH" --version | grep -q "^tresolva-batch [0-9]" || fail "no version"
"$BATCH" lyapunov --time 100 --transient 10 --trace "$WORK/trace.csv" >/dev/null || fail "lyapunov --trace"
[ "$(head -n1 "$WORK/trace.csv")" = "t,lambda1" ] && [ "$(wc -l <"$WORK/trace.csv")" -eq 101 ] ||
  fail "the trace is not one row per renormalisation"
sweep="bifurcation -s $WORK/r.toml --param c --from 2 --to 6 --values 30 --transient 20 --time 60"
"$BATCH" $sweep -o "$WORK/all.csv" --svg "$WORK/all.svg" --size 300x200 || fail "bifurcation ended with $?"
# The axes' text in an SVG file holds each of TEXTS: has_texts FILE TEXT...
has_texts() {
  local texts=$(perl -0ne 'while (/<text[^>]*>(.*?)<\/text>/sg) { ($t = $1) =~ s/<[^>]+>|\s+$|^\s+//g;
    $t =~ s/&#x([0-9a-f]+);/chr hex $1/ge; print "$t\n" }' "$1")
  for t in "${@:2}"; do grep -qx "$t" <<<"$texts" || fail "$1 lacks the text $t"; done
}
has_texts "$WORK/all.svg" 2 6 c "max x" # the range's ends among the numbers, and the labels
# The default diagram's tick numbers read by OCR, at the default size and at twice it
# (where one-pixel strokes read as letters), in both styles; the Lorenz maxima are of |x|.
command -v tesseract >/dev/null || fail "no tesseract: run scripts/deps.sh test"
diagram="bifurcation --param ro --from 25 --to 300 --values 50 -o $WORK/d.csv"
"$BATCH" $diagram --svg "$WORK/d.svg" && has_texts "$WORK/d.svg" "max |x|" || fail "the default diagram"
for look in "" --dark "--size 2400x1600" "--size 2400x1600 --dark"; do
  "$BATCH" $diagram --png "$WORK/d.png" $look || fail "the default diagram $look ended with $?"
  words=$(OMP_THREAD_LIMIT=1 tesseract "$WORK/d.png" - --psm 11 2>/dev/null | grep -o '[0-9]*')
  for n in 10 20 30 40 60 100 150 200 250 300; do
    grep -qx "$n" <<<"$words" || fail "OCR misses the diagram's $n ($look): read" $words
  done
done
# A sweep run as many jobs, as the README runs it: four shards through GNU
# parallel, merged in order, are the single-machine file byte for byte.
sharded() { # sharded WHOLE-FILE SWEEP...
  command -v parallel >/dev/null || fail "no GNU parallel: run scripts/deps.sh test"
  parallel --will-cite "$BATCH" "${@:2}" --shard {}/4 --threads 1 -o "$WORK/shard-{}.csv" ::: 1 2 3 4 ||
    fail "$2 in shards through parallel ended with $?"
  sort -m -s -t, -k1,1g "$WORK"/shard-[1-4].csv | cmp -s - "$1" ||
    fail "the shards of $2 do not merge into the whole sweep"
}
sharded "$WORK/all.csv" $sweep

# Chaos that passes close by a saddle is measured, not taken for rounding: at rho
# 94.38596 the twin shrinks 2700-fold in a time unit by the origin (lambda1 = 1.662
# by --spectrum); none of 400 values of rho from 20 to 300 is refused, whereas a twin
# sunk into a stable point is (unit tests). Under the sanitizers, where the 400 take
# minutes and add no code path, 40 of them.
printf '[lorenz]\nro = 94.38596\n' >"$WORK/r94.toml"
"$BATCH" lyapunov -s "$WORK/r94.toml" | grep -q "^lambda1 = 1\.66" || fail "rho 94.38596 gives no lambda1 of 1.66"
"$BATCH" lyapunov --sweep ro --from 20 --to 300 --values "${CLI_RHO_VALUES:-400}" -o "$WORK/ro.csv" 2>"$WORK/ro.err" ||
  fail "lyapunov --sweep ro ended with $?"
[ ! -s "$WORK/ro.err" ] && [ "$(grep -c ',,' "$WORK/ro.csv")" -eq 0 ] ||
  fail "values of rho refused: $(head -3 "$WORK/ro.err")"

# Lyapunov's largest exponent along c (a = b = 0.2): zero on the periodic orbits at
# 2.5 and 3.5, positive in the chaos of 5.7; its shards too merge into the whole file.
lsweep="lyapunov -s $WORK/r.toml --sweep c --from 2.5 --to 5.7 --values 33 --time 2000"
"$BATCH" $lsweep -o "$WORK/l.csv" --svg "$WORK/l.svg" || fail "lyapunov --sweep ended with $?"
has_texts "$WORK/l.svg" 3 5 c lambda1
sharded "$WORK/l.csv" $lsweep
awk -F, '$1 == 2.5 || $1 == 3.5 { bad += $2 < -0.005 || $2 > 0.005; n++ }
  $1 == 5.7 { bad += $2 < 0.05 || $2 > 0.09; n++ } END { exit bad || n != 3 }' "$WORK/l.csv" ||
  fail "lambda1 along c: $(grep -E '^(2.5|3.5|5.7),' "$WORK/l.csv")"

# [SAYS=REGEX] refused STATUS RUN...: tresolva-batch given each RUN as its arguments ends
# with STATUS and one short line on stderr (that REGEX matches), and writes nothing.
# Only builtins run beside it, so that a caller may take PATH away.
to=$WORK/out
refused() {
  local run got said
  for run in "${@:2}"; do
    eval "\"\$BATCH\" $run" </dev/null >/dev/null 2>"$WORK/err"
    got=$? && mapfile -t said <"$WORK/err"
    [ $got -eq "$1" ] && [ ${#said[@]} -eq 1 ] && [ ${#said} -lt 300 ] ||
      fail "$run: status $got, not $1; said ${said[*]}"
    [[ ${said[*]} =~ ${SAYS-} ]] || fail "$run: said ${said[*]}, not $SAYS"
    ! compgen -G "$to*" >/dev/null && ! compgen -G "$WORK/.part-*" >/dev/null ||
      fail "$run: a file was written"
  done
}
# Settings that cannot be read, or that hold what cannot be.
printf 'tmin = 300.0\ntmax = 200.0\n' >"$WORK/window.toml"
refused 2 "export -s $WORK/none.toml -o $to.csv" "export -s $WORK -o $to.csv" "export -s /dev/null -o $to.csv"
SAYS="tmin \(300\) must be below tmax \(200\)" refused 2 "export -s $WORK/window.toml -o $to.csv"
mkfifo "$WORK/fifo" && SAYS="not a settings file but a FIFO" refused 2 "export -s $WORK/fifo -o $to.csv"
SAYS="a video is written to a file" refused 2 "animate -n 2 --video $WORK/fifo"
SAYS="draw: no such subcommand" refused 2 "draw -o $to.csv"
# Pictures that cannot be drawn, options that would do nothing, a name no file has.
printf 'playback = "static"\n' >"$WORK/static.toml"
refused 2 "render -o $to.csv" "render --samples 4 -o $to.svg" "render --size 8193x10 -o $to.png" \
  "render -s $WORK/static.toml --frame 5 -o $to.png" "animate -s $WORK/static.toml -o $to" \
  "animate -n 2 --fps 10 -o $to" "export -o ''"
PATH=/nonexistent refused 2 "animate --video $to.mp4" # no ffmpeg
# Sweeps and runs that cannot be, outputs that overwrite each other, options for nothing.
ro="bifurcation --param ro -o $to.csv" two="lyapunov --sweep ro --from 20 --to 30 --values 2 -o $to.csv"
refused 2 "bifurcation --param rho --from 20 --to 30 -o $to.csv" "$ro --from 30 --to 20" "$ro --from 30 --to 30" \
  "$ro --from 20 --to 30 --values 0" "$ro --from 20 --to 30 --transient 1000" "$ro --from 20 --to 30 --time 1e19" \
  "$sweep -o $to.csv --png $to.svg" "$sweep -o $to.png --png $WORK/../${WORK##*/}/out.png" "$two --size 9x" \
  "lyapunov --time 1e19" "lyapunov --repeat 2 --trace $to.csv" "lyapunov --d0 0" "lyapunov --d0 nan" \
  "lyapunov --png $to.png" "lyapunov --threads -4"
lengthy=$(printf '%100000s' | tr ' ' k)
SAYS="k…" refused 2 "lyapunov --simd $lengthy" "$lengthy" "lyapunov --time $lengthy"
# Failures: more samples than GL draws, no GL, missing folders, a disk that fills up
# (files may not pass 1 KiB, and with SIGXFSZ ignored the write fails), no PNG driver.
refused 1 "render --samples 64 -o $to.png" "export -o $WORK/none/out.csv" \
  "$sweep -o $to.csv --png $WORK/none/x.png"
__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent refused 1 "render -o $to.png"
(ulimit -f 1 && trap '' XFSZ && refused 1 "export -o $to.csv") || exit 1
mkdir "$WORK/drivers" && ln -s "$(pkg-config --variable=drvdir plplot)"/{mem,svg,pdf}.* "$WORK/drivers"
PLPLOT_DRV_DIR="$WORK/drivers" SAYS="install plplot-driver-cairo" refused 1 "$sweep -o $to.csv --png $to.png"
# A failed write to standard output is said, and ends with status 1; a
# device named as the output is written, not replaced.
if [ -c /dev/full ]; then
  for run in settings --version --help "lyapunov --time 50" "lyapunov --time 50 --json" "export -o -"; do
    $BATCH $run >/dev/full 2>"$WORK/err" && fail "$run to a full disk ended with status 0"
    grep -q "cannot write standard output: No space left" "$WORK/err" || fail "$run: $(cat "$WORK/err")"
  done
  "$BATCH" export -o /dev/full 2>/dev/null && fail "writing to /dev/full was not noticed"
  [ -c /dev/full ] || fail "/dev/full was replaced"
fi
# A run that leaves the finite numbers gives no result, and says when it left them.
printf 'dt = 0.5\n' >"$WORK/coarse.toml"
printf '[start]\nx = 1e308\n' >"$WORK/huge.toml"
SAYS="the run diverged at t = [0-9.]* .*: use a smaller dt" refused 1 "export -s $WORK/huge.toml -o $to.csv" \
  "export --maxima -s $WORK/coarse.toml -o $to.csv" "render -s $WORK/coarse.toml -o $to.png" \
  "render -s $WORK/coarse.toml --frame 3 -o $to.svg" "animate -s $WORK/coarse.toml -n 3 -o $to"
# A sweep skips the values whose runs diverge, each with its line.
printf 'dt = 0.05\n' >"$WORK/dt05.toml"
for simd in on off; do
  "$BATCH" bifurcation -s "$WORK/dt05.toml" --param ro --from 25 --to 300 --values 12 --simd $simd \
    -o "$WORK/coarse-$simd.csv" 2>"$WORK/err" || fail "a sweep with diverging values ended with $?"
  [ "$(grep -c "^tresolva-batch: at ro = [0-9]*: the run diverged at t = 0\.[0-9]* " "$WORK/err")" -eq 8 ] &&
    awk -F, 'NR > 1 && $1 >= 125 { exit 1 }' "$WORK/coarse-$simd.csv" ||
    fail "--simd $simd: diverging values not skipped with a line each: $(cat "$WORK/err")"
done
cmp -s "$WORK/coarse-on.csv" "$WORK/coarse-off.csv" || fail "the sweep's lanes skip other values"

# ---- Whole or not at all, on a real full disk (a 12 KiB tmpfs), and
# after a signal: status 1 or the signal's, our one line naming the file.
mkdir "$WORK/full"
if mount -t tmpfs -o size=12k tmpfs "$WORK/full" 2>/dev/null; then
  trap 'umount "$WORK/full"; rm -rf "$WORK"' EXIT
  for run in "animate -n 20 --size 320x240 --video $WORK/full/v.mp4" "export -o $WORK/full/x.csv" \
    "animate -n 20 --size 160x100 -o $WORK/full/f" "render -o $WORK/full/r.png" \
    "$diagram --svg $WORK/full/d.svg" "$diagram --png $WORK/full/d.png"; do
    $BATCH $run 2>"$WORK/err" && fail "$run on a full disk ended with status 0"
    grep -q "$WORK/full/.*: No space left" "$WORK/err" || fail "$run: $(cat "$WORK/err")"
    [ -z "$(ls -A "$WORK/full")" ] || fail "$run left $(ls -A "$WORK/full") on the full disk"
  done
else
  echo "SKIP: the full-disk checks need to mount a tmpfs (run as root)"
fi
# A signal ends a run as it ends a program, and leaves no file: SIGTERM a run
# that is writing its frames; SIGINT, within 2 s, every long computation once it
# has used 0.3 s of processor time (runs take seconds to hours).
writing() { compgen -G "$WORK/.part-*" >/dev/null; }
busy() { [ "$(awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0)" -ge 30 ]; }
printf 'playback = "static"\ntmin = 0.0\ntmax = 5000.0\ndt = 0.0001\n' >"$WORK/slow.toml"
ro400="--from 25 --to 300 --values 400 --time 100000"
for run in "TERM animate -n 2000 --video $WORK/sig.mp4" "TERM animate -n 2000 --size 160x100 -o $WORK/sig" \
  "INT lyapunov --time 1000000" "INT lyapunov --spectrum --time 300000" "INT lyapunov --repeat 100 --time 100000" \
  "INT lyapunov --repeat 100 --time 100000 --simd off" "INT render -s $WORK/slow.toml -o $WORK/sig.png" \
  "INT render -s $WORK/slow.toml -o $WORK/sig.svg" "INT export --maxima -s $WORK/slow.toml -o $WORK/sig.csv" \
  "INT bifurcation --param ro $ro400 -o $WORK/sig.csv --svg $WORK/sig.svg" \
  "INT bifurcation --param ro $ro400 --simd off -o $WORK/sig.csv" \
  "INT lyapunov --sweep ro $ro400 -o $WORK/sig.csv --png $WORK/sig.png"; do
  sig=${run%% *} run=${run#* }
  $BATCH $run >/dev/null 2>&1 &
  for _ in $(seq 1200); do if [ $sig = TERM ]; then writing; else busy $!; fi && break; sleep 0.05; done
  [ $sig = INT ] || writing || fail "$run never began writing"
  began=$(date +%s%N)
  kill -$sig $! && wait $!
  status=$? took=$((($(date +%s%N) - began) / 1000000))
  [ $status -eq $((128 + $(kill -l $sig))) ] && { [ $sig = TERM ] || [ $took -lt 2000 ]; } ||
    fail "$run: status $status, $took ms after SIG$sig"
  ! compgen -G "$WORK/sig*" >/dev/null && ! writing || fail "$run ended by SIG$sig left $(ls -A "$WORK")"
done
# Two runs writing one name: each writes its own file beside it, and the
# name ends up holding one of them whole.
printf 'playback = "static"\ntmin = 0.0\ntmax = 1000.0\n' >"$WORK/s28.toml"
printf '[lorenz]\nro = 60.0\n' | cat "$WORK/s28.toml" - >"$WORK/s60.toml"
"$BATCH" export -s "$WORK/s28.toml" -o "$WORK/same.csv" & first=$!
"$BATCH" export -s "$WORK/s60.toml" -o "$WORK/same.csv" || fail "the second of two exports to one name"
wait $first || fail "the first of two exports to one name"
"$BATCH" export -s "$WORK/s28.toml" -o "$WORK/s28.csv" && "$BATCH" export -s "$WORK/s60.toml" -o "$WORK/s60.csv"
cmp -s "$WORK/same.csv" "$WORK/s28.csv" || cmp -s "$WORK/same.csv" "$WORK/s60.csv" ||
  fail "two exports to one name mixed their rows"

# ---- Where the output goes, what it holds, and what a person sees meanwhile.
printf 'tmin = 0.0\ntmax = 10000.0\nplayback = "static"\n' >"$WORK/long.toml"
kib=$(/usr/bin/time -f %M "$BATCH" export -s "$WORK/long.toml" -o /dev/null 2>&1 >/dev/null)
[ "$kib" -lt 102400 ] || fail "an export of 2e6 steps took $kib KiB"
# Progress where a person watches, nothing where no one does.
long="$BATCH bifurcation -s $WORK/r.toml --param c --from 2 --to 6 --values 300 --time 60 --transient 20"
script -qec "$long -o $WORK/p.csv" /dev/null | grep -q "value 300 of 300, about 0 s left" ||
  fail "no progress on a terminal"
[ -z "$($long -o "$WORK/p.csv" 2>&1)" ] || fail "progress without a terminal"
