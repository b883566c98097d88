// The editor's track pane.
#include "gui/TrackGrid.h"

#include "GuiScene.h"
#include "LogStream.h"
#include "XMLParser.h"
#include "gui/TrackGridQuad.h"

#include <OGRE/Ogre.h>

#include <cmath>

namespace
{
void logMessage(const std::string& text)
{
    Ogre::LogManager::getSingleton().logMessage(text);
}
}

TrackGrid::TrackGrid(GuiScene* gui, float paneWidth, float paneHeight, int columns, int rows, int visibleColumns,
                     int visibleRows)
    : gui(gui), scene(gui->getSceneManager()), cells(columns, rows), visibleColumns(visibleColumns),
      visibleRows(visibleRows)
{
    pane.width = paneWidth;
    pane.height = paneHeight;
    pane.columns = visibleColumns;
    pane.rows = visibleRows;
    catalogue = XMLParser::getInstance()->loadTrackObjectDescs(kTileList);
    paneNode = scene->getRootSceneNode()->createChildSceneNode("TrackGridPane_node");

    // The screen's y runs down, the world's up: the height comes out negative.
    const Ogre::Vector3 world = gui->screenToWorld(Ogre::Vector2(paneWidth, paneHeight));
    const float cellWidth = world.x / static_cast<float>(visibleColumns);
    const float cellHeight = world.y / static_cast<float>(visibleRows);
    createGridLines(world.x, world.y, cellWidth, cellHeight);
    createQuads(cellWidth, cellHeight);
    createBackground(world.x, world.y);
    updateView();
}

void TrackGrid::createGridLines(float worldWidth, float worldHeight, float cellWidth, float cellHeight)
{
    gridLines = scene->createManualObject("TrackGrid");
    gridLinesNode = paneNode->createChildSceneNode("TrackGrid_node");
    gridLines->begin("TrackGrid_material", Ogre::RenderOperation::OT_LINE_LIST);
    const Ogre::ColourValue colour(0.9f, 0.9f, 0.9f, 0.45f);
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
}

void TrackGrid::createQuads(float cellWidth, float cellHeight)
{
    TrackGridQuad::resetCounter();
    quads.reserve(static_cast<std::size_t>(visibleColumns * visibleRows));
    for (int i = 0; i < visibleColumns; ++i)
        for (int j = 0; j < visibleRows; ++j)
            quads.push_back(std::make_unique<TrackGridQuad>(cells.slot(i, j), paneNode, cellWidth, cellHeight,
                                                            i * cellWidth, j * cellHeight, -1.0f));
}

void TrackGrid::createBackground(float worldWidth, float worldHeight)
{
    backgroundNode = paneNode->createChildSceneNode("background_node");
    background = scene->createBillboardSet("editor_background", 20);
    background->setDefaultDimensions(std::fabs(worldWidth), std::fabs(worldHeight));
    const Ogre::Vector3 centre = gui->screenToWorld(Ogre::Vector2(pane.width / 2, pane.height / 2));
    background->createBillboard(Ogre::Vector3(centre.x, centre.y, -2.0f), Ogre::ColourValue::White);
    backgroundNode->attachObject(background);
    background->setMaterialName("Editor_background");
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName("Editor_background");
    if (material && material->getNumTechniques() > 0 && material->getTechnique(0)->getNumPasses() > 0 &&
        material->getTechnique(0)->getPass(0)->getNumTextureUnitStates() > 0)
        backgroundUnit = material->getTechnique(0)->getPass(0)->getTextureUnitState(0);
    else
        logMessage("TrackGrid: the material Editor_background has no texture: no terrain behind the grid");
}

TrackGrid::~TrackGrid()
{
    XMLParser::getInstance()->deleteTrackObjectDescs(catalogue);
    if (backgroundNode)
        backgroundNode->detachAllObjects();
    if (background)
        scene->destroyBillboardSet(background);
    quads.clear();
    if (gridLinesNode)
        gridLinesNode->detachAllObjects();
    if (gridLines)
        scene->destroyManualObject(gridLines);
    cells.clear();
    paneNode->removeAndDestroyAllChildren();
    scene->getRootSceneNode()->removeAndDestroyChild(paneNode);
}

void TrackGrid::setPosition(float x, float y)
{
    pane.left = x;
    pane.top = y;
    const Ogre::Vector3 world = gui->screenToWorldRay(Ogre::Vector2(x, y));
    paneNode->setPosition(world.x, world.y, 0);
}

void TrackGrid::setScrollX(float position)
{
    scrollColumn = scrollOffset(cells.getColumns(), visibleColumns, position);
    updateView();
}

void TrackGrid::setScrollY(float position)
{
    scrollRow = scrollOffset(cells.getRows(), visibleRows, position);
    updateView();
}

void TrackGrid::updateView()
{
    for (int i = 0; i < visibleColumns; ++i)
        for (int j = 0; j < visibleRows; ++j)
            getQuad(i, j)->setCellSlot(cells.slot(scrollColumn + i, scrollRow + j));
    if (background && background->getNumBillboards() > 0)
    {
        const BackgroundRect rect =
            backgroundRect(scrollColumn, scrollRow, cells.getColumns(), cells.getRows(), visibleColumns, visibleRows);
        background->getBillboard(0)->setTexcoordRect(rect.left, rect.top, rect.right, rect.bottom);
    }
}

bool TrackGrid::canPlace(int column, int row, int width, int height) const
{
    return fitsWindow(column, row, width, height, visibleColumns, visibleRows);
}

TrackGridQuad* TrackGrid::getQuad(int column, int row) const
{
    if (column < 0 || row < 0 || column >= visibleColumns || row >= visibleRows)
        return nullptr;
    return quads[static_cast<std::size_t>(column * visibleRows + row)].get();
}

const TrackObjectDesc* TrackGrid::findPrototype(const std::string& name) const
{
    const auto found = catalogue.find(name);
    return found == catalogue.end() ? nullptr : found->second.get();
}

void TrackGrid::refreshQuads()
{
    for (const auto& quad : quads)
        quad->refresh();
}

void TrackGrid::clear()
{
    cells.clear();
    refreshQuads();
}

void TrackGrid::clearPreview()
{
    // Every pointer move clears the preview: only the quads showing it are rebuilt.
    for (const auto& quad : quads)
        if (quad->hasPreview())
            quad->setPreview("", TileTextureRect(0, 0, 1, 1, false));
}

void TrackGrid::setBackgroundMaterial(const std::string& materialName)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(materialName);
    if (!material)
    {
        logMessage("TrackGrid: no material " + materialName + " for the background");
        return;
    }
    material->load();
    if (material->getNumTechniques() == 0 || material->getTechnique(0)->getNumPasses() == 0 ||
        material->getTechnique(0)->getPass(0)->getNumTextureUnitStates() == 0)
    {
        logMessage("TrackGrid: the material " + materialName + " has no texture for the background");
        return;
    }
    setBackgroundTexture(material->getTechnique(0)->getPass(0)->getTextureUnitState(0)->getTextureName());
}

void TrackGrid::setBackgroundTexture(const std::string& textureName)
{
    if (backgroundUnit)
        backgroundUnit->setTextureName(textureName);
}

int TrackGrid::load(const std::string& path)
{
    // Read first: a file that can't be read leaves the grid as it was.
    const MapEntries entries = XMLParser::getInstance()->loadMap(path);
    std::vector<std::string> skipped;
    const int highest = cells.load(entries, catalogue, skipped);
    for (const std::string& reason : skipped)
    {
        logMessage("TrackGrid: " + path + ": skipped " + reason);
        debugLog() << "Editor: " << path << ": skipped " << reason << std::endl;
    }
    refreshQuads();
    return highest;
}
