#!/usr/bin/env bash
# Runs a command with two HTTP servers on 127.0.0.1 for the self-update tests, and stops them after:
#   nginx, serving a folder as real servers do (sizes, ranges, 404), its access log counting the bytes
#   of every answer;
#   tools/update-test-server.py, serving the same folder with injected faults.
# The command learns where they are from the environment:
#   TOLVANE_TEST_SERVER_ROOT  folder both servers serve (the test writes its packages there)
#   TOLVANE_TEST_NGINX_PORT   TOLVANE_TEST_NGINX_LOG  lines "METHOD URI "RANGE" STATUS BODYBYTES"
#   TOLVANE_TEST_FAULT_PORT   TOLVANE_TEST_FAULT_LOG  lines "METHOD PATH RANGE STATUS BODYBYTES"
# A web site can be served in place of the bare folder (tools/with-demo-portal.sh does so):
#   TOLVANE_SERVER_SITE   folder whose main/ is copied into the served folder, whose nginx-main.conf is
#                         included in nginx's server block and whose nginx-http.conf (further servers)
#                         at its http level
#   TOLVANE_SERVER_PORT   fixed port for nginx instead of a free one; waits while another run holds it
# Usage: with-update-servers.sh COMMAND [ARGUMENTS...]; the exit status is the command's.
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-update-servers.XXXXXX")
chmod 755 "$work"
nginx_pid=
fault_pid=

stop_servers() {
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  [ -n "$fault_pid" ] && kill "$fault_pid" 2>/dev/null && wait "$fault_pid" 2>/dev/null
  rm -rf "$work"
}
trap stop_servers EXIT

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

port_taken() {
  python3 -c 'import socket, sys
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)  # as nginx does: closed connections do not count
s.bind(("127.0.0.1", int(sys.argv[1])))' "$1" 2>/dev/null && return 1
  return 0
}

mkdir -p "$work/www" "$work/temp"
site="${TOLVANE_SERVER_SITE:-}"
site_main=""
site_http=""
if [ -n "$site" ]; then
  [ -d "$site/main" ] && cp -r "$site/main/." "$work/www/"
  [ -f "$site/nginx-main.conf" ] && site_main="include $site/nginx-main.conf;"
  [ -f "$site/nginx-http.conf" ] && site_http="include $site/nginx-http.conf;"
fi
if [ -n "${TOLVANE_SERVER_PORT:-}" ]; then
  nginx_port=$TOLVANE_SERVER_PORT
  for i in $(seq 600); do
    port_taken "$nginx_port" || break
    [ "$i" = 1 ] && echo "with-update-servers: port $nginx_port is taken; waiting for it" >&2
    sleep 1
  done
else
  nginx_port=$(free_port)
fi
cat >"$work/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 64; }
http {
  log_format transfers '\$request_method \$request_uri "\$http_range" \$status \$body_bytes_sent';
  access_log $work/nginx-access.log transfers;
  client_body_temp_path $work/temp/body;
  proxy_temp_path $work/temp/proxy;
  fastcgi_temp_path $work/temp/fastcgi;
  uwsgi_temp_path $work/temp/uwsgi;
  scgi_temp_path $work/temp/scgi;
  default_type application/octet-stream;
  sendfile on;
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/www;
    $site_main
  }
  $site_http
}
CONF
nginx -p "$work" -e "$work/nginx-error.log" -c "$work/nginx.conf" &
nginx_pid=$!
python3 "$here/update-test-server.py" --root "$work/www" --log "$work/fault.log" --port-file "$work/fault.port" &
fault_pid=$!

for _ in $(seq 100); do
  if [ -f "$work/fault.port" ] && curl -s -o /dev/null "http://127.0.0.1:$nginx_port/"; then
    break
  fi
  sleep 0.1
done
if [ ! -f "$work/fault.port" ]; then
  echo "with-update-servers: the servers did not start" >&2
  cat "$work/nginx-error.log" >&2 2>/dev/null
  exit 1
fi
touch "$work/nginx-access.log" "$work/fault.log"

export TOLVANE_TEST_SERVER_ROOT="$work/www"
export TOLVANE_TEST_NGINX_PORT="$nginx_port"
export TOLVANE_TEST_NGINX_LOG="$work/nginx-access.log"
export TOLVANE_TEST_FAULT_PORT="$(cat "$work/fault.port")"
export TOLVANE_TEST_FAULT_LOG="$work/fault.log"
"$@"
exit $?
