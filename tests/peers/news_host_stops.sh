#!/usr/bin/env bash
# The news host that scripts/run starts stops with the pid it was started under: a news host that
# went on as a daemon would keep its port, and the next run would find a stale host there.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d /tmp/qv-news-check-XXXXXX)
trap 'rm -rf "$dir"' EXIT
# Below the ephemeral range (32768 up), where the other tests' servers and clients take their ports,
# and clear of the fixed ports scripts/run uses (213xx).
port=$((22000 + $$ % 10000))
listening() { (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; }

"$root/scripts/news-host" "$dir" "$port" &
host=$!
# nginx writes its pid file once its port is bound; bounded, so a host that never starts fails.
for _ in $(seq 200); do
    [[ -s $dir/nginx.pid ]] && break
    kill -0 "$host" 2>/dev/null || { echo "news host exited"; cat "$dir/logs/error.log"; exit 1; }
    sleep 0.05
done
listening || { echo "news host does not listen on $port"; exit 1; }
served=$(cat "$dir/nginx.pid")
kill "$host" 2>/dev/null || true
wait "$host" 2>/dev/null || true
if kill -0 "$served" 2>/dev/null || listening; then
    kill "$served" 2>/dev/null || true
    echo "news host outlived its pid $host (still running as $served)"
    exit 1
fi
echo "news host stopped with its pid"
