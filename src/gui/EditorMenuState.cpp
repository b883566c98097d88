// The track editor's screen.
#include "gui/EditorMenuState.h"

#include "ErrorText.h"
#include "GameConfiguration.h"
#include "GameManager.h"
#include "GuiScene.h"
#include "LogStream.h"
#include "XMLParser.h"
#include "gui/EditorMenuWindows.h"
#include "gui/MainMenuState.h"
#include "gui/PreviewScene.h"
#include "gui/SelectorGrid.h"
#include "gui/GuiText.h"
#include "gui/TextList.h"
#include "gui/TrackGrid.h"
#include "gui/TrackGridQuad.h"
#include "gui/TrackSaving.h"
#include "track/TrackFileList.h"

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Ogre/Renderer.h>
#include <OGRE/Ogre.h>

#include <vector>

namespace
{
constexpr int kColumns = 80, kRows = 80;
constexpr int kVisibleColumns = 20, kVisibleRows = 16;
constexpr int kSlotColumns = 5, kSlotRows = 20, kShownSlotColumns = 5, kShownSlotRows = 10;
constexpr unsigned kPreviewSize = 256;  // texels
const char* const kStateName = "EditorMenuState";
const char* const kPreviewImage = "RttImageset/RttImage";
const char* const kInvalidTrack = "The track has to consist of at least a start, \na finish and one checkpoint.";

void logMessage(const std::string& text)
{
    Ogre::LogManager::getSingleton().logMessage(text);
}

// A pane window's place and size in fractions of the window (the scale parts of its area).
struct PaneArea
{
    float left, top, width, height;
};
PaneArea paneArea(CEGUI::Window* pane)
{
    const CEGUI::URect& area = pane->getArea();
    return {area.d_min.d_x.d_scale, area.d_min.d_y.d_scale, area.getWidth().d_scale, area.getHeight().d_scale};
}
}

EditorMenuState EditorMenuState::instance;

EditorMenuState* EditorMenuState::getInstance()
{
    return &instance;
}

EditorMenuState::EditorMenuState() = default;
EditorMenuState::~EditorMenuState() = default;

std::string EditorMenuState::savePath() const
{
    const GameConfiguration* settings = GameManager::getInstance()->getGameConfiguration();
    return settings ? settings->getSavePath() : std::string();
}

void EditorMenuState::enter()
{
    try
    {
        build();
    }
    catch (const std::string&)
    {
        // The entry error of a layout or window, logged and naming its file already.
        teardown();
        MenuState::exit();
        throw;
    }
    catch (...)
    {
        const std::string why = currentErrorText();
        logMessage("EditorMenuState: " + why);
        debugLog() << "EditorMenuState: cannot build the editor: " << why << std::endl;
        teardown();
        MenuState::exit();
        throw entryError(kStateName);
    }
}

void EditorMenuState::build()
{
    logMessage("enter EditorMenuState");
    MenuState::enter();
    logMessage("enter EditorMenuState: layout");
    showLayout(kStateName, EditorMenuWindows::kLayoutFile);
    loadDialogs();
    dialogs.clear();
    windows = lookUpWindows(kStateName, layout, EditorMenuWindows::kWindows);

    logMessage("enter EditorMenuState: setupEventHandlers");
    subscribeEvents();
    backRequested = false;

    logMessage("enter EditorMenuState: readTerrainDescMap");
    terrains = XMLParser::getInstance()->loadTerrainDescMap(kTerrainList);

    logMessage("enter EditorMenuState: createTrackGridPane");
    createPanes();

    logMessage("enter EditorMenuState: createPreview");
    createPreview();

    logMessage("enter EditorMenuState: last steps ...");
    painting = scrollbarDragging = false;
    painter->setNextCheckpoint(1);
    trackName.clear();
    pendingSaveName.clear();
    terrainName.clear();
    applyTerrain("Grass");
    logMessage("enter EditorMenuState: done!");
}

void EditorMenuState::loadDialogs()
{
    dialogWindows.clear();
    for (const EditorMenuWindows::Dialog& dialog : EditorMenuWindows::kDialogs)
    {
        CEGUI::Window* loaded = readLayout(kStateName, dialog.layoutFile);
        layout->addChild(loaded);
        loaded->hide();
        dialogWindows[dialog.dialog] = loaded;
    }
}

void EditorMenuState::subscribeEvents()
{
    using Handler = bool (EditorMenuState::*)(const CEGUI::EventArgs&);
    const auto subscribe = [this](const char* name, const CEGUI::String& event, Handler handler) {
        window(name)->subscribeEvent(event, CEGUI::Event::Subscriber(handler, this));
    };
    subscribe("Back", CEGUI::PushButton::EventClicked, &EditorMenuState::handleBack);
    subscribe("ScrollBarH", CEGUI::Scrollbar::EventScrollPositionChanged, &EditorMenuState::handleScrollX);
    subscribe("ScrollBarV", CEGUI::Scrollbar::EventScrollPositionChanged, &EditorMenuState::handleScrollY);
    for (const char* bar : {"ScrollBarH", "ScrollBarV"})
    {
        subscribe(bar, CEGUI::Scrollbar::EventThumbTrackStarted, &EditorMenuState::handleThumbStarted);
        subscribe(bar, CEGUI::Scrollbar::EventThumbTrackEnded, &EditorMenuState::handleThumbEnded);
    }
    subscribe("Clear", CEGUI::PushButton::EventClicked, &EditorMenuState::handleClear);
    subscribe("Save", CEGUI::PushButton::EventClicked, &EditorMenuState::handleSave);
    subscribe("Load", CEGUI::PushButton::EventClicked, &EditorMenuState::handleLoad);
    subscribe("Terrain", CEGUI::PushButton::EventClicked, &EditorMenuState::handleTerrain);
    subscribe("SaveDialogSave", CEGUI::PushButton::EventClicked, &EditorMenuState::handleSaveDialogSave);
    subscribe("LoadDialogLoad", CEGUI::PushButton::EventClicked, &EditorMenuState::handleLoadDialogLoad);
    subscribe("TerrainDialogOk", CEGUI::PushButton::EventClicked, &EditorMenuState::handleTerrainDialogOk);
    subscribe("ErrorDialogOk", CEGUI::PushButton::EventClicked, &EditorMenuState::handleErrorDialogOk);
    subscribe("OverwriteDialogYes", CEGUI::PushButton::EventClicked, &EditorMenuState::handleOverwriteYes);
    subscribe("OverwriteDialogNo", CEGUI::PushButton::EventClicked, &EditorMenuState::handleOverwriteNo);
    // A dialog's Back closes it and does nothing else.
    const std::pair<const char*, EditorDialog> backButtons[] = {{"SaveDialogBack", EditorDialog::Save},
                                                                {"LoadDialogBack", EditorDialog::Load},
                                                                {"TerrainDialogBack", EditorDialog::Terrain}};
    for (const auto& [button, dialog] : backButtons)
        window(button)->subscribeEvent(CEGUI::PushButton::EventClicked,
                                       CEGUI::Event::Subscriber([this, dialog = dialog](const CEGUI::EventArgs&) {
                                           hideDialog(dialog);
                                           return true;
                                       }));
}

void EditorMenuState::createPanes()
{
    GuiScene* gui = GameManager::getInstance()->getGuiScene();
    const PaneArea track = paneArea(window("TrackGridPaneDummy"));
    trackGrid = std::make_unique<TrackGrid>(gui, track.width, track.height, kColumns, kRows, kVisibleColumns,
                                            kVisibleRows);
    trackGrid->setPosition(track.left, track.top);
    trackGrid->setScrollX(0.5f);
    trackGrid->setScrollY(0.5f);
    painter = std::make_unique<TrackPainter>(trackGrid->getCells());
    for (const char* bar : {"ScrollBarH", "ScrollBarV"})
    {
        auto* scrollbar = static_cast<CEGUI::Scrollbar*>(window(bar));
        scrollbar->setUnitIntervalScrollPosition(0.5f);
        // Each click on an arrow is one step: quick clicks would otherwise come as one double
        // click and move the grid once.
        scrollbar->getIncreaseButton()->setWantsMultiClickEvents(false);
        scrollbar->getDecreaseButton()->setWantsMultiClickEvents(false);
    }

    const PaneArea tiles = paneArea(window("SelectorGridPaneDummy"));
    tileSelector = std::make_unique<SelectorGrid>(gui, kTileList, tiles.width, tiles.height, kSlotColumns,
                                                  kSlotRows, kShownSlotColumns, kShownSlotRows);
    tileSelector->setPosition(tiles.left, tiles.top);
}

void EditorMenuState::createPreview()
{
    previewRenderTexture = Ogre::TextureManager::getSingleton().createManual(
        "RttTex", Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, Ogre::TEX_TYPE_2D, kPreviewSize,
        kPreviewSize, 0, Ogre::PF_R8G8B8, Ogre::TU_RENDERTARGET);
    Ogre::RenderTarget* target = previewRenderTexture->getBuffer()->getRenderTarget();
    preview = std::make_unique<PreviewScene>(target);
    preview->setupViewport();

    CEGUI::OgreRenderer* renderer = GameManager::getInstance()->getGuiScene()->getGUIRenderer();
    previewTexture = &renderer->createTexture("RttTex", previewRenderTexture);
    auto& image = static_cast<CEGUI::BasicImage&>(CEGUI::ImageManager::getSingleton().create("BasicImage", kPreviewImage));
    image.setTexture(previewTexture);
    image.setArea(CEGUI::Rectf(0, 0, static_cast<float>(kPreviewSize), static_cast<float>(kPreviewSize)));
    image.setAutoScaled(CEGUI::ASM_Disabled);
    previewWindow = window("PreviewDummy");
    previewWindow->setProperty("Image", kPreviewImage);
}

void EditorMenuState::destroyPreview()
{
    if (previewWindow)
        previewWindow->setProperty("Image", "");
    previewWindow = nullptr;
    CEGUI::ImageManager* images = CEGUI::ImageManager::getSingletonPtr();
    if (images && images->isDefined(kPreviewImage))
        images->destroy(kPreviewImage);
    if (previewTexture)
    {
        GameManager::getInstance()->getGuiScene()->getGUIRenderer()->destroyTexture(*previewTexture);
        previewTexture = nullptr;
    }
    // The viewport goes before its render texture.
    if (preview)
        preview->destroyViewport();
    preview.reset();
    if (previewRenderTexture)
    {
        Ogre::TextureManager::getSingleton().remove(previewRenderTexture);
        previewRenderTexture.reset();
    }
}

void EditorMenuState::teardown()
{
    for (const char* list : {"LoadDialogMapList", "TerrainDialogList"})
        if (windows.count(list))
            combo(list)->resetList();
    destroyPreview();
    painter.reset();
    tileSelector.reset();
    trackGrid.reset();
    XMLParser::getInstance()->deleteTerrainDescs(terrains);
    windows.clear();
    dialogWindows.clear();
    dialogs.clear();
}

void EditorMenuState::exit()
{
    teardown();
    MenuState::exit();
}

Ogre::Vector2 EditorMenuState::pointer(const OIS::MouseEvent& event) const
{
    const Ogre::RenderWindow* window = GameManager::getInstance()->getRenderWindow();
    return Ogre::Vector2(static_cast<float>(event.state.X.abs) / static_cast<float>(window->getWidth()),
                         static_cast<float>(event.state.Y.abs) / static_cast<float>(window->getHeight()));
}

CEGUI::Combobox* EditorMenuState::combo(const char* name) const
{
    return static_cast<CEGUI::Combobox*>(window(name));
}

void EditorMenuState::keyPressed(GameManager* manager, const OIS::KeyEvent& event)
{
    MenuState::keyPressed(manager, event);
    if (event.key == OIS::KC_ESCAPE)
        act(dialogs.onEscape());
    else if (event.key == OIS::KC_RETURN || event.key == OIS::KC_NUMPADENTER)
        act(dialogs.onEnter());
}

void EditorMenuState::act(DialogStack::KeyAction action)
{
    const CEGUI::EventArgs none;
    switch (action.answer)
    {
    case DialogStack::Answer::Nothing: return;
    case DialogStack::Answer::LeaveEditor: backRequested = true; return;
    case DialogStack::Answer::Close: hideDialog(action.dialog); return;
    case DialogStack::Answer::Confirm: break;
    }
    switch (action.dialog)
    {
    case EditorDialog::Save: handleSaveDialogSave(none); return;
    case EditorDialog::Load: handleLoadDialogLoad(none); return;
    case EditorDialog::Terrain: handleTerrainDialogOk(none); return;
    case EditorDialog::Error: handleErrorDialogOk(none); return;
    case EditorDialog::Overwrite: handleOverwriteYes(none); return;
    }
}

void EditorMenuState::mousePressed(GameManager* manager, const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    if (dialogs.empty() && !scrollbarDragging)
    {
        const Ogre::Vector2 at = pointer(event);
        if (id == OIS::MB_Left)
        {
            const PaneCell cell = trackGrid->getCellAt(at.x, at.y);
            if (!cell.isNone() && brush)
            {
                painting = true;
                if (trackGrid->canPlace(cell.column, cell.row, brush->getWidth(), brush->getHeight()))
                    placeBrush(cell.column, cell.row);
            }
            else
            {
                pickTile(at.x, at.y);
            }
        }
        else if (id == OIS::MB_Right)
        {
            painting = false;
            if (brush)
                brush->rotate();
            mouseMoved(manager, event);
        }
    }
    MenuState::mousePressed(manager, event, id);
}

void EditorMenuState::placeBrush(int column, int row)
{
    painter->place(*brush, trackGrid->getScrollColumn() + column, trackGrid->getScrollRow() + row);
    trackGrid->refreshQuads();
}

void EditorMenuState::pickTile(float x, float y)
{
    if (!tileSelector->selectAt(x, y))
        return;
    const EditorTrackObject* picked = tileSelector->getSelectedTile();
    brush = std::make_unique<EditorTrackObject>(*picked);
    window("CurrentSelection")->setText(guiText(brush->getName()));
    const Ogre::Vector2 offset = PreviewScene::modelOffset(brush->getOriginalWidth(), brush->getOriginalHeight());
    preview->showEntity(brush->getMeshName(), offset.x, offset.y);
}

void EditorMenuState::mouseReleased(GameManager* manager, const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    painting = false;
    MenuState::mouseReleased(manager, event, id);
}

void EditorMenuState::mouseMoved(GameManager* manager, const OIS::MouseEvent& event)
{
    if (!dialogs.empty() || !trackGrid)
    {
        MenuState::mouseMoved(manager, event);
        return;
    }
    trackGrid->clearPreview();
    if (scrollbarDragging)
    {
        MenuState::mouseMoved(manager, event);
        return;
    }
    const Ogre::Vector2 at = pointer(event);
    showHoverPreview(at.x, at.y);
    const PaneCell cell = trackGrid->getCellAt(at.x, at.y);
    if (painting && brush && !cell.isNone() &&
        trackGrid->canPlace(cell.column, cell.row, brush->getWidth(), brush->getHeight()))
    {
        if (painter->paint(*brush, trackGrid->getScrollColumn() + cell.column, trackGrid->getScrollRow() + cell.row))
            trackGrid->refreshQuads();
    }
    updateSelectionLabel(at.x, at.y);
    MenuState::mouseMoved(manager, event);
}

void EditorMenuState::showHoverPreview(float x, float y)
{
    const PaneCell cell = trackGrid->getCellAt(x, y);
    if (!brush || cell.isNone() || !trackGrid->canPlace(cell.column, cell.row, brush->getWidth(), brush->getHeight()))
        return;
    for (int c = 0; c < brush->getWidth(); ++c)
        for (int r = 0; r < brush->getHeight(); ++r)
            trackGrid->getQuad(cell.column + c, cell.row + r)
                ->setPreview(brush->getPictureName(), brush->getCellTextureRect(c * brush->getHeight() + r));
}

void EditorMenuState::updateSelectionLabel(float x, float y)
{
    const EditorTrackObject* shown = tileSelector->pick(x, y);
    if (!shown)
        shown = brush.get();
    window("CurrentSelection")->setText(guiText(shown ? shown->getName() : ""));
}

bool EditorMenuState::frameStarted(GameManager* manager, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    if (preview)
        preview->rotate(event.timeSinceLastFrame);
    // The GUI would keep drawing the first picture of the render texture otherwise.
    if (previewWindow)
        previewWindow->invalidate();
    if (backRequested)
        manager->changeState(MainMenuState::getInstance());
    return true;
}

bool EditorMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}

void EditorMenuState::applyTerrain(const std::string& name)
{
    const auto found = terrains.find(name);
    if (found == terrains.end())
        throw "Requested terrain could not be found!";
    Ogre::ConfigFile config;
    Ogre::DataStreamPtr stream =
        Ogre::ResourceGroupManager::getSingleton().openResource(found->second.file, "General");
    config.load(stream, "\t:=", true);
    const std::string material = config.getSetting("CustomMaterialName");
    terrainName = name;
    if (material.empty())
        return;
    preview->setGroundMaterial(material);
    trackGrid->setBackgroundMaterial(material);
}

void EditorMenuState::showDialog(EditorDialog dialog)
{
    CEGUI::Window* shown = dialogWindows.at(dialog);
    shown->show();
    shown->moveToFront();
    dialogs.open(dialog);
    painting = false;
    trackGrid->clearPreview();
}

void EditorMenuState::hideDialog(EditorDialog dialog)
{
    dialogWindows.at(dialog)->hide();
    dialogs.close(dialog);
}

void EditorMenuState::showError(const std::string& text)
{
    logMessage("EditorMenuState: " + text);
    window("ErrorDialogText")->setText(guiText(text));
    showDialog(EditorDialog::Error);
}

bool EditorMenuState::handleBack(const CEGUI::EventArgs&)
{
    backRequested = true;
    return true;
}

bool EditorMenuState::handleScrollX(const CEGUI::EventArgs& args)
{
    const auto& window = static_cast<const CEGUI::WindowEventArgs&>(args);
    trackGrid->setScrollX(static_cast<CEGUI::Scrollbar*>(window.window)->getUnitIntervalScrollPosition());
    return true;
}

bool EditorMenuState::handleScrollY(const CEGUI::EventArgs& args)
{
    const auto& window = static_cast<const CEGUI::WindowEventArgs&>(args);
    trackGrid->setScrollY(static_cast<CEGUI::Scrollbar*>(window.window)->getUnitIntervalScrollPosition());
    return true;
}

bool EditorMenuState::handleThumbStarted(const CEGUI::EventArgs&)
{
    scrollbarDragging = true;
    return true;
}

bool EditorMenuState::handleThumbEnded(const CEGUI::EventArgs&)
{
    scrollbarDragging = false;
    return true;
}

bool EditorMenuState::handleClear(const CEGUI::EventArgs&)
{
    trackGrid->clear();
    painter->setNextCheckpoint(1);
    return true;
}

bool EditorMenuState::handleSave(const CEGUI::EventArgs&)
{
    if (!trackGrid->isValid())
    {
        showError(kInvalidTrack);
        return true;
    }
    window("SaveDialogMapname")->setText(trackName);
    showDialog(EditorDialog::Save);
    window("SaveDialogMapname")->activate();
    return true;
}

bool EditorMenuState::handleSaveDialogSave(const CEGUI::EventArgs&)
{
    const std::string name = window("SaveDialogMapname")->getText().c_str();
    const std::string problem = TrackSaving::nameProblem(name);
    if (!problem.empty())
    {
        showError(problem);
        return true;
    }
    if (TrackSaving::exists(savePath(), name))
    {
        pendingSaveName = name;
        window("OverwriteDialogText")
            ->setText(guiText("A track named \"" + name +
                              "\" exists already. Replace it?\nIts high scores and ghost car will be deleted."));
        showDialog(EditorDialog::Overwrite);
        return true;
    }
    saveTrack(name);
    return true;
}

bool EditorMenuState::handleOverwriteYes(const CEGUI::EventArgs&)
{
    hideDialog(EditorDialog::Overwrite);
    saveTrack(pendingSaveName);
    pendingSaveName.clear();
    return true;
}

bool EditorMenuState::handleOverwriteNo(const CEGUI::EventArgs&)
{
    hideDialog(EditorDialog::Overwrite);
    pendingSaveName.clear();
    return true;
}

void EditorMenuState::saveTrack(const std::string& name)
{
    std::string error;
    if (!TrackSaving::save(trackGrid->getCells(), name, terrainName, savePath(), error))
    {
        // The save dialog stays open, so the player can try another name.
        showError("The track was not saved.\n" + error);
        return;
    }
    hideDialog(EditorDialog::Save);
    trackName = name;
}

bool EditorMenuState::handleLoad(const CEGUI::EventArgs&)
{
    std::vector<std::string> names;
    for (const TrackFile& track : listTrackFiles(savePath() + "maps/"))
        names.push_back(track.baseName);
    TextList::fill(*combo("LoadDialogMapList"), names);
    showDialog(EditorDialog::Load);
    return true;
}

bool EditorMenuState::handleLoadDialogLoad(const CEGUI::EventArgs&)
{
    const CEGUI::ListboxItem* item = combo("LoadDialogMapList")->getSelectedItem();
    if (!item)
        return true;
    const std::string name = item->getText().c_str();
    const std::string path = savePath() + "maps/" + name + ".map";
    try
    {
        // Everything is read and checked before the grid or the terrain change.
        const std::unique_ptr<MapDescription> description = XMLParser::getInstance()->loadMapDescription(path);
        if (terrains.find(description->terrainName) == terrains.end())
            throw std::runtime_error("Requested terrain could not be found! (" + description->terrainName + ")");
        const std::string previousTerrain = terrainName;
        applyTerrain(description->terrainName);
        try
        {
            painter->setNextCheckpoint(trackGrid->load(path) + 1);
        }
        catch (...)
        {
            applyTerrain(previousTerrain);
            throw;
        }
    }
    catch (...)
    {
        showError("The track \"" + name + "\" could not be loaded.\n" + currentErrorText());
        return true;
    }
    trackName = name;
    hideDialog(EditorDialog::Load);
    return true;
}

bool EditorMenuState::handleTerrain(const CEGUI::EventArgs&)
{
    std::vector<std::string> names;
    for (const auto& [name, desc] : terrains)
        names.push_back(name);
    TextList::fill(*combo("TerrainDialogList"), names);
    showDialog(EditorDialog::Terrain);
    return true;
}

bool EditorMenuState::handleTerrainDialogOk(const CEGUI::EventArgs&)
{
    const CEGUI::ListboxItem* item = combo("TerrainDialogList")->getSelectedItem();
    if (!item)
        return true;
    const std::string name = item->getText().c_str();
    try
    {
        applyTerrain(name);
    }
    catch (...)
    {
        showError("The terrain \"" + name + "\" could not be used.\n" + currentErrorText());
        return true;
    }
    hideDialog(EditorDialog::Terrain);
    return true;
}

bool EditorMenuState::handleErrorDialogOk(const CEGUI::EventArgs&)
{
    hideDialog(EditorDialog::Error);
    // Back to the name the player was typing, to mend it.
    if (dialogs.isOpen(EditorDialog::Save))
        window("SaveDialogMapname")->activate();
    return true;
}
