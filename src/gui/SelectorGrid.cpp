// The editor's tile palette.
#include "gui/SelectorGrid.h"

#include "GuiScene.h"
#include "LogStream.h"
#include "XMLParser.h"
#include "gui/SelectorGridQuad.h"

#include <OGRE/Ogre.h>

namespace
{
const Ogre::ColourValue kLineColour(0.8f, 0.8f, 0.8f, 0.5f);
// Towards the camera: the quads, the grid lines, the frame round the picked tile at 0.
constexpr float kQuadsZ = -2.0f;
constexpr float kLinesZ = -1.0f;
}

SelectorGrid::SelectorGrid(GuiScene* gui, const std::string& tileList, float paneWidth, float paneHeight,
                           int slotColumns, int slotRows, int visibleColumns, int visibleRows)
    : scene(gui->getSceneManager()),
      grid(*gui, "SelectorGrid", paneWidth, paneHeight, visibleColumns, visibleRows, kLineColour, kLinesZ),
      slots(slotColumns, slotRows, visibleColumns, visibleRows)
{
    TrackObjectDescs descs = XMLParser::getInstance()->loadTrackObjectDescs(tileList);
    SelectorGridQuad::resetCounter();
    quads = grid.makeQuads<SelectorGridQuad>([this](int i, int j) { return slots.slot(i, j); }, kQuadsZ);

    std::vector<std::string> skipped;
    slots.load(descs, skipped);
    for (const std::string& reason : skipped)
    {
        Ogre::LogManager::getSingleton().logMessage("SelectorGrid: skipped " + reason);
        debugLog() << "Editor palette: skipped " << reason << std::endl;
    }
    XMLParser::getInstance()->deleteTrackObjectDescs(descs);
    refreshQuads();
}

SelectorGrid::~SelectorGrid()
{
    destroySelection();
    quads.clear();
}

EditorTrackObject* SelectorGrid::pick(float x, float y) const
{
    const PaneCell cell = grid.getArea().cellAt(x, y);
    return cell.isNone() ? nullptr : slots.shownAt(cell.column, cell.row);
}

bool SelectorGrid::selectAt(float x, float y)
{
    EditorTrackObject* tile = pick(x, y);
    if (!tile)
        return false;
    selectedTile = tile;
    tile->resetRotation();
    const PaneCell cell = slots.shownCellOf(*tile);
    if (cell.isNone())
        return false;
    frame(cell, tile->getWidth(), tile->getHeight());
    return true;
}

void SelectorGrid::destroySelection()
{
    if (!selection)
        return;
    selectionNode->detachAllObjects();
    grid.getNode()->removeAndDestroyChild(selectionNode);
    scene->destroyManualObject(selection);
    selection = nullptr;
    selectionNode = nullptr;
}

void SelectorGrid::frame(const PaneCell& cell, int width, int height)
{
    destroySelection();
    selection = scene->createManualObject("SelectionRect");
    selectionNode = grid.getNode()->createChildSceneNode("SelectionRect_node");
    const float cellWidth = grid.getCellWidth(), cellHeight = grid.getCellHeight();
    const float w = static_cast<float>(width) * cellWidth, h = static_cast<float>(height) * cellHeight;
    selection->begin("SelectionRect_material", Ogre::RenderOperation::OT_LINE_STRIP);
    const Ogre::ColourValue colour(1.0f, 0.85f, 0.1f, 1.0f);
    const float corners[5][2] = {{0, h}, {0, 0}, {w, 0}, {w, h}, {0, h}};
    for (const auto& corner : corners)
    {
        selection->position(corner[0], corner[1], 0);
        selection->colour(colour);
    }
    selection->end();
    selection->setBoundingBox(Ogre::AxisAlignedBox(Ogre::Vector3(0, std::min(h, 0.0f), -1),
                                                   Ogre::Vector3(w, std::max(h, 0.0f), 1)));
    selectionNode->attachObject(selection);
    selectionNode->translate(static_cast<float>(cell.column) * cellWidth, static_cast<float>(cell.row) * cellHeight,
                             0, Ogre::Node::TS_PARENT);
}

SelectorGridQuad* SelectorGrid::getQuad(int column, int row) const
{
    return grid.quadAt(quads, column, row);
}

void SelectorGrid::moveSelection(int rows)
{
    if (!selection)
        return;
    selectionNode->translate(0, static_cast<float>(rows) * grid.getCellHeight(), 0, Ogre::Node::TS_PARENT);
    // Shown only while its tile is on the shown page.
    setSelectionVisible(selectedTile && !slots.shownCellOf(*selectedTile).isNone());
}

void SelectorGrid::scrollUp()
{
    int moved = 0;
    if (slots.scrollUp(moved))
    {
        moveSelection(moved);
        refresh();
    }
}

void SelectorGrid::scrollDown()
{
    int moved = 0;
    if (slots.scrollDown(moved))
    {
        moveSelection(moved);
        refresh();
    }
}

void SelectorGrid::setSelectionVisible(bool visible)
{
    if (selection)
        selection->setVisible(visible);
}

void SelectorGrid::refresh()
{
    for (int i = 0; i < grid.getArea().columns; ++i)
        for (int j = 0; j < grid.getArea().rows; ++j)
            getQuad(i, j)->setSlot(slots.slot(slots.getColumnOffset() + i, slots.getRowOffset() + j));
}

void SelectorGrid::refreshQuads()
{
    for (const auto& quad : quads)
        quad->updateTexture();
}
