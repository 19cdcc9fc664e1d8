# Sourced: starts a private X server for the message boxes unless DISPLAY is
# already usable, and defines tandrel_stop_xvfb.
TANDREL_XVFB_PID=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    for n in $(seq 91 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        TANDREL_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
        break
    done
fi
tandrel_stop_xvfb() {
    if [ -n "$TANDREL_XVFB_PID" ]; then kill "$TANDREL_XVFB_PID" 2>/dev/null || true; fi
}
