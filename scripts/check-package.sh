#!/usr/bin/env bash
# Checks the Debian package on a fresh Debian 12, as a user would meet it: builds it
# (scripts/package.sh), installs it with apt in a new bookworm chroot, then starts the installed
# program from its desktop entry's command line under xvfb-run once per system language, switches
# its language from the keyboard, and saves screenshots beside the package. Needs root and takes
# several minutes, so it is run by hand, never by the tests.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSALY_PACKAGE_BUILD_DIR:-$top/build-package}
"$top/scripts/package.sh"
deb=$(echo "$build"/tessaly_*.deb)

work=$build/fresh-debian
base=$work/bookworm # made once, then copied for every check so that each one starts fresh
root=$work/root
shots=$build/screenshots
if [[ ! -e $base/.complete ]]; then
    # The Debian mirror apt is configured with on this machine.
    mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Codename: bookworm' 'Identifier: Packages' | head -n 1)
    rm -rf "$base"
    debootstrap --variant=minbase bookworm "$base" "$mirror"
    touch "$base/.complete"
fi

cleanup() {
    # Helpers the program started (the accessibility bus) may take a moment to leave the chroot.
    for mount in "$root/dev/pts" "$root/dev" "$root/proc"; do
        for try in 1 2 3 4 5 6 7 8 9 10; do
            mountpoint -q "$mount" || break
            umount "$mount" 2>/dev/null || sleep 1
        done
        if mountpoint -q "$mount"; then
            echo "Cannot unmount $mount" >&2
            return 1
        fi
    done
}
trap cleanup EXIT
cleanup
rm -rf --one-file-system "$root"
cp -a "$base" "$root"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }

cp "$deb" "$root/tmp/"
in_root apt-get update -qq
in_root sh -c "cd /tmp && apt install -y ./$(basename "$deb")"
in_root dpkg -L tessaly
# Only now the tools of the check itself, so that they cannot hide a missing dependency.
in_root apt-get install -y -qq --no-install-recommends xvfb xauth imagemagick xdotool >/dev/null

desktop=$root$(in_root dpkg -L tessaly | grep "^/usr/share/applications/.*\.desktop$")
command=$(sed -n 's/^Exec=//p' "$desktop")
echo "Desktop entry command: $command"
in_root useradd --create-home podcaster
cat > "$root/tmp/start.sh" <<SCRIPT
#!/bin/sh
# Started like a menu start: from the home folder.
cd
$command 2>"/tmp/program-\$LANG.log" &
program=\$!
sleep 8
import -window root "/tmp/shot-\$LANG.png"
# Tab walks the focus chain until Down lands on the language list, which then picks the entry
# below the current one; on the widgets before it Down changes nothing.
xdotool search --onlyvisible --class tessaly windowfocus --sync
for tab in \$(seq 30); do
    xdotool key Tab
    sleep 0.3
    xdotool key Down
    sleep 0.5
    grep -q "on fait un new ftpupload avec la langue" "/tmp/program-\$LANG.log" && break
done
sleep 2
import -window root "/tmp/shot-\$LANG-switched.png"
kill -0 \$program || exit 1
kill \$program
wait \$program || true
SCRIPT
chmod +x "$root/tmp/start.sh"

mkdir -p "$shots"
home=$root/home/podcaster
for lang in fr_FR.UTF-8 es_ES.UTF-8 en_US.UTF-8; do
    echo "Starting in $lang"
    in_root runuser -u podcaster -- env HOME=/home/podcaster LANG="$lang" \
        xvfb-run -a -s "-screen 0 1280x1024x24" /tmp/start.sh
    cat "$root/tmp/program-$lang.log"
    # The start-up object's trace when it builds the window of the picked language.
    grep -q "on fait un new ftpupload avec la langue" "$root/tmp/program-$lang.log"
    cp "$root/tmp/shot-$lang.png" "$root/tmp/shot-$lang-switched.png" "$shots/"
done

# The menu start keeps the user's files in the data folder and leaves the home folder as it was.
test -d "$home/.local/share/Orvane Development/Tessaly"
leftovers=$(find "$home" -maxdepth 1 -newer "$root/tmp/start.sh" ! -name . ! -name .local ! -path "$home")
if [[ -n $leftovers ]]; then
    echo "Files left in the home folder: $leftovers" >&2
    exit 1
fi
echo "The package installs and starts on a fresh Debian 12; screenshots in $shots"
