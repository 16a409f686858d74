#!/usr/bin/env bash
# Times `qilo-cli fetch` against curl on the same local server, for a 64 MiB
# body framed by Content-Length, by chunked coding and by the server's close:
# the two clients take turns, and each framing gives a row of the bench table
# (bench/table.sh) with the medians. A failed run fails the benchmark.
# Usage: bench/fetch_bench.sh [path/to/qilo-cli] [runs]   (default: build-release/qilo-cli, 7)
# The server listens on 127.0.0.1 only and stops with the script.
set -euo pipefail
cd "$(dirname "$0")/.."
CLI=${1:-build-release/qilo-cli}
RUNS=${2:-7}
[ -x "$CLI" ] || { echo "no qilo-cli at $CLI (cmake --preset release && cmake --build --preset release --target qilo-cli)" >&2; exit 1; }
command -v curl >/dev/null || { echo "curl is missing (apt-get install -y curl)" >&2; exit 1; }

PORT_FILE=$(mktemp)
python3 - "$PORT_FILE" <<'EOF' &
import socket, sys, threading

SIZE = 64 * 1024 * 1024
body = bytes(i % 251 for i in range(251)) * (SIZE // 251) + b"x" * (SIZE % 251)
piece = 64 * 1024
chunked = b"".join(b"%x\r\n" % len(body[i:i + piece]) + body[i:i + piece] + b"\r\n"
                   for i in range(0, SIZE, piece)) + b"0\r\n\r\n"
answers = {
    b"/length": b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n" % SIZE + body,
    b"/chunked": b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunked,
    b"/close": b"HTTP/1.0 200 OK\r\n\r\n" + body,
}

def serve(conn):
    with conn:
        head = b""
        while b"\r\n\r\n" not in head:
            data = conn.recv(4096)
            if not data:
                return
            head += data
        path = head.split(b" ")[1]
        conn.sendall(answers.get(path, b"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"))
        if path != b"/close":
            conn.settimeout(10)
            try:
                while conn.recv(4096):
                    pass
            except OSError:
                pass

listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", 0))
listener.listen(16)
listener.settimeout(600)  # the server ends by itself when nobody comes
with open(sys.argv[1], "w") as f:
    f.write(str(listener.getsockname()[1]))
while True:
    try:
        conn, _ = listener.accept()
    except OSError:
        break
    threading.Thread(target=serve, args=(conn,), daemon=True).start()
EOF
SERVER=$!
trap 'kill $SERVER 2>/dev/null; rm -f "$PORT_FILE"' EXIT
for _ in $(seq 100); do [ -s "$PORT_FILE" ] && break; sleep 0.1; done
PORT=$(cat "$PORT_FILE")

# Milliseconds of one run of a command, output dropped; a run that fails
# fails the benchmark rather than pass for a fast one.
run_ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null || { echo "fetch_bench: failed: $*" >&2; return 1; }
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Both clients must see the same 64 MiB before anything is timed.
for path in length chunked close; do
  a=$("$CLI" fetch "http://127.0.0.1:$PORT/$path" | md5sum) || exit 1
  b=$(curl -sf "http://127.0.0.1:$PORT/$path" | md5sum) || exit 1
  [ "$a" = "$b" ] || { echo "bodies differ for /$path" >&2; exit 1; }
done

# Rows of the bench table (bench/table.sh): medians and Qilo's spread.
for path in length chunked close; do
  url="http://127.0.0.1:$PORT/$path"
  qs="" cs=""
  for _ in $(seq "$RUNS"); do
    q=$(run_ms "$CLI" fetch "$url") || exit 1
    c=$(run_ms curl -sf -o /dev/null "$url") || exit 1
    qs+="$q"$'\n' cs+="$c"$'\n'
  done
  q=$(printf '%s' "$qs" | median)
  c=$(printf '%s' "$cs" | median)
  spread=$(printf '%s' "$qs" | sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.1f|%.1f", lo, hi }')
  printf 'ROW|fetch of 64 MiB over loopback, %s|%.1f|%.1f|ms|1.0|%s|curl\n' \
    "$path" "$q" "$c" "$spread"
done
