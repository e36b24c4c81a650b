#!/usr/bin/env bash
# The local pack server: nginx on 127.0.0.1 serving <folder>/server, the nine packs under
# /skinvault/. Usage: pack-server.sh start <folder> <port> | stop <folder>
set -euo pipefail
command=$1 folder=$(cd "$2" && pwd)
state=$folder/nginx
case $command in
  start)
    port=$3
    mkdir -p "$state"
    cat >"$state/nginx.conf" <<CONF
daemon on;
pid $state/nginx.pid;
error_log $state/error.log;
$( [ "$(id -u)" = 0 ] && echo "user root;" )
events {}
http {
  access_log $state/access.log;
  client_body_temp_path $state/body;
  proxy_temp_path $state/proxy;
  fastcgi_temp_path $state/fastcgi;
  uwsgi_temp_path $state/uwsgi;
  scgi_temp_path $state/scgi;
  types { application/zip zip; }
  server {
    listen 127.0.0.1:$port;
    root $folder/server;
  }
}
CONF
    nginx -c "$state/nginx.conf" -p "$state" -e "$state/error.log"
    ;;
  stop)
    [ -f "$state/nginx.pid" ] && kill "$(cat "$state/nginx.pid")" 2>/dev/null || true
    ;;
esac
