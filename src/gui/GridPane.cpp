// The cells, grid lines and placing of an editor pane.
#include "gui/GridPane.h"

#include "Scene.h"

#include <OGRE/Ogre.h>

GridPane::GridPane(Scene& scene, const std::string& name, float paneWidth, float paneHeight, int columns, int rows,
                   const Ogre::ColourValue& lineColour, float linesZ)
    : scene(scene), sceneManager(scene.getSceneManager())
{
    area.width = paneWidth;
    area.height = paneHeight;
    area.columns = columns;
    area.rows = rows;
    node = sceneManager->getRootSceneNode()->createChildSceneNode(name + "Pane_node");
    const Ogre::Vector3 world = scene.screenToWorld(Ogre::Vector2(paneWidth, paneHeight));
    worldWidth = world.x;
    worldHeight = world.y;
    cellWidth = world.x / static_cast<float>(columns);
    cellHeight = world.y / static_cast<float>(rows);
    createLines(name, lineColour, linesZ);
}

void GridPane::createLines(const std::string& name, const Ogre::ColourValue& colour, float z)
{
    lines = sceneManager->createManualObject(name);
    linesNode = node->createChildSceneNode(name + "_node");
    lines->begin(name + "_material", Ogre::RenderOperation::OT_LINE_LIST);
    for (int i = 0; i <= area.columns; ++i)
    {
        lines->position(static_cast<float>(i) * cellWidth, 0, 0);
        lines->colour(colour);
        lines->position(static_cast<float>(i) * cellWidth, worldHeight, 0);
        lines->colour(colour);
    }
    for (int j = 0; j <= area.rows; ++j)
    {
        lines->position(0, static_cast<float>(j) * cellHeight, 0);
        lines->colour(colour);
        lines->position(worldWidth, static_cast<float>(j) * cellHeight, 0);
        lines->colour(colour);
    }
    lines->end();
    linesNode->attachObject(lines);
    linesNode->translate(0, 0, z, Ogre::Node::TS_PARENT);
}

GridPane::~GridPane()
{
    linesNode->detachAllObjects();
    sceneManager->destroyManualObject(lines);
    node->removeAndDestroyAllChildren();
    sceneManager->getRootSceneNode()->removeAndDestroyChild(node);
}

void GridPane::setPosition(float x, float y)
{
    area.left = x;
    area.top = y;
    const Ogre::Vector3 world = scene.screenToWorldRay(Ogre::Vector2(x, y));
    node->setPosition(world.x, world.y, 0);
}
