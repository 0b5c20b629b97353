# Sourced by the scripts: one Wine prefix under build/, a Japanese locale,
# quiet Wine, and a virtual X display when there is no real one.
VEL_ROOT=${VEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$VEL_ROOT/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko prompts, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
# LANG alone can leave GetACP() at 1252; LC_ALL makes it 932.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

VEL_XVFB_PID=

vel_display_up() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    VEL_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$VEL_XVFB_PID" 2>/dev/null || true
    VEL_XVFB_PID=
  done
  echo "wine: could not start a virtual X display" >&2
  return 1
}

# Font substitutes for the program's face names; unmanaged X windows, since
# with no window manager Wine would wait 2 s for every hide to be confirmed.
vel_prefix_configure() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  local pair
  for pair in "ＭＳ Ｐゴシック=IPAPGothic" "ＭＳ ゴシック=IPAGothic" "ＭＳ 明朝=IPAMincho" \
              "ＭＳ Ｐ明朝=IPAPMincho" "MS PGothic=IPAPGothic" "MS Gothic=IPAGothic" \
              "MS UI Gothic=IPAPGothic" "FixedSys=IPAGothic"; do
    wine reg add "$key" /v "${pair%%=*}" /d "${pair#*=}" /f </dev/null >/dev/null 2>&1
  done
}

vel_prefix_up() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  local version=2
  if [ "$(cat "$WINEPREFIX/.velmorind-ready" 2>/dev/null)" != "$version" ]; then
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    vel_prefix_configure
    wineserver -w </dev/null >/dev/null 2>&1 || true
    echo "$version" >"$WINEPREFIX/.velmorind-ready"
  fi
  # Wine's background services inherit the first process's streams: start the
  # server with all three redirected so that no pipe waits for them.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

vel_wine_down() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -n "$VEL_XVFB_PID" ]; then
    kill "$VEL_XVFB_PID" 2>/dev/null || true
    wait "$VEL_XVFB_PID" 2>/dev/null || true
    VEL_XVFB_PID=
  fi
}
