// What the editor's track pane and tile palette share: a scene node over a pane window of
// the GUI, cut into equal cells with grid lines drawn over them, and one quad per cell.
#pragma once

#include "gui/EditorPane.h"

#include <OGRE/OgreColourValue.h>

#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class ManualObject;
class SceneManager;
class SceneNode;
}

class Scene;

class GridPane
{
public:
    // The node `<name>Pane_node` and the lines `<name>` on the node `<name>_node` with the
    // material `<name>_material`, linesZ in front of the pane. The pane's size is in fractions
    // of the window.
    GridPane(Scene& scene, const std::string& name, float paneWidth, float paneHeight, int columns, int rows,
             const Ogre::ColourValue& lineColour, float linesZ);
    GridPane(const GridPane&) = delete;
    GridPane& operator=(const GridPane&) = delete;
    // Destroys the lines and every node below the pane's, its own too.
    ~GridPane();

    // The pane's top-left corner, in fractions of the window.
    void setPosition(float x, float y);
    const EditorPane& getArea() const { return area; }
    Ogre::SceneNode* getNode() const { return node; }
    // World units; the screen's y runs down, the world's up, so heights are negative.
    float getCellWidth() const { return cellWidth; }
    float getCellHeight() const { return cellHeight; }
    float getWorldWidth() const { return worldWidth; }
    float getWorldHeight() const { return worldHeight; }

    // One quad per cell, [column][row], made as Quad(slotAt(column, row), node, cell size,
    // cell corner, z).
    template <class Quad, class SlotAt>
    std::vector<std::unique_ptr<Quad>> makeQuads(SlotAt slotAt, float z) const
    {
        std::vector<std::unique_ptr<Quad>> quads;
        quads.reserve(static_cast<std::size_t>(area.columns * area.rows));
        for (int i = 0; i < area.columns; ++i)
            for (int j = 0; j < area.rows; ++j)
                quads.push_back(std::make_unique<Quad>(slotAt(i, j), node, cellWidth, cellHeight,
                                                       static_cast<float>(i) * cellWidth,
                                                       static_cast<float>(j) * cellHeight, z));
        return quads;
    }
    // The quad of a cell of a table made by makeQuads; null outside the pane.
    template <class Quad>
    Quad* quadAt(const std::vector<std::unique_ptr<Quad>>& quads, int column, int row) const
    {
        if (column < 0 || row < 0 || column >= area.columns || row >= area.rows)
            return nullptr;
        return quads[static_cast<std::size_t>(column * area.rows + row)].get();
    }

private:
    void createLines(const std::string& name, const Ogre::ColourValue& colour, float z);

    Scene& scene;
    Ogre::SceneManager* sceneManager;
    EditorPane area;
    Ogre::SceneNode* node = nullptr;
    Ogre::ManualObject* lines = nullptr;
    Ogre::SceneNode* linesNode = nullptr;
    float worldWidth = 0.0f;
    float worldHeight = 0.0f;
    float cellWidth = 0.0f;
    float cellHeight = 0.0f;
};
