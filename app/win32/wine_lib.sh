# Shell functions the wine window scripts share, sourced in their X session.

# The Unix path as wine names it: Z:\...
winpath() { echo "$1" | sed "s|^|Z:|; s|/|\\\\|g"; }

# start_window WINE EXE HOME: starts EXE with the Unix folder HOME as its home
# folder and waits for its window; sets $win and $pid, or fails.
start_window() {
  # Wine sets the home folder variables of its first process from its own
  # profile: cmd passes ours on to the program.
  home_path=$(winpath "$3" | cut -c3-)
  "$1" cmd /c "set HOMEDRIVE=Z:&& set HOMEPATH=$home_path&& $(winpath "$2")" &
  pid=$!
  win=""
  for _ in $(seq 1 100); do
    win=$(xdotool search --name "v1\.0" 2>/dev/null | head -1) || true
    [ -n "$win" ] && return 0
    sleep 0.2
  done
  echo "FAIL: no window"
  exit 1
}

# dpi_restore WINE: prints the command that puts the prefix's dots per inch
# (HKCU\Control Panel\Desktop, LogPixels) back as they are now.
dpi_restore() {
  desktop="HKCU\\Control Panel\\Desktop"
  # reg prints the value as hexadecimal: "LogPixels REG_DWORD 0x60".
  old=$("$1" reg query "$desktop" /v LogPixels 2>/dev/null | tr -d "\r" |
    sed -n "s/.*LogPixels *REG_DWORD *0x\([0-9a-fA-F]*\).*/\1/p")
  if [ -n "$old" ]; then
    echo "\"$1\" reg add \"$desktop\" /v LogPixels /t REG_DWORD /d $((0x$old)) /f"
  else
    echo "\"$1\" reg delete \"$desktop\" /v LogPixels /f"
  fi
}

# start_shared_server WINE WINESERVER: ends the server that runs and starts
# the one the tests without a display share, persistent, with its system
# programs (services, the desktop process) started here, without a display
# and writing nowhere: started by a test, they would hold its output open.
start_shared_server() {
  "$2" -k 2>/dev/null || true
  "$2" -p </dev/null >/dev/null 2>&1
  env -u DISPLAY -u WAYLAND_DISPLAY "$1" wineboot </dev/null >/dev/null 2>&1
}

# own_server WINESERVER: the shared server runs without a display, where no
# window can show: ends it, and starts one for this X session that lasts
# until it is left idle for 30 s. Sets $shared_server to 1 when there was a
# shared one.
own_server() {
  shared_server=0
  "$1" -k 2>/dev/null && shared_server=1
  "$1" -p30 </dev/null >/dev/null 2>&1 || true
}

# end_own_server WINE WINESERVER: ends this session's server (one left
# running with its display gone makes the next wine start wait for good) and
# starts the shared one again when there was one.
end_own_server() {
  "$2" -k 2>/dev/null || true
  [ "$shared_server" = 0 ] || start_shared_server "$1" "$2"
}
