# Sourced by board-faults: posting many games while something goes wrong, and reading the board.

# distinct_games N FOLDER: N recordings of one short game, each under its own typed name.
distinct_games() {
    local count=$1 folder=$2 start
    mkdir -p "$folder"
    start=$(grep -m1 -n 'click Form2 Start$' "$folder/../short.replay" | cut -d: -f1)
    for i in $(seq "$count"); do
        sed "${start}a 0 text Dialog PlayerName Fault $i" "$folder/../short.replay" >"$folder/$i.replay"
    done
}

# post_all URL FOLDER LOG CLIENTS: posts every recording in FOLDER from CLIENTS loops at once,
# writing "STATUS ID" for each answer to LOG (ID empty when none came).
post_all() {
    local url=$1 folder=$2 log=$3 clients=$4
    : >"$log"
    local loops=()
    for client in $(seq "$clients"); do
        (for file in "$folder"/*.replay; do
             n=$(basename "$file" .replay)
             [ $((n % clients)) -eq $((client - 1)) ] || continue
             answer=$(curl -s -m 30 -w '\n%{http_code}' --data-binary @"$file" \
                          -H "X-Forwarded-For: 10.9.$((n / 250)).$((n % 250))" "$url/api/games" || true)
             status=$(tail -n1 <<<"$answer")
             id=$(head -n1 <<<"$answer" | grep -o '"id":[0-9]*' | head -1 | cut -d: -f2 || true)
             echo "$status $id" >>"$log"
         done) &
        loops+=($!)
    done
    wait "${loops[@]}"
}

# board_ids URL: every entry id on the board, a line each, read page by page.
board_ids() {
    node -e '
        (async () => {
            let after = null;
            for (;;) {
                const page = await (await fetch(process.argv[1] + "/api/board?limit=100" +
                                                (after ? "&after=" + after : ""))).json();
                for (const entry of page.entries) console.log(entry.id);
                if (!page.next) break;
                after = page.next;
            }
        })();' "$1"
}
