// The editor's tile palette.
#include "gui/SelectorGrid.h"

#include "GuiScene.h"
#include "LogStream.h"
#include "XMLParser.h"
#include "gui/SelectorGridQuad.h"

#include <OGRE/Ogre.h>

SelectorGrid::SelectorGrid(GuiScene* gui, const std::string& tileList, float paneWidth, float paneHeight,
                           int slotColumns, int slotRows, int visibleColumns, int visibleRows)
    : gui(gui), scene(gui->getSceneManager()), slots(slotColumns, slotRows, visibleColumns, visibleRows),
      visibleColumns(visibleColumns), visibleRows(visibleRows)
{
    TrackObjectDescs descs = XMLParser::getInstance()->loadTrackObjectDescs(tileList);
    pane.width = paneWidth;
    pane.height = paneHeight;
    pane.columns = visibleColumns;
    pane.rows = visibleRows;
    paneNode = scene->getRootSceneNode()->createChildSceneNode("SelectorGridPane_node");
    const Ogre::Vector3 world = gui->screenToWorld(Ogre::Vector2(paneWidth, paneHeight));
    cellWidth = world.x / static_cast<float>(visibleColumns);
    cellHeight = world.y / static_cast<float>(visibleRows);
    createGridLines(world.x, world.y);

    SelectorGridQuad::resetCounter();
    for (int i = 0; i < visibleColumns; ++i)
        for (int j = 0; j < visibleRows; ++j)
            quads.push_back(std::make_unique<SelectorGridQuad>(slots.slot(i, j), paneNode, cellWidth, cellHeight,
                                                               i * cellWidth, j * cellHeight, -2.0f));

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

void SelectorGrid::createGridLines(float worldWidth, float worldHeight)
{
    gridLines = scene->createManualObject("SelectorGrid");
    gridLinesNode = paneNode->createChildSceneNode("SelectorGrid_node");
    gridLines->begin("SelectorGrid_material", Ogre::RenderOperation::OT_LINE_LIST);
    const Ogre::ColourValue colour(0.8f, 0.8f, 0.8f, 0.5f);
    for (int i = 0; i <= visibleColumns; ++i)
    {
        gridLines->position(i * cellWidth, 0, 0);
        gridLines->colour(colour);
        gridLines->position(i * cellWidth, worldHeight, 0);
        gridLines->colour(colour);
    }
    for (int j = 0; j <= visibleRows; ++j)
    {
        gridLines->position(0, j * cellHeight, 0);
        gridLines->colour(colour);
        gridLines->position(worldWidth, j * cellHeight, 0);
        gridLines->colour(colour);
    }
    gridLines->end();
    gridLinesNode->attachObject(gridLines);
    gridLinesNode->translate(0, 0, -1, Ogre::Node::TS_PARENT);
}

SelectorGrid::~SelectorGrid()
{
    destroySelection();
    quads.clear();
    if (gridLinesNode)
        gridLinesNode->detachAllObjects();
    if (gridLines)
        scene->destroyManualObject(gridLines);
    paneNode->removeAndDestroyAllChildren();
    scene->getRootSceneNode()->removeAndDestroyChild(paneNode);
}

void SelectorGrid::setPosition(float x, float y)
{
    pane.left = x;
    pane.top = y;
    const Ogre::Vector3 world = gui->screenToWorldRay(Ogre::Vector2(x, y));
    paneNode->setPosition(world.x, world.y, 0);
}

EditorTrackObject* SelectorGrid::pick(float x, float y) const
{
    const PaneCell cell = pane.cellAt(x, y);
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
    paneNode->removeAndDestroyChild(selectionNode);
    scene->destroyManualObject(selection);
    selection = nullptr;
    selectionNode = nullptr;
}

void SelectorGrid::frame(const PaneCell& cell, int width, int height)
{
    destroySelection();
    selection = scene->createManualObject("SelectionRect");
    selectionNode = paneNode->createChildSceneNode("SelectionRect_node");
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
    if (column < 0 || row < 0 || column >= visibleColumns || row >= visibleRows)
        return nullptr;
    return quads[static_cast<std::size_t>(column * visibleRows + row)].get();
}

void SelectorGrid::moveSelection(int rows)
{
    if (!selection)
        return;
    selectionNode->translate(0, static_cast<float>(rows) * cellHeight, 0, Ogre::Node::TS_PARENT);
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
    for (int i = 0; i < visibleColumns; ++i)
        for (int j = 0; j < visibleRows; ++j)
            getQuad(i, j)->setSlot(slots.slot(slots.getColumnOffset() + i, slots.getRowOffset() + j));
}

void SelectorGrid::refreshQuads()
{
    for (const auto& quad : quads)
        quad->updateTexture();
}
