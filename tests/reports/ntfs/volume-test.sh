#!/usr/bin/env bash
# Analyses drive N: from the command line twice: once with its folders
# walked, once with an NTFS image of them as the drive's volume (\\.\N:),
# which the analysis reads as a volume's file table. Both must write the
# same tree, but for what only NTFS keeps: its allocation and attributes,
# and which name of a linked file counts (the listing orders differ).
# Usage (in the tests' Wine prefix): volume-test.sh CORVANE_EXE IMAGES_FOLDER
set -euo pipefail
exe=$1 images=$2
wine=$(dirname "$(realpath "$0")")/../../../scripts/wine-run.sh
drives=$WINEPREFIX/dosdevices
[ -e "$drives/n:" ] && { echo "drive N: is taken in $WINEPREFIX" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -f "$drives/n:" "$drives/n::" "$WINEPREFIX/drive_c/volume-test.csv"; rm -rf "$work"' EXIT
ln -s "$images/mixed.tree" "$drives/n:"

# The tree as written, and as sorted rows of path, type, size, files
# (folders only) and last change.
analyse() {
  "$wine" "$exe" /analyze 'N:\' /export 'C:\volume-test.csv' 2>/dev/null
  tr -d '\r' <"$WINEPREFIX/drive_c/volume-test.csv" >"$1.csv"
  tail -n +2 "$1.csv" | awk -F, '{ print $1 "," $2 "," $3 "," ($2 == "folder" ? $5 : "") "," $6 }' |
    LC_ALL=C sort >"$1.rows"
}

analyse "$work/walked"
ln -s "$images/mixed.ntfs" "$drives/n::"
analyse "$work/read"
# Only the file table knows the sparse file is sparse: the table was read.
grep -q '^N:\\sparse\.img,file,.*P' "$work/read.csv" || { echo "the file table was not read" >&2; exit 1; }
grep -q '^N:\\sparse\.img,file,.*P' "$work/walked.csv" && { echo "the folders were not walked" >&2; exit 1; }
diff "$work/walked.rows" "$work/read.rows" >&2
echo "the same $(wc -l <"$work/read.rows") rows both ways"
