#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what it holds: the files, the
# desktop entry, the AppStream data, the declared dependencies, and that the program
# unpacked from it answers --version and --help and finds its report definitions.
# Usage: check_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FALLO: $*" >&2
  exit 1
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"
  fail "cpack no ha hecho el paquete"
}
shopt -s nullglob
debs=("$work"/out/torvane_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "se esperaba un torvane_${version}_ARQ.deb en $(ls "$work/out")"
deb=${debs[0]}

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
expect_file() { grep -qxF "./$1" <<<"$contents" || fail "el paquete no lleva /$1"; }
expect_file usr/bin/torvane
expect_file usr/share/torvane/Nueva
expect_file usr/share/applications/es.torvane.Torvane.desktop
expect_file usr/share/metainfo/es.torvane.Torvane.metainfo.xml
for r in "$source_dir"/reports/*.rpt; do expect_file "usr/share/torvane/$(basename "$r")"; done
for s in 16 22 24 32 48 64 128 256; do expect_file "usr/share/icons/hicolor/${s}x${s}/apps/torvane.png"; done
outside=$(grep -v -e '^\./$' -e '^\./usr/$' -e '^\./usr/' <<<"$contents" || true)
[ -z "$outside" ] || fail "ficheros fuera de /usr: $outside"

dpkg-deb -x "$deb" "$work/root"
root=$work/root
desktop-file-validate "$root/usr/share/applications/es.torvane.Torvane.desktop" ||
  fail "la entrada de escritorio no es válida"
grep -qx 'Exec=torvane' "$root/usr/share/applications/es.torvane.Torvane.desktop" ||
  fail "la entrada de escritorio no arranca torvane"
appstreamcli validate --no-net "$root/usr/share/metainfo/es.torvane.Torvane.metainfo.xml" ||
  fail "los datos AppStream no son válidos"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/es.torvane.Torvane.metainfo.xml" ||
  fail "los datos AppStream no llevan la versión $version"
for s in 16 48 256; do
  file "$root/usr/share/icons/hicolor/${s}x${s}/apps/torvane.png" | grep -q "PNG image data, $s x $s" ||
    fail "el icono de ${s}x${s} no es un PNG de ese tamaño"
done

[ "$(dpkg-deb -f "$deb" Package)" = torvane ] || fail "nombre del paquete"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "versión del paquete"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6printsupport6 libqt6sql6 libqt6sql6-sqlite qt6-qpa-plugins \
  libxlsxwriter libsqlite3-0 fonts-dejavu-core libc6; do
  grep -qE "(^|, )$d[0-9]*( |,|$)" <<<"$depends" || fail "falta la dependencia $d en: $depends"
done

# The unpacked program, as installed: its files under share/torvane, settings in the
# user's data folder.
export XDG_DATA_HOME=$work/datos QT_QPA_PLATFORM=offscreen
exe=$root/usr/bin/torvane
"$exe" --version | grep -qx "torvane $version" || fail "torvane --version"
help=$("$exe" --help)
for w in "torvane report" "torvane import" "--csv" "--xlsx" "--home" "--version"; do
  grep -qF -- "$w" <<<"$help" || fail "torvane --help no menciona «$w»"
done
cp "$root/usr/share/torvane/Nueva" "$work/taller.erm"
chmod u+w "$work/taller.erm"
"$exe" report QARVOCLIENTES2.rpt --db "$work/taller.erm" --csv "$work/clientes.csv" ||
  fail "el programa instalado no encuentra su informe"
head -c 3 "$work/clientes.csv" | od -An -tx1 | grep -q "ef bb bf" || fail "CSV sin BOM"
[ -d "$XDG_DATA_HOME/Torvane" ] || fail "no se ha creado la carpeta de datos del usuario"
echo "Paquete correcto: $(basename "$deb")"
