#!/usr/bin/env bash
# Fails, naming the file, the line and the include, when product code (tests aside)
# breaks the layering of the libraries:
#   base < platform < support < folk, astro, jokes < update < app, cli
# A file may include headers of its own folder and of lower layers only: the three
# generators never include each other, nor do app and cli. Outside platform/ and
# app/win32/ no file includes an operating-system header or tests for _WIN32.
# Usage: scripts/check_layers.sh [SOURCE_ROOT]   (default: the repository)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

layers=(base platform support folk astro jokes update app cli)
files=()
for layer in "${layers[@]}"; do
  [ -d "$layer" ] || continue
  mapfile -t -O ${#files[@]} files < <(find "$layer" -type f \( -name '*.h' -o -name '*.cpp' \) ! -name '*_test.cpp' | sort)
done
[ ${#files[@]} -gt 0 ] || { echo "check_layers: no product sources found in $(pwd)"; exit 1; }

awk '
BEGIN {
  rank["base"] = 0; rank["platform"] = 1; rank["support"] = 2
  rank["folk"] = 3; rank["astro"] = 3; rank["jokes"] = 3
  rank["update"] = 4; rank["app"] = 5; rank["cli"] = 5
  os = "^[ \t]*#[ \t]*include[ \t]*<(windows|winhttp|winuser|winbase|shellapi|shlobj|shobjidl|commctrl|commdlg|objbase|rpc|unistd|fcntl|dirent|spawn|pthread|dlfcn)\\.h>"
  bad = 0
}
FNR == 1 {
  split(FILENAME, part, "/")
  own = part[1]
  native = (own == "platform" || FILENAME ~ /^app\/win32\//)
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
  match($0, /"[^"]*"/)
  header = substr($0, RSTART + 1, RLENGTH - 2)
  split(header, hpart, "/")
  layer = (header ~ /\//) ? hpart[1] : ""
  problem = ""
  if (!(layer in rank)) problem = "a header outside the product layers"
  else if (rank[layer] > rank[own]) problem = "a header of a higher layer (" layer " above " own ")"
  else if (rank[layer] == rank[own] && layer != own) problem = "a header of a sibling layer (" layer " beside " own ")"
  if (problem != "") { printf "%s:%d: includes \"%s\": %s\n", FILENAME, FNR, header, problem; bad = 1 }
}
!native && ($0 ~ os || $0 ~ /^[ \t]*#[ \t]*include[ \t]*<(sys|curl|unicode)\//) {
  printf "%s:%d: %s: an operating-system header outside platform/ and app/win32/\n", FILENAME, FNR, $0; bad = 1
}
!native && /^[ \t]*#[ \t]*(if|ifdef|ifndef|elif)[^A-Za-z0-9_]/ && /(^|[^A-Za-z0-9_])(_WIN32|_WIN64|__linux__|__unix__|__APPLE__)([^A-Za-z0-9_]|$)/ {
  printf "%s:%d: %s: a platform test outside platform/ and app/win32/\n", FILENAME, FNR, $0; bad = 1
}
END { exit bad }
' "${files[@]}" || { echo "check_layers: the layering is broken (see above)"; exit 1; }
echo "check_layers: ${#files[@]} product files keep to their layers"
