// The editor's track pane: the 80 x 80 track (TrackCells) seen through a scrolling window
// of cell quads in the GUI scene, over the chosen terrain's picture, with grid lines on top.
#pragma once

#include "gui/GridPane.h"
#include "gui/TrackCells.h"
#include "track/TrackObjectDesc.h"

#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class BillboardSet;
class SceneManager;
class SceneNode;
class TextureUnitState;
}

class GuiScene;
class TrackGridQuad;

class TrackGrid
{
public:
    static constexpr const char* kTileList = "../media/tiles/TrackObjectList.xml";

    // Reads the tile catalogue; its DataFileError passes.
    TrackGrid(GuiScene* gui, float paneWidth, float paneHeight, int columns, int rows, int visibleColumns,
              int visibleRows);
    TrackGrid(const TrackGrid&) = delete;
    TrackGrid& operator=(const TrackGrid&) = delete;
    ~TrackGrid();

    // The pane's top-left corner, in fractions of the window.
    void setPosition(float x, float y) { grid.setPosition(x, y); }
    // Fractions 0..1 (clamped) of the way across and down the track.
    void setScrollX(float position);
    void setScrollY(float position);
    void updateView();
    int getScrollColumn() const { return scrollColumn; }
    int getScrollRow() const { return scrollRow; }

    bool canPlace(int column, int row, int width, int height) const;
    TrackGridQuad* getQuad(int column, int row) const;
    const TrackObjectDesc* findPrototype(const std::string& name) const;
    // The visible position under the point (fractions of the window), or none.
    PaneCell getCellAt(float x, float y) const { return grid.getArea().cellAt(x, y); }

    void renumberCheckpoints(int number) { cells.renumberCheckpoints(number); }
    bool isValid() const { return cells.isValid(); }
    void removeDuplicateStartFinish(const EditorTrackObject& tile) { cells.removeDuplicateStartFinish(tile); }
    void refreshQuads();
    void clear();
    void clearPreview();
    void setBackgroundMaterial(const std::string& materialName);
    void setBackgroundTexture(const std::string& textureName);

    // Reads a track file, skipping (and logging) entries that can't be placed; the grid is
    // only replaced once the file was read. Returns the highest checkpoint number, 0 for none.
    int load(const std::string& path);
    TrackCells& getCells() { return cells; }
    const TrackCells& getCells() const { return cells; }

private:
    void createBackground();

    GuiScene* gui;
    Ogre::SceneManager* scene;
    TrackObjectDescs catalogue;
    GridPane grid;
    Ogre::SceneNode* backgroundNode = nullptr;
    Ogre::BillboardSet* background = nullptr;
    Ogre::TextureUnitState* backgroundUnit = nullptr;
    TrackCells cells;
    // [column][row] of the visible window; after the grid, so they go before the pane's node.
    std::vector<std::unique_ptr<TrackGridQuad>> quads;
    int scrollColumn = 0;
    int scrollRow = 0;
};
