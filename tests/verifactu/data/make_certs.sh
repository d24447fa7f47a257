#!/usr/bin/env bash
# Makes the test certificates of the sending tests (run once; the files are kept in the
# repository). Two authorities: the one the tests trust, and another one for the case of a
# server the program must not trust. Valid for a hundred years.
set -euo pipefail
cd "$(dirname "$0")"
days=36500
ext() { printf '%s\n' "$@" >"$tmp"; }
tmp=$(mktemp)
trap 'rm -f "$tmp" *.csr *.srl' EXIT

openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days $days \
  -subj "/O=Torvane pruebas/CN=Torvane CA de pruebas"
openssl req -x509 -newkey rsa:2048 -nodes -keyout otra-ca.key -out otra-ca.pem -days $days \
  -subj "/O=Otra entidad/CN=CA no reconocida"

ext "subjectAltName=DNS:localhost,IP:127.0.0.1" "extendedKeyUsage=serverAuth"
for who in servidor:ca otro-servidor:otra-ca; do
  name=${who%%:*}; ca=${who##*:}
  openssl req -newkey rsa:2048 -nodes -keyout "$name.key" -out "$name.csr" -subj "/CN=localhost"
  openssl x509 -req -in "$name.csr" -CA "$ca.pem" -CAkey "$ca.key" -CAcreateserial \
    -out "$name.pem" -days $days -extfile "$tmp"
done

ext "extendedKeyUsage=clientAuth"
openssl req -newkey rsa:2048 -nodes -keyout cliente.key -out cliente.csr \
  -subj "/O=TALLERES TORVANE S.L./CN=B12345678"
openssl x509 -req -in cliente.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out cliente.pem \
  -days $days -extfile "$tmp"
openssl pkcs12 -export -inkey cliente.key -in cliente.pem -certfile ca.pem \
  -passout pass:taller -out cliente.p12
rm -f cliente.key cliente.pem ca.key otra-ca.key
