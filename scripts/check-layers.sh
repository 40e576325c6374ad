#!/usr/bin/env bash
# Checks what the build alone cannot: that every include of the program points to its own
# layer or one below it (the build catches these too, but only for headers it compiles),
# and that no code outside ui/ names a control of the windows by its layout name.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

# What each folder may include, its own folder first.
declare -A allowed=(
  [image]="image"
  [platform/file]="platform/file"
  [platform/form]="platform image"
  [platform/system]="platform image"
  [platform/browser]="platform image"
  [skin]="skin platform image"
  [model]="model skin platform image"
  [catalogue]="catalogue model skin platform image"
  [render]="render model skin platform image"
  [pictures]="pictures render model skin platform image"
  [kit]="kit pictures render model skin platform image"
  [ui]="ui kit pictures render catalogue model skin platform image"
  [output]="output ui kit pictures render catalogue model skin platform image"
  [integration]="integration ui kit pictures render catalogue model skin platform image"
  [batch]="batch kit pictures render catalogue model skin platform image"
  [app]="app batch output integration ui kit pictures render catalogue model skin platform image"
)
layers="image platform/file platform/form platform/system platform/browser skin model catalogue render pictures kit ui output batch integration app"

status=0
for folder in ${layers}; do
  [ -d "$folder" ] || continue
  while IFS=: read -r file line include; do
    target=${include#*\"}
    target=${target%%\"*}
    case "$target" in */*) ;; *) continue ;; esac
    ok=0
    for prefix in ${allowed[$folder]}; do
      case "$target" in "$prefix"/*) ok=1 ;; esac
    done
    if [ "$ok" = 0 ]; then
      echo "layering: $file:$line includes $target, which is not below $folder"
      status=1
    fi
  done < <(grep -n '^#include "' "$folder"/*.h "$folder"/*.cpp 2>/dev/null | grep -v '"ui_[a-z_]*\.h"' | grep -v '\.moc"')
done

# The layout names of the windows' controls: class word (Chinese) plus a number or letter,
# and the few named ones.
names='(标签|按钮|组合框|选择框|画板|列表框|编辑框|颜色选择器|超级链接框|时钟)[0-9a-z]+|源画板|样本按钮|确认制作按钮|保存图片按钮|WebBrowser1'
outside=$(grep -rnE "\b(ui|m_ui|controls\(\))\.|->($names)\b|\.($names)\b" \
  --include='*.h' --include='*.cpp' model catalogue render pictures kit output batch integration app 2>/dev/null \
  | grep -E "$names")
if [ -n "$outside" ]; then
  echo "layering: code outside ui/ names controls by their layout names:"
  echo "$outside"
  status=1
fi

# One way to disk: the commands and the designer's export hand their files to the picture
# writer and include no codec or file-writer header themselves.
codecs=$(grep -nE '^#include "(image|platform/file)/' batch/*.h batch/*.cpp output/*.h output/*.cpp 2>/dev/null)
if [ -n "$codecs" ]; then
  echo "layering: batch/ and output/ include codec or file-writer headers:"
  echo "$codecs"
  status=1
fi
# Every picture file goes through pictures/picturewriter.cpp. The file writer's other callers
# write no pictures: the settings file, the desktop launcher and the build's manual generator.
writers=$(grep -rnE 'file::(writeFile|writeFileIn|Folder)\b|QImageWriter|QSaveFile|\.save\([^)]|WriteOnly|O_WRONLY' \
  --include='*.h' --include='*.cpp' image skin model catalogue render pictures kit ui output integration batch app 2>/dev/null \
  | grep -vE '^(pictures/picturewriter\.cpp|catalogue/privateprofile\.cpp|integration/desktoplauncher\.cpp|app/quilletdocs\.cpp):')
if [ -n "$writers" ]; then
  echo "layering: files written past the one picture writer:"
  echo "$writers"
  status=1
fi

[ "$status" = 0 ] && echo "layering: includes go downward only; no layout names outside ui/"
exit $status
