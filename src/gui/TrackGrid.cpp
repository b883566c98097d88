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

const Ogre::ColourValue kLineColour(0.9f, 0.9f, 0.9f, 0.45f);
// Towards the camera: the terrain picture, the quads, the grid lines.
constexpr float kBackgroundZ = -2.0f;
constexpr float kQuadsZ = -1.0f;
constexpr float kLinesZ = 0.0f;
}

TrackGrid::TrackGrid(GuiScene* gui, float paneWidth, float paneHeight, int columns, int rows, int visibleColumns,
                     int visibleRows)
    : gui(gui), scene(gui->getSceneManager()), catalogue(XMLParser::getInstance()->loadTrackObjectDescs(kTileList)),
      grid(*gui, "TrackGrid", paneWidth, paneHeight, visibleColumns, visibleRows, kLineColour, kLinesZ),
      cells(columns, rows)
{
    TrackGridQuad::resetCounter();
    quads = grid.makeQuads<TrackGridQuad>([this](int i, int j) { return cells.slot(i, j); }, kQuadsZ);
    createBackground();
    updateView();
}

void TrackGrid::createBackground()
{
    backgroundNode = grid.getNode()->createChildSceneNode("background_node");
    background = scene->createBillboardSet("editor_background", 20);
    background->setDefaultDimensions(std::fabs(grid.getWorldWidth()), std::fabs(grid.getWorldHeight()));
    const EditorPane& area = grid.getArea();
    const Ogre::Vector3 centre = gui->screenToWorld(Ogre::Vector2(area.width / 2, area.height / 2));
    background->createBillboard(Ogre::Vector3(centre.x, centre.y, kBackgroundZ), Ogre::ColourValue::White);
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
    cells.clear();
}

void TrackGrid::setScrollX(float position)
{
    scrollColumn = scrollOffset(cells.getColumns(), grid.getArea().columns, position);
    updateView();
}

void TrackGrid::setScrollY(float position)
{
    scrollRow = scrollOffset(cells.getRows(), grid.getArea().rows, position);
    updateView();
}

void TrackGrid::updateView()
{
    const int visibleColumns = grid.getArea().columns, visibleRows = grid.getArea().rows;
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
    return fitsWindow(column, row, width, height, grid.getArea().columns, grid.getArea().rows);
}

TrackGridQuad* TrackGrid::getQuad(int column, int row) const
{
    return grid.quadAt(quads, column, row);
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
