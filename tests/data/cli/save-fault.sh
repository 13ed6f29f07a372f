# Saves N marks through $CLI to $DIR/target.csv, $DIR a folder made in the folder $1, under the
# write failure $2 gives (its description) and exits with the program's status, or with 99 when
# the system refuses to set the failure up. Leaves the target's bytes in $1/target and $DIR's
# names in $1/listing.
F=$1
DIR=$F/mnt
earlier() { printf 'an earlier file\r\n' >"$DIR/target.csv"; }
limit=
undo=:
case "$2" in
  # A file-size limit that lets the first write through in part, the next one failing.
  "File too large") N=50 && prlimit --fsize=1024 true && limit="prlimit --fsize=1024" ;;
  # An immutable target, which fails the rename after the temporary file was written.
  "Operation not permitted") N=10 && mkdir "$DIR" && earlier && chattr +i "$DIR/target.csv" &&
    undo='chattr -i "$DIR/target.csv"' ;;
  # A full 64 KiB tmpfs.
  "No space left on device") N=1000 && mkdir "$DIR" && mount -t tmpfs -o size=64k kestral "$DIR" &&
    undo='umount "$DIR"' ;;
  # A read-only bind mount.
  "Read-only file system") N=10 && mkdir "$DIR" && earlier && mount --bind "$DIR" "$DIR" &&
    mount -o remount,ro,bind "$DIR" && undo='umount "$DIR"' ;;
esac || exit 99
mkdir -p "$DIR" || exit 99
for i in $(seq 1000 $((999 + N))); do
  printf '6628,%s,,,,54,280%s.000,6130%s.000,,,,1,,GDA2020,,,,,,,,100.000,,,,,,,,,,,FOUND,,,,,,,,,,\r\n' $i $i $i
done >"$F/marks.csv"
{ earlier; } 2>/dev/null
$limit "$CLI" save --marks "$F/marks.csv" --out "$DIR/target.csv"
status=$?
cat "$DIR/target.csv" >"$F/target"
ls -A "$DIR" >"$F/listing"
eval "$undo"
exit $status
