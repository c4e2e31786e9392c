#!/usr/bin/env bash
# Colouring a large page to HTML, side by side with the highlighters Debian
# packages (highlight, source-highlight, pygmentize: each when installed) and
# with `wc -w`, which reads every word and so stands for the memory's limit.
#   tools/compare_colouring.sh QASP [LINES] [ROUNDS]
# A GBK page of LINES lines (default 100,000) is made in a scratch folder;
# every program runs ROUNDS times (default 5) in turn, A B C A B C ..., and
# the medians are printed with each one's ratio to `qasp colour --html`.
set -euo pipefail
qasp=$(realpath "${1:?usage: compare_colouring.sh QASP [LINES] [ROUNDS]}")
lines=${2:-100000}
rounds=${3:-5}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
page="$scratch/page.asp"

# One server block of statements, declarations, strings with Chinese text
# (GBK) and comments, CR LF, as real pages hold them.
awk -v n="$lines" 'BEGIN {
    zh = "\326\320\316\304"  # two GBK characters
    printf "<%%\r\n"
    for (i = 2; i < n; ++i) {
        k = i % 8
        if (k == 0) line = "Function Show" i "(id, title)"
        else if (k == 1) line = "\tDim rs, sql, arr" i "(10)"
        else if (k == 2) line = "\t\047 " zh " " i
        else if (k == 3) line = "\tsql = \"select * from news where id=\" & CInt(id) & \" " zh "\""
        else if (k == 4) line = "\tSet rs = Server.CreateObject(\"ADODB.Recordset\")"
        else if (k == 5) line = "\tIf Not IsNumeric(id) Then Response.Write \"" zh "\" : Exit Function"
        else if (k == 6) line = "\tShow" i " = Replace(title, \"a\", \"b\")"
        else line = "End Function"
        printf "%s\r\n", line
    }
    printf "%%>\r\n"
}' >"$page"

names=("qasp colour --html" "qasp colour (JSON)")
commands=("\"$qasp\" colour --html \"$page\"" "\"$qasp\" colour \"$page\"")
if command -v highlight >/dev/null; then
    names+=("highlight -S vbs -O html")
    commands+=("highlight -S vbs -O html -i \"$page\"")
fi
if command -v source-highlight >/dev/null; then
    names+=("source-highlight")
    commands+=("source-highlight --src-lang=vbscript --out-format=html -i \"$page\" -o STDOUT")
fi
if command -v pygmentize >/dev/null; then
    names+=("pygmentize -l vbscript -f html")
    commands+=("pygmentize -l vbscript -f html \"$page\"")
fi
names+=("wc -w")
commands+=("wc -w \"$page\"")

declare -A times
for ((r = 0; r < rounds; ++r)); do
    for i in "${!commands[@]}"; do
        start=$(date +%s%N)
        # In the scratch folder: highlight writes its style sheet beside it.
        if ! (cd "$scratch" && bash -c "${commands[$i]}") >/dev/null 2>"$scratch/err"; then
            echo "${names[$i]} failed: $(head -c 300 "$scratch/err")" >&2
            exit 1
        fi
        end=$(date +%s%N)
        times[$i]+="$(((end - start) / 1000)) "
    done
done

median() {  # microseconds...
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

echo "page: $lines lines, $(wc -c <"$page") bytes, $rounds rounds (medians)"
base=$(median ${times[0]})
for i in "${!commands[@]}"; do
    t=$(median ${times[$i]})
    awk -v name="${names[$i]}" -v t="$t" -v base="$base" \
        'BEGIN { printf "%-34s %9.3f s   %7.2f x qasp colour --html\n", name, t / 1e6, t / base }'
done
