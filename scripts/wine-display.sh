# Sourced by wine-run.sh where there is no display: gives the prefix ($WINEPREFIX) one Xvfb
# that every program of that prefix shares, since programs of one prefix on two displays do
# not work together (a CTest run by hand starts several such programs at once).
# Sets DISPLAY and keeps fd 7 open: a shared lock, held by the caller and whatever it execs,
# that tells the display's keeper it is in use. When the last user is gone and the prefix's
# wineserver has ended, the keeper stops the Xvfb.
kq_display_file="$WINEPREFIX.display"
exec 8>"$WINEPREFIX.display.lock"
flock 8                                 # one starter at a time
exec 7>"$WINEPREFIX.display.users"
flock -s 7                              # waits while a keeper is stopping an old display
kq_display=""
if [ -s "$kq_display_file" ]; then
  read -r kq_pid kq_display <"$kq_display_file"
  kill -0 "$kq_pid" 2>/dev/null || kq_display=""
fi
if [ -z "$kq_display" ]; then
  kq_fd_file=$(mktemp)
  Xvfb -displayfd 6 -screen 0 1024x768x24 -nolisten tcp 6>"$kq_fd_file" 7>&- 8>&- \
    >/dev/null 2>&1 &
  kq_pid=$!
  for _ in $(seq 100); do
    [ -s "$kq_fd_file" ] && break
    sleep 0.05
  done
  kq_display=$(head -n1 "$kq_fd_file")
  rm -f "$kq_fd_file"
  if [ -z "$kq_display" ]; then
    echo "wine-run: Xvfb did not start" >&2
    exit 1
  fi
  echo "$kq_pid $kq_display" >"$kq_display_file"
  # The keeper: once no user holds the shared lock, it waits for the prefix's wineserver to
  # end (its programs may outlive the users), then stops the Xvfb. Users that come meanwhile
  # wait at their shared lock and start a new display afterwards.
  (
    exec 7>&- 8>&-
    flock -x "$WINEPREFIX.display.users" sh -c \
      'wineserver -w; kill "$1" 2>/dev/null; rm -f "$2"' _ "$kq_pid" "$kq_display_file"
  ) >/dev/null 2>&1 &
fi
export DISPLAY=":$kq_display"
flock -u 8
exec 8>&-
unset kq_display_file kq_display kq_pid kq_fd_file
