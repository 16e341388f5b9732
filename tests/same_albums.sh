# Sourced by the Windows tests: whether two albums of one folder, one made on
# Linux and one on Windows, are the same. Their pages must be byte for byte
# the same; their picture copies, which another encoder makes on each system,
# must have the same names and sizes.

# The copies in an album's __kopior folders, each with its size in pixels.
copies_of() {
  (cd "$1" && find . -path '*/__kopior/*.jpg' | LC_ALL=C sort |
    while read -r copy; do echo "$copy $(identify -format '%wx%h' "$copy")"; done)
}

# same_albums A B DIFF-FILE [diff options...]: true when they are the same;
# what differs goes to DIFF-FILE.
same_albums() {
  local a=$1 b=$2 out=$3
  shift 3
  diff -r --no-dereference -x __kopior "$@" "$a" "$b" >"$out" &&
    diff <(copies_of "$a") <(copies_of "$b") >"$out"
}
