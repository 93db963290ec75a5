#!/usr/bin/env bash
# Installs the Linux plug-ins (VST 2.x, VST3 and LV2), qc-host, the factory presets and the
# documentation, as 'make install' and its relatives do (see the README):
#   install.sh install        into $DESTDIR$PREFIX (PREFIX defaults to /usr/local)
#   install.sh uninstall      removes what 'install' put into $DESTDIR$PREFIX, and nothing else
#   install.sh install-user   the plug-ins alone into ~/.vst/, ~/.vst3/ and ~/.lv2/, for users
#                             without root
#   install.sh uninstall-user
# --plugin FILE, --vst3 FILE (the binary inside the bundle), --lv2 FOLDER (the bundle) and
# --qc-host FILE name what to install (what the linux-x64 tree builds by default).
#
# 'install' records every file it writes and every folder it creates in a list beside the
# presets; 'uninstall' removes exactly those, leaving folders that other software shares.
set -euo pipefail
cd "$(dirname "$0")/.."

plugin=dist/linux-x64/QuellinCorvane.so
vst3=dist/linux-x64/QuellinCorvane.vst3/Contents/x86_64-linux/QuellinCorvane.so
lv2=dist/linux-x64/quellin-corvane.lv2
qc_host=build/linux-x64/tools/qc-host/qc-host
action=${1:-}
shift || true
while (($# > 0)); do
    case $1 in
    --plugin) plugin=$2 ;;
    --vst3) vst3=$2 ;;
    --lv2) lv2=$2 ;;
    --qc-host) qc_host=$2 ;;
    *) echo "install.sh: unknown option $1" >&2 && exit 2 ;;
    esac
    shift 2
done

root=${DESTDIR:-}${PREFIX:-/usr/local}
manifest_path=share/quellin-corvane/installed-files
manifest=$root/$manifest_path
user_plugin=$HOME/.vst/QuellinCorvane.so
# A VST3 plug-in is a folder; hosts look for the binary at this place inside it.
vst3_binary=QuellinCorvane.vst3/Contents/x86_64-linux/QuellinCorvane.so
user_vst3=$HOME/.vst3/$vst3_binary
# An LV2 plug-in is a folder too, every file of which hosts read.
lv2_bundle=quellin-corvane.lv2
user_lv2=$HOME/.lv2/$lv2_bundle

# Each installed file: where it comes from, its mode, and where it goes below the prefix.
# Every further Linux plug-in format gets its row here, in its own conventional folder.
installed_files() {
    echo "$plugin 644 lib/vst/QuellinCorvane.so"
    echo "$vst3 644 lib/vst3/$vst3_binary"
    local file
    for file in "$lv2"/*; do
        echo "$file 644 lib/lv2/$lv2_bundle/${file##*/}"
    done
    echo "$qc_host 755 bin/qc-host"
    local preset
    for preset in presets/*.fxp presets/*.fxb; do
        echo "$preset 644 share/quellin-corvane/presets/${preset#presets/}"
    done
    echo "README.md 644 share/doc/quellin-corvane/README.md"
    echo "docs/qc-host.md 644 share/doc/quellin-corvane/qc-host.md"
    echo "LICENSE 644 share/doc/quellin-corvane/LICENSE"
}

require_built() {
    local file
    for file in "$@"; do
        if [[ ! -f $file ]]; then
            echo "install: $file is missing; build it first with 'make install' or 'make'" >&2
            exit 1
        fi
    done
}

# Creates the folders leading to $1 below $root, recording the ones that did not exist.
make_folders() {
    local relative=$1 path=$root
    local part parts relative_path
    IFS=/ read -ra parts <<<"$relative"
    for part in "${parts[@]}"; do
        path=$path/$part
        relative_path=${path#"$root"/}
        if [[ ! -d $path ]]; then
            mkdir "$path"
            created_folders+=("$relative_path/")
        fi
    done
}

install_system() {
    require_built "$plugin" "$vst3" "$lv2/manifest.ttl" "$qc_host"
    mkdir -p "$root"
    created_folders=()
    # A second install keeps the folders the first one created as its own.
    if [[ -f $manifest ]]; then
        mapfile -t created_folders < <(grep '/$' "$manifest")
    fi
    local from mode to files=()
    while read -r from mode to; do
        make_folders "$(dirname "$to")"
        install -m "$mode" "$from" "$root/$to"
        files+=("$to")
    done < <(installed_files)
    make_folders "$(dirname "$manifest_path")"
    files+=("$manifest_path")
    printf '%s\n' "${created_folders[@]}" "${files[@]}" | awk '!seen[$0]++' >"$manifest"
    echo "installed ${#files[@]} files into $root (the list is in $manifest)"
}

uninstall_system() {
    if [[ ! -f $manifest ]]; then
        echo "uninstall: nothing to do, $manifest does not exist"
        return
    fi
    local entries entry removed=0
    mapfile -t entries <"$manifest"
    for entry in "${entries[@]}"; do
        if [[ $entry != */ && -f $root/$entry ]]; then
            rm -f "$root/$entry"
            removed=$((removed + 1))
        fi
    done
    # Folders deepest first, and only those still empty: other software may have put files
    # into them since.
    printf '%s\n' "${entries[@]}" | awk '/\/$/ {print length, $0}' | sort -rn |
        cut -d' ' -f2- | while read -r entry; do
            rmdir "$root/$entry" 2>/dev/null || true
        done
    # Under DESTDIR the prefix's own folders exist only for the staging; they go too.
    local folder=$root
    while [[ -n ${DESTDIR:-} && $folder == "${DESTDIR%/}"/* ]] && rmdir "$folder" 2>/dev/null; do
        folder=$(dirname "$folder")
    done
    echo "removed $removed files from $root"
}

case $action in
install) install_system ;;
uninstall) uninstall_system ;;
install-user)
    require_built "$plugin" "$vst3" "$lv2/manifest.ttl"
    install -D -m 644 "$plugin" "$user_plugin"
    install -D -m 644 "$vst3" "$user_vst3"
    # The bundle as built, without files an older version left there.
    rm -rf "$user_lv2"
    install -d "$user_lv2"
    install -m 644 "$lv2"/* "$user_lv2"
    echo "installed $user_plugin, $HOME/.vst3/QuellinCorvane.vst3 and $user_lv2"
    ;;
uninstall-user)
    rm -f "$user_plugin" "$user_vst3"
    rm -rf "$user_lv2"
    # The bundle's folders, up to ~/.vst3/ (which stays, as ~/.vst/ does), if they are empty.
    folder=$(dirname "$user_vst3")
    while [[ $folder != "$HOME/.vst3" ]] && rmdir "$folder" 2>/dev/null; do
        folder=$(dirname "$folder")
    done
    echo "removed $user_plugin, $HOME/.vst3/QuellinCorvane.vst3 and $user_lv2"
    ;;
*)
    echo "usage: install.sh install|uninstall|install-user|uninstall-user" \
        "[--plugin FILE] [--vst3 FILE] [--lv2 FOLDER] [--qc-host FILE]" >&2
    exit 2
    ;;
esac
