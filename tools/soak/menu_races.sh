# Whole races through the real menus in one game process, for the soak test: main menu ->
# Play -> a built-in track -> Next -> the PID driver takes the car ("A") -> the finish (or
# a time limit) -> back to the main menu, where the process's resident memory and open
# descriptors are read. Source it after game_harness.sh, with the game at its main menu.

# The built-in tracks in the level menu's order, and their rows there at 1024 x 768 (fractions of
# the window; the rows keep their height in pixels at other sizes).
MENU_TRACKS=(DesertRun FigureEight TestLoop)
MENU_TRACK_ROWS=(0.186 0.212 0.238)
RACE_LIMIT=${RACE_LIMIT:-150}  # seconds of wall time a race may take before it is left
MENU_RACES=0

# Resident memory (kB) and open descriptors of the game, as "rss fds".
process_usage() {
    echo "$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$GAME_PID/status") $(ls "/proc/$GAME_PID/fd" | wc -l)"
}

# One race on built-in track number $1 (0-based, the level menu's order), from the main menu
# back to it. Prints "race <n> <track> <result> ghost <yes|no> rss_kb <kB> fds <n>".
menu_race() {
    local index=$1 track=${MENU_TRACKS[$1]} ghost=no result menus levels loads starts finishes over pauses
    MENU_RACES=$((MENU_RACES + 1))
    [ -s "$USER_DIR/maps/stdHighscore/$track.sde.shadow" ] && ghost=yes
    menus=$(count_in "$OGRE_LOG" "load layout MainMenu.xml")
    loads=$(count_in "$OGRE_LOG" "LoadState: the race runs on ../media/maps/$track.map")
    starts=$(count_in "$DEBUG_LOG" "^Race started")
    finishes=$(count_in "$DEBUG_LOG" "^Finish at")
    over=$(count_in "$OGRE_LOG" "race over: rank")
    levels=$(count_in "$OGRE_LOG" "enter LevelMenuState: done!")
    pauses=$(count_in "$OGRE_LOG" "In-game menu requested")
    click_play
    wait_for_more "$OGRE_LOG" "$levels" 30 "enter LevelMenuState: done!" || fail "race $MENU_RACES: no level menu"
    click_at 0.3 "${MENU_TRACK_ROWS[$index]}"
    click_at 0.76 0.853  # Next
    wait_for_more "$OGRE_LOG" "$loads" 120 "LoadState: the race runs on ../media/maps/$track.map" ||
        fail "race $MENU_RACES: $track did not load"
    wait_for_more "$DEBUG_LOG" "$starts" 60 "^Race started" || fail "race $MENU_RACES: no start on $track"
    hand_to_pid_driver || fail "race $MENU_RACES: the PID driver never took the car"
    local limit=$((SECONDS + RACE_LIMIT))
    result=unfinished
    while [ "$SECONDS" -lt "$limit" ]; do
        if [ "$(count_in "$DEBUG_LOG" "^Finish at")" -gt "$finishes" ]; then
            result=finished
            break
        fi
        kill -0 "$GAME_PID" 2>/dev/null || fail "race $MENU_RACES: the game ended on $track"
        sleep 0.2
    done
    if [ "$result" = finished ]; then
        wait_for_more "$OGRE_LOG" "$over" 30 "race over: rank" || fail "race $MENU_RACES: no table after the finish"
        # A run in the table asks for a name first.
        if ! grep "race over: rank" "$OGRE_LOG" | tail -n 1 | grep -q "rank 0"; then
            sleep 0.5
            xdotool type --delay 100 Soak
            press_key_here Return
            sleep 0.5
        fi
        press_key Escape  # the table's way to the main menu
    else
        press_key Escape
        wait_for_more "$OGRE_LOG" "$pauses" 30 "In-game menu requested" || fail "race $MENU_RACES: no in-game menu"
        click_at $IN_GAME_MAIN_MENU
    fi
    wait_for_more "$OGRE_LOG" "$menus" 60 "load layout MainMenu.xml" ||
        fail "race $MENU_RACES: no main menu after $track"
    sleep 1  # the menu's first frames
    echo "race $MENU_RACES $track $result ghost $ghost $(process_usage | awk '{ print "rss_kb " $1 " fds " $2 }')"
}
