# Sourced by the scripts that write measured figures into bench/README.md.
#
# replace_section FILE NAME TEXT_FILE: puts the contents of TEXT_FILE between the lines
# "<!-- NAME:begin -->" and "<!-- NAME:end -->" of FILE, replacing what was there.
replace_section() {
  local file=$1 name=$2 text=$3
  awk -v begin="<!-- $name:begin -->" -v end="<!-- $name:end -->" -v text="$text" '
    $0 == begin { print; while ((getline line < text) > 0) print line; skipping = 1; next }
    $0 == end { skipping = 0 }
    !skipping { print }
  ' "$file" >"$file.new"
  mv "$file.new" "$file"
}

# replace_row FILE NAME KEY ROW: within the section NAME, replaces the table row that starts
# with "| KEY |" by ROW, or adds ROW at the end of the section.
replace_row() {
  local file=$1 name=$2 key=$3 row=$4
  awk -v begin="<!-- $name:begin -->" -v end="<!-- $name:end -->" -v key="| $key |" -v row="$row" '
    $0 == begin { inside = 1 }
    inside && index($0, key) == 1 { print row; done = 1; next }
    inside && $0 == end { if (!done) print row; inside = 0 }
    { print }
  ' "$file" >"$file.new"
  mv "$file.new" "$file"
}
