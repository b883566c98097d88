// The GUI scene: orthographic camera, CEGUI on the game window, the skin and fonts.
#include "GuiScene.h"

#include "ErrorText.h"
#include "GameConfiguration.h"
#include "GameManager.h"
#include "GuiImageCodec.h"
#include "RegularFile.h"
#include "ScreenProjection.h"

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Ogre/ImageCodec.h>
#include <CEGUI/RendererModules/Ogre/Renderer.h>
#include <CEGUI/RendererModules/Ogre/ResourceProvider.h>
#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

#include <stdexcept>

namespace
{
constexpr unsigned short kGuiViewportZOrder = 20;

void logMessage(const std::string& message)
{
    Ogre::LogManager::getSingleton().logMessage(message);
}

// The GUI library's parse errors ("unclosed token at line 3") don't say which file: ours do.
template <typename Load>
void loadGuiFile(const std::string& file, Load load)
{
    try
    {
        load();
    }
    catch (const CEGUI::Exception& error)
    {
        throw std::runtime_error("\"" + file + "\": " + std::string(error.getMessage().c_str()));
    }
}

const char* const kStartupError =
    "CEGUI startup error!!\nPlease report this error in the Quillmor forum.\n(https://quillmor.invalid/forum)";
}

// Draws the GUI at the start of the overlay queue of this scene, so the engine's overlays
// (the statistics panel) come on top of the menus.
class GuiScene::GuiRenderQueueListener : public Ogre::RenderQueueListener
{
public:
    void renderQueueStarted(Ogre::uint8 queueGroupId, const Ogre::String&, bool&) override
    {
        if (queueGroupId == Ogre::RENDER_QUEUE_OVERLAY && CEGUI::System::getSingletonPtr())
            CEGUI::System::getSingleton().renderAllGUIContexts();
    }
};

GuiScene::GuiScene()
{
    create();
}

GuiScene::~GuiScene()
{
    destroy();
}

void GuiScene::create()
{
    try
    {
        root = Ogre::Root::getSingletonPtr();
        logMessage("\n\nCreating [GuiScene]...");
        sceneManager = root->createSceneManager();
        guiDrawing = std::make_unique<GuiRenderQueueListener>();
        sceneManager->addRenderQueueListener(guiDrawing.get());
        if (Ogre::OverlaySystem* overlays = GameManager::getInstance()->getOverlaySystem())
            sceneManager->addRenderQueueListener(overlays);
        createCamera();

        logMessage("creating static geometry");
        staticGeometry = sceneManager->createStaticGeometry("GUI_Static_Geometry");

        logMessage("creating CEGUI renderer");
        Ogre::RenderWindow* window = GameManager::getInstance()->getRenderWindow();
        guiRenderer = &CEGUI::OgreRenderer::create(*window);
        guiRenderer->setFrameControlExecutionEnabled(false);
        resourceProvider = &CEGUI::OgreRenderer::createOgreResourceProvider();
        imageCodec = std::make_unique<GuiImageCodec>();

        guiSystem = nullptr;
        const GameConfiguration* config = GameManager::getInstance()->getGameConfiguration();
        try
        {
            const std::string userLog = config->getSavePath() + "logs/CEGUI.log";
            std::string problem;
            if (!isAbsentOrRegularFile(userLog, &problem))
                throw std::runtime_error(userLog + ": " + problem);
            createGuiSystem(userLog);
        }
        catch (...)
        {
            logMessage("GUI system not created with its log in the user folder: " +
                       currentErrorText(ErrorDetail::WithSource));
            if (guiSystem)
            {
                try
                {
                    CEGUI::System::destroy();
                }
                catch (...)
                {
                    logMessage("error: mGUISystem delete failed");
                }
                guiSystem = nullptr;
            }
            logMessage("creating GUI system without log");
            createGuiSystem("CEGUI.log");
        }

        logMessage("configure GUI");
        CEGUI::Logger::getSingleton().setLoggingLevel(CEGUI::Informative);
        loadGuiFile("TaharezLookSkin.scheme",
                    [] { CEGUI::SchemeManager::getSingleton().createFromFile("TaharezLookSkin.scheme"); });
        CEGUI::GUIContext& context = guiSystem->getDefaultGUIContext();
        context.getMouseCursor().setDefaultImage("TaharezLook/MouseArrow");

        logMessage("loading resources");
        for (const char* imageset : {"MainMenu.imageset", "Map1.imageset", "Map3.imageset"})
            loadGuiFile(imageset, [imageset] { CEGUI::ImageManager::getSingleton().loadImageset(imageset); });

        logMessage("set font");
        context.setDefaultFont("DejaVuSans-12");

        context.injectMousePosition(window->getWidth() / 2.0f, window->getHeight() / 2.0f);
        enabled = false;
        logMessage("\nCreating [GuiScene]...done\n");
    }
    catch (...)
    {
        // No destructor runs for a constructor that throws: release what exists now.
        logMessage("GUI start-up failed: " + currentErrorText(ErrorDetail::WithSource));
        destroy();
        throw std::string(kStartupError);
    }
}

void GuiScene::createGuiSystem(const std::string& logFile)
{
    logMessage("creating GUI system");
    guiSystem = &CEGUI::System::create(*guiRenderer, resourceProvider, nullptr, imageCodec.get(), nullptr, "", logFile);
    // CEGUI reads its files through the engine's resource groups of the same names.
    CEGUI::ImageManager::setImagesetDefaultResourceGroup("Imagesets");
    CEGUI::Font::setDefaultResourceGroup("Fonts");
    CEGUI::Scheme::setDefaultResourceGroup("Schemes");
    CEGUI::WidgetLookManager::setDefaultResourceGroup("LookNFeel");
    CEGUI::WindowManager::setDefaultResourceGroup("Layouts");
    logMessage("get window manager");
    windowManager = CEGUI::WindowManager::getSingletonPtr();
}

void GuiScene::createCamera()
{
    camera = sceneManager->createCamera("Default_Camera");
    camera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
    camera->setNearClipDistance(1);
    camera->setFarClipDistance(100);
    Ogre::SceneNode* rootNode = sceneManager->getRootSceneNode();
    Ogre::SceneNode* position = rootNode->createChildSceneNode("Gui_Cam_Position");
    Ogre::SceneNode* lookAt = rootNode->createChildSceneNode("Gui_Cam_LookAt");
    position->attachObject(camera);
    position->setAutoTracking(true, lookAt, Ogre::Vector3::NEGATIVE_UNIT_Z);
    position->translate(0, 0, 10, Ogre::Node::TS_PARENT);
    lookAt->translate(0, 0, 0, Ogre::Node::TS_PARENT);
}

void GuiScene::destroy()
{
    if (guiSystem)
    {
        CEGUI::System::destroy();
        guiSystem = nullptr;
        windowManager = nullptr;
    }
    imageCodec.reset();
    if (resourceProvider)
    {
        CEGUI::OgreRenderer::destroyOgreResourceProvider(*resourceProvider);
        resourceProvider = nullptr;
    }
    if (guiRenderer)
    {
        CEGUI::OgreRenderer::destroy(*guiRenderer);
        guiRenderer = nullptr;
    }
    if (!sceneManager)
        return;
    sceneManager->clearScene();
    if (Ogre::RenderWindow* window = GameManager::getInstance()->getRenderWindow())
        window->removeAllViewports();
    if (camera)
        sceneManager->destroyCamera(camera);
    camera = nullptr;
    staticGeometry = nullptr;
    root->destroySceneManager(sceneManager);
    sceneManager = nullptr;
    guiDrawing.reset();
    enabled = false;
}

void GuiScene::enable()
{
    if (enabled)
        return;
    Ogre::Viewport* viewport =
        GameManager::getInstance()->getRenderWindow()->addViewport(camera, kGuiViewportZOrder, 0, 0, 1, 1);
    camera->setAspectRatio(static_cast<Ogre::Real>(viewport->getActualWidth()) /
                           static_cast<Ogre::Real>(viewport->getActualHeight()));
    enabled = true;
}

void GuiScene::disable()
{
    if (!enabled)
        return;
    GameManager::getInstance()->getRenderWindow()->removeViewport(kGuiViewportZOrder);
    enabled = false;
}

void GuiScene::addToStaticGeometry(Ogre::SceneNode* node)
{
    staticGeometry->addSceneNode(node);
}

Ogre::Vector3 GuiScene::screenToWorld(const Ogre::Vector2& screen)
{
    return screenExtentToWorld(*camera, screen);
}

Ogre::Vector3 GuiScene::screenToWorldRay(const Ogre::Vector2& screen)
{
    return screenPointToWorld(*camera, screen);
}
