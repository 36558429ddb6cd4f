#!/usr/bin/env bash
# The folders of the window layer and of the engine stand as floors, by include and by definition:
# - a file of a floor includes only headers of its own floor and of the floors below it;
# - a class's members are defined in the folder of the header that declares the class.
# Prints each include that reaches up and each member defined on another floor; fails if there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=0

# check_includes ROOT FLOOR... : the floors of ROOT, lowest first.
check_includes() {
  local root=$1
  shift
  local floors=("$@")
  declare -A rank
  local i
  for i in "${!floors[@]}"; do rank[${floors[$i]}]=$i; done
  local floor dir file line target
  for floor in "${floors[@]}"; do
    dir=$root/$floor
    [ -d "$dir" ] || { echo "missing folder: $dir"; bad=1; continue; }
    while IFS=: read -r file line target; do
      [ -n "$file" ] || continue
      if [ -z "${rank[$target]+x}" ]; then
        echo "$file:$line: includes $root/$target/, which is not a floor"
        bad=1
      elif [ "${rank[$target]}" -gt "${rank[$floor]}" ]; then
        echo "$file:$line: $floor includes $target, a floor above it"
        bad=1
      fi
    done < <(grep -n -o "#include \"$root/[A-Za-z]*/" "$dir"/*.h "$dir"/*.cpp 2>/dev/null |
             sed -E "s|#include \"$root/([A-Za-z]*)/|\1|")
  done
}

# check_definitions FOLDER... : every member defined in a .cpp below the folders is defined in the folder
# of the header that declares its class.
check_definitions() {
  perl -e '
    use strict; use warnings;
    my @files = split /\n/, `git ls-files -- @ARGV`;
    my %home;
    for my $f (grep { /\.h$/ } @files) {
      open my $fh, "<", $f or next;
      (my $d = $f) =~ s{/[^/]*$}{};
      while (<$fh>) {
        next unless /^\s*(?:class|struct)\s+([A-Za-z_]\w*)(?:\s+final)?\s*(?::[^:]|\{|$)/;
        $home{$1}{$d} = 1;
      }
    }
    my $bad = 0;
    for my $f (grep { /\.cpp$/ } @files) {
      open my $fh, "<", $f or next;
      (my $d = $f) =~ s{/[^/]*$}{};
      while (<$fh>) {
        next unless /^(?:[A-Za-z_][\w:<>,*& ]*[\s*&])?([A-Za-z_]\w*)::(~?[A-Za-z_]\w*|operator\S*)\s*\(/;
        my ($cls, $member) = ($1, $2);
        next if !$home{$cls} || $home{$cls}{$d};
        print "$f:$.: ${cls}::$member is defined here; $cls is declared in ", join(", ", sort keys %{$home{$cls}}), "\n";
        $bad = 1;
      }
    }
    exit $bad;
  ' "$@" || bad=1
}

check_includes platform/gui draw window widgets dialogs frame print docview
stray=$(find platform/gui -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) ! -name Afx.h)
if [ -n "$stray" ]; then
  echo "files outside the floors of platform/gui:"; echo "$stray"; bad=1
fi
check_includes engine archive runs settings model analysis case
stray=$(find engine -maxdepth 1 -type f -name '*.cpp')
if [ -n "$stray" ]; then
  echo "sources outside the floors of engine:"; echo "$stray"; bad=1
fi
check_definitions platform/gui engine

[ "$bad" -eq 0 ] && echo "floors: every include goes down or stays level, every member is defined on its class's floor"
exit "$bad"
