#!/usr/bin/env bash
# Checks the one-way dependencies between the platform units and the system.
set -u
root=${1:-.}
cd "$root" || exit 2
fail=0
# Sub-units above the class-library core: the core reaches them only through hooks.
forbidden() { # unit -> include prefixes refused even though an allowed prefix covers them
  case "$1" in
    afx) echo "platform/afx/ole platform/afx/db" ;;
  esac
}
allowed() { # unit -> allowed include prefixes
  case "$1" in
    base) echo "platform/base" ;;
    gdi) echo "platform/base platform/gdi" ;;
    user) echo "platform/base platform/gdi platform/user" ;;
    comctl) echo "platform/base platform/gdi platform/user platform/comctl" ;;
    com) echo "platform/base platform/com" ;;
    rpc) echo "platform/base platform/rpc" ;;
    afx/gdi) echo "platform/base platform/gdi platform/afx/gdi" ;;
    afx/db) echo "platform/base platform/afx/db" ;;
    afx/ole) echo "platform/base platform/gdi platform/user platform/comctl platform/com platform/afx" ;;
    afx) echo "platform/base platform/gdi platform/user platform/comctl platform/com platform/afx" ;;
    display) echo "platform/base platform/gdi platform/user platform/display" ;;
    suite/utility) echo "platform/base platform/suite/utility" ;;
    suite/database) echo "platform/base platform/afx/db platform/suite/utility platform/suite/database" ;;
    suite/*) echo "platform/" ;;
  esac
}
for unit in base gdi user display comctl com rpc afx/gdi afx/db afx/ole suite/utility suite/database suite/user suite/controls suite/directories afx; do
  [ -d "platform/$unit" ] || continue
  if [ "$unit" = afx ]; then files=$(find platform/afx -maxdepth 1 -name '*.[ch]*'); else files=$(find "platform/$unit" -name '*.[ch]*'); fi
  for f in $files; do
    while IFS= read -r inc; do
      ok=0
      for p in $(allowed "$unit"); do
        case "$inc" in "$p"*) ok=1 ;; esac
      done
      for p in $(forbidden "$unit"); do
        case "$inc" in "$p"*) ok=0 ;; esac
      done
      if [ $ok = 0 ]; then echo "layering: $f includes $inc"; fail=1; fi
    done < <(grep -hoE '^\s*#\s*include\s+"[^"]+"' "$f" | sed -E 's/.*"([^"]+)".*/\1/')
  done
done
if grep -rlE '^\s*#\s*include\s+"(common|model|app|schema|archive|reports|rpc|toolkit|frames)/' platform >/dev/null 2>&1; then
  echo "layering: platform includes the system's folders:"; grep -rlE '^\s*#\s*include\s+"(common|model|app|schema|archive|reports|rpc|toolkit|frames)/' platform; fail=1
fi
# SDL belongs to the presenter's own files.
sdl_users=$(grep -rlE '^\s*#\s*include\s+[<"]SDL' platform | grep -vE '^platform/display/(presenter_sdl|keymap|x_connection)\.cpp$')
if [ -n "$sdl_users" ]; then echo "layering: SDL included outside the presenter:"; echo "$sdl_users"; fail=1; fi
[ $fail = 0 ] && echo "layering ok"
exit $fail
