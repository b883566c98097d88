// The editor's tile palette: the catalogue's tiles (SelectorSlots) shown a page at a time as
// cell quads in the GUI scene, with grid lines and a frame round the picked tile.
#pragma once

#include "gui/GridPane.h"
#include "gui/SelectorSlots.h"

#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class ManualObject;
class SceneManager;
class SceneNode;
}

class GuiScene;
class SelectorGridQuad;

class SelectorGrid
{
public:
    // Reads the tile list; its DataFileError passes.
    SelectorGrid(GuiScene* gui, const std::string& tileList, float paneWidth, float paneHeight, int slotColumns,
                 int slotRows, int visibleColumns, int visibleRows);
    SelectorGrid(const SelectorGrid&) = delete;
    SelectorGrid& operator=(const SelectorGrid&) = delete;
    ~SelectorGrid();

    void setPosition(float x, float y) { grid.setPosition(x, y); }
    // The tile under the point (fractions of the window), or null.
    EditorTrackObject* pick(float x, float y) const;
    // Picks the tile under the point, unturns it and frames it; false when nothing was framed.
    bool selectAt(float x, float y);
    EditorTrackObject* getSelectedTile() const { return selectedTile; }
    SelectorGridQuad* getQuad(int column, int row) const;
    PaneCell findCellOfTile(const EditorTrackObject& tile) const { return slots.shownCellOf(tile); }
    void scrollUp();
    void scrollDown();
    void setSelectionVisible(bool visible);
    void refresh();
    void refreshQuads();

private:
    void destroySelection();
    void frame(const PaneCell& cell, int width, int height);
    void moveSelection(int rows);

    Ogre::SceneManager* scene;
    GridPane grid;
    Ogre::ManualObject* selection = nullptr;
    Ogre::SceneNode* selectionNode = nullptr;
    SelectorSlots slots;
    // [column][row]; after the grid and the slots, so they go before the pane's node.
    std::vector<std::unique_ptr<SelectorGridQuad>> quads;
    EditorTrackObject* selectedTile = nullptr;
};
