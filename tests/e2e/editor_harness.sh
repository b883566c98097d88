# Shared by the scripts that lay a track in the editor with the mouse. Source it after
# game_harness.sh.

# The editor's panes in fractions of the window (EditorMenu.xml): the track pane from
# (0.02, 0.03), 20 x 16 cells of 0.03 x 0.04; the palette from (0.7, 0.03), 5 x 10 cells of
# 0.04 x 0.052.
grid_cell() { click_at "$(awk "BEGIN{print 0.02 + 0.03 * ($1 + 0.5)}")" "$(awk "BEGIN{print 0.03 + 0.04 * ($2 + 0.5)}")"; }
palette_cell() { click_at "$(awk "BEGIN{print 0.7 + 0.04 * ($1 + 0.5)}")" "$(awk "BEGIN{print 0.03 + 0.052 * ($2 + 0.5)}")"; }
# The track pane's pixel rectangle (x y w h) at 1024 x 768.
TRACK_PANE="21 24 613 490"

# Six tiles up the track pane's column 5: the start at the bottom, driven towards the top, two
# straights, a checkpoint, a straight and the finish.
lay_straight_track() {
    palette_cell 0 2; grid_cell 5 9   # Start
    palette_cell 0 0; grid_cell 5 8   # Straight
    grid_cell 5 7
    palette_cell 3 2; grid_cell 5 6   # Checkpoint
    palette_cell 0 0; grid_cell 5 5   # Straight
    palette_cell 1 2; grid_cell 5 4   # Finish
}
