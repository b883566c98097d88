// The track editor: the player picks tiles in the palette, lays them on the track pane with
// the left button (dragging paints), turns them with the right one, and clears, saves, loads
// and chooses the terrain through the buttons and their dialogs. Back or Escape leads to the
// main menu.
#pragma once

#include "gui/DialogStack.h"
#include "gui/MenuState.h"
#include "gui/TrackPainter.h"
#include "track/TerrainDesc.h"

#include <OGRE/OgreTexture.h>

#include <map>
#include <memory>
#include <string>

namespace CEGUI
{
class Combobox;
class EventArgs;
class Texture;
class Window;
}

class EditorTrackObject;
class PreviewScene;
class SelectorGrid;
class TrackGrid;

class EditorMenuState : public MenuState
{
public:
    static EditorMenuState* getInstance();

    void enter() override;
    void exit() override;
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    void mouseMoved(GameManager* manager, const OIS::MouseEvent& event) override;
    void mousePressed(GameManager* manager, const OIS::MouseEvent& event, OIS::MouseButtonID id) override;
    void mouseReleased(GameManager* manager, const OIS::MouseEvent& event, OIS::MouseButtonID id) override;
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

    static constexpr const char* kTerrainList = "../media/terrain/TerrainList.xml";
    static constexpr const char* kTileList = "../media/tiles/TrackObjectList.xml";

private:
    EditorMenuState();
    ~EditorMenuState();

    void build();
    void loadDialogs();
    void subscribeEvents();
    void createPanes();
    void createPreview();
    void destroyPreview();
    void teardown();

    // A window of EditorMenuWindows; the layouts were checked on entry.
    CEGUI::Window* window(const char* name) const { return windows.at(name); }
    CEGUI::Combobox* combo(const char* name) const;
    // The pointer in fractions of the window.
    Ogre::Vector2 pointer(const OIS::MouseEvent& event) const;
    void placeBrush(int column, int row);
    void pickTile(float x, float y);
    void showHoverPreview(float x, float y);
    void updateSelectionLabel(float x, float y);

    // Throws "Requested terrain could not be found!" or the terrain file's error; the terrain
    // stays as it was when it does.
    void applyTerrain(const std::string& name);
    void showDialog(EditorDialog dialog);
    void hideDialog(EditorDialog dialog);
    // Escape or Enter, as the dialog stack answers it.
    void act(DialogStack::KeyAction action);
    void showError(const std::string& text);
    void saveTrack(const std::string& name);
    std::string savePath() const;

    bool handleBack(const CEGUI::EventArgs&);
    bool handleScrollX(const CEGUI::EventArgs&);
    bool handleScrollY(const CEGUI::EventArgs&);
    bool handleThumbStarted(const CEGUI::EventArgs&);
    bool handleThumbEnded(const CEGUI::EventArgs&);
    bool handleClear(const CEGUI::EventArgs&);
    bool handleSave(const CEGUI::EventArgs&);
    bool handleLoad(const CEGUI::EventArgs&);
    bool handleTerrain(const CEGUI::EventArgs&);
    bool handleSaveDialogSave(const CEGUI::EventArgs&);
    bool handleLoadDialogLoad(const CEGUI::EventArgs&);
    bool handleTerrainDialogOk(const CEGUI::EventArgs&);
    bool handleErrorDialogOk(const CEGUI::EventArgs&);
    bool handleOverwriteYes(const CEGUI::EventArgs&);
    bool handleOverwriteNo(const CEGUI::EventArgs&);

    std::unique_ptr<TrackGrid> trackGrid;
    std::unique_ptr<SelectorGrid> tileSelector;
    bool backRequested = false;
    std::unique_ptr<EditorTrackObject> brush;  // the last picked tile; kept from one visit to the next
    std::unique_ptr<PreviewScene> preview;
    std::unique_ptr<TrackPainter> painter;
    Ogre::TexturePtr previewRenderTexture;
    CEGUI::Texture* previewTexture = nullptr;
    CEGUI::Window* previewWindow = nullptr;  // set while it shows the preview
    WindowMap windows;
    std::map<EditorDialog, CEGUI::Window*> dialogWindows;
    DialogStack dialogs;
    bool painting = false;
    bool scrollbarDragging = false;
    std::string trackName;
    std::string pendingSaveName;  // the name waiting for the player's answer to "replace?"
    TerrainDescs terrains;
    std::string terrainName;
    static EditorMenuState instance;
};
