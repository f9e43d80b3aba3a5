#!/usr/bin/env bash
# Installs the Debian package into a fresh root with dpkg and runs the installed programs there.
#   install-test.sh FILE.deb       the package ./ztgl.sh package made
#   install-test.sh --build DIR    a package made now from the build folder DIR (cpack)
# Exit 0 passed, 1 failed, 77 skipped (no dpkg here, or no cpack and file for --build).
set -euo pipefail

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }
for tool in dpkg dpkg-deb; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"  # another user runs the installed program below

if [[ ${1-} == --build ]]; then
    command -v cpack >/dev/null && command -v file >/dev/null || skip "cpack or file is not installed"
    cpack --config "$2/CPackConfig.cmake" -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
    deb=$(echo "$work"/cpack/ztgl_*.deb)
else
    deb=$1
fi
[[ -f $deb ]] || fail "no package: $deb"

# What the programs need and do not link: every one of them is declared.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6sql6-odbc tdsodbc libmdb3 \
    fonts-noto-cjk fonts-wqy-zenhei qt6-translations-l10n; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

# A fresh root holds nothing but dpkg's database: the package alone is installed into it.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-not-root --force-depends --log=/dev/null -i "$deb" >"$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log" >&2; fail "dpkg could not install the package"; }
dpkg --root="$root" -s ztgl | grep -qx 'Status: install ok installed' || fail "dpkg does not list ztgl as installed"

home=/opt/ztgl
for file in "$home/ztgl" "$home/ztgl-admin" /usr/share/applications/cn.zavrin.ztgl.desktop \
    /usr/share/icons/hicolor/scalable/apps/cn.zavrin.ztgl.svg /usr/share/icons/hicolor/48x48/apps/cn.zavrin.ztgl.png \
    /usr/share/metainfo/cn.zavrin.ztgl.metainfo.xml /usr/share/bash-completion/completions/ztgl-admin \
    /usr/share/doc/ztgl/copyright /usr/share/doc/ztgl/changelog.Debian.gz; do
    [[ -f $root$file ]] || fail "not installed: $file"
done
# The Jet file reader is there for the programs alone: no link, no manual page.
[[ -x $root$home/ztgl-jetread ]] || fail "not installed: $home/ztgl-jetread"
[[ ! -e $root/usr/bin/ztgl-jetread ]] || fail "/usr/bin/ztgl-jetread: the reader is no program of its own"
# Every other program installed (ztgl-server-sim too, where the tree builds it) has its link and pages.
for program in $(ls "$root$home" | grep -vx ztgl-jetread); do
    [[ $(readlink "$root/usr/bin/$program") == "$home/$program" ]] || fail "/usr/bin/$program is no link to $home/$program"
    for page in "man1/$program.1.gz" "zh_CN/man1/$program.1.gz"; do
        [[ -f $root/usr/share/man/$page ]] || fail "no manual page $page"
    done
done
# The package ships no data: the suite or init-demo lays it.
[[ -z $(find "$root$home" -type f ! -name 'ztgl*') ]] || fail "data in the package: $(ls "$root$home")"
if ldd "$root$home/ztgl" "$root$home/ztgl-admin" "$root$home/ztgl-jetread" | grep 'not found'; then fail "libraries not found"; fi

# The installed ztgl-admin started through a link, as /usr/bin/ztgl-admin starts it: its program
# folder is the installed folder, where init-demo lays the data.
mkdir "$work/bin"
ln -s "$root$home/ztgl-admin" "$work/bin/ztgl-admin"
admin() { LC_ALL=C.UTF-8 "$work/bin/ztgl-admin" "$@" </dev/null; }
admin init-demo "$root$home" >/dev/null || fail "init-demo in the installed folder"
admin create --name 测试商贸 --user 0001 --password 1 >/dev/null 2>&1 || fail "create through the link"
[[ $(admin list) == 1$'\t'测试商贸$'\t'现启用$'\t'_BK001$'\t'* ]] || fail "list through the link: $(admin list 2>&1)"
[[ -f $root$home/_BK001.MDB ]] || fail "the new set is not in the installed folder"

# ZTGL_HOME names another program folder.
admin init-demo "$work/data" >/dev/null || fail "init-demo in another folder"
ZTGL_HOME=$work/data admin create --name 另一家 --user 0001 --password 1 >/dev/null 2>&1 || fail "create with ZTGL_HOME"
[[ $(ZTGL_HOME=$work/data admin list) == 1$'\t'另一家$'\t'* ]] || fail "list with ZTGL_HOME"

# An operator who may not write the installed folder is told which folder it is.
if [[ $(id -u) -eq 0 ]]; then
    command -v setpriv >/dev/null && setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null ||
        skip "cannot run as another user here (the rest passed)"
    operator() { setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/tmp "$@"; }
else
    chmod a-w "$root$home" "$root/opt"
    operator() { "$@"; }
fi
out=$(operator env LC_ALL=C.UTF-8 "$work/bin/ztgl-admin" create --name 第三家 --user 0001 --password 1 2>&1 </dev/null) &&
    fail "create in a folder the operator may not write succeeded"
[[ $out == *"创建数据库失败！"*"程序文件夹“$root$home/”不允许当前用户写入。"*"ZTGL_HOME"* ]] ||
    fail "create in a read-only folder says: $out"
out=$(operator env LC_ALL=C.UTF-8 "$work/bin/ztgl-admin" init-demo "$root/opt/demo" 2>&1 </dev/null) &&
    fail "init-demo in a folder the operator may not write succeeded"
[[ $out == "程序文件夹“$root/opt/”不允许当前用户写入。"* && ! -e $root/opt/demo ]] ||
    fail "init-demo in a read-only folder says: $out"
echo "installed in a fresh root and ran from there: $(basename "$deb")"
