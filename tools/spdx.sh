# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# What tools/check-spdx and tools/add-spdx share: which files carry the licence
# line, and in which comment syntax. Sourced, not run.

spdx_line='SPDX-License-Identifier: GPL-2.0-or-later'

# How FILE starts a comment line: //, #, .\" (manual pages), <!-- (XML) or REM;
# nothing for files that do not carry the line: data, images, documentation,
# and JSON, which has no comments (CMakePresets.json, test fixtures).
spdx_comment() {
  local name=${1##*/}
  name=${name%.in}  # a configured file comments as its result does
  case "$name" in
    *.cpp | *.cc | *.cxx | *.c | *.h | *.hpp | *.rc) echo '//' ;;
    CMakeLists.txt | *.cmake | *.sh | *.py | *.ps1 | *.nsi | *.desktop | *.rules | *.yml | *.yaml)
      echo '#' ;;
    *.[1-8]) echo '.\"' ;;
    *.xml | *.svg | *.manifest) echo '<!--' ;;
    *.bat | *.cmd) echo 'REM' ;;
    *.*) ;;  # everything else with a suffix, and dot files
    *)
      # A script without a suffix, by its #! line.
      if head -c 2 "$1" 2>/dev/null | grep -q '^#!'; then echo '#'; fi ;;
  esac
}

# Whether FILE has the line among its first five.
spdx_present() {
  head -n 5 "$1" | grep -qF "$spdx_line"
}

# The files to look at: given ones, else all the repository's (tracked and
# new), else, outside git, all below the current directory but the build trees.
spdx_files() {
  if [ $# -gt 0 ]; then
    printf '%s\n' "$@"
  elif git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard
  else
    find . -type f -not -path './build/*' -not -path './.git/*' | sed 's|^\./||'
  fi | while IFS= read -r file; do
    [ -f "$file" ] && printf '%s\n' "$file"
  done | sort -u
}
