// Test scene for the race's sky and screen effects: a plain green ground under the advanced
// sky at noon, at dusk and at midnight, then the bloom and the speed blur over the day sky.
// Writes a screenshot of each and checks the sky's colours, the stars at night, that the
// effects draw a picture, that the bloom's listener copes with a compositor lacking its
// luminance target, that the speed blur leaves nothing behind once the view has turned and
// held still, that the frame statistics count the scene under the effects, and that no GPU
// program failed (the engine's log).
// usage: quillmor_skyscene <Plugins.cfg> <media folder> <screenshot prefix>
#include "DebugOverlay.h"
#include "RaceSky.h"
#include "graphics/HDRListener.h"
#include "graphics/MotionBlurListener.h"
#include "sky/DayClock.h"
#include "sky/SkySystem.h"

#include "ScreenshotChecks.h"
#include "ToolEngine.h"

#include <Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>
#include <OGRE/OgreCompositionPass.h>
#include <OGRE/OgreCompositionTargetPass.h>
#include <OGRE/OgreCompositionTechnique.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace
{
constexpr unsigned kWidth = 800;   // pixels
constexpr unsigned kHeight = 600;  // pixels
const Region kSkyRegion{0, 0, 800, 150};
const Region kGroundRegion{0, 450, 800, 600};

void renderFrames(Ogre::Root& root, int frames)
{
    for (int i = 0; i < frames; ++i)
    {
        OgreBites::WindowEventUtilities::messagePump();
        root.renderOneFrame(0.02f);
    }
}

Ogre::ColourValue meanColour(const Ogre::Image& image, const Region& region)
{
    Ogre::ColourValue sum(0, 0, 0, 0);
    int count = 0;
    for (int y = region.y0; y < region.y1; y += 4)
        for (int x = region.x0; x < region.x1; x += 4)
        {
            sum += image.getColourAt(x, y, 0);
            ++count;
        }
    return sum / static_cast<float>(count);
}

std::string describe(const Ogre::ColourValue& c)
{
    std::ostringstream text;
    text << int(c.r * 255) << " " << int(c.g * 255) << " " << int(c.b * 255);
    return text.str();
}

bool logHasProgramErrors(const std::string& logFile)
{
    std::ifstream log(logFile);
    std::string line;
    bool errors = false;
    while (std::getline(log, line))
        if (line.find("EXTENSIONS") == std::string::npos &&
            (line.find("Error") != std::string::npos || line.find("error:") != std::string::npos ||
             line.find("Exception") != std::string::npos || line.find("compile log") != std::string::npos))
        {
            std::cout << "log: " << line << "\n";
            errors = true;
        }
    return errors;
}

// Remembers the luminance the HDR listener hands its adaptation pass.
class LuminanceWatch : public HDRListener
{
public:
    using HDRListener::HDRListener;
    void notifyMaterialRender(Ogre::uint32 passId, Ogre::MaterialPtr& material) override
    {
        HDRListener::notifyMaterialRender(passId, material);
        if (passId != kAdaptPass || !material || !material->getTechnique(0)->getPass(0)->hasFragmentProgram())
            return;
        const Ogre::GpuProgramParametersSharedPtr params =
            material->getTechnique(0)->getPass(0)->getFragmentProgramParameters();
        if (const Ogre::GpuConstantDefinition* inLum = params->_findNamedConstantDefinition("inLum"))
            handed = *params->getFloatPointer(inLum->physicalIndex);
        ++frames;
    }
    float handed = -1.0f;
    int frames = 0;
};

// A bloom that lacks the luminance target and the bloom targets: the listener must neither
// crash nor build a kernel, and hands the fixed luminance on.
bool bloomWithoutLuminanceTarget(Ogre::Root& root, Ogre::Viewport* viewport)
{
    Ogre::CompositorManager& compositors = Ogre::CompositorManager::getSingleton();
    Ogre::CompositorPtr bare = compositors.create("SkyScene/BareBloom", Ogre::RGN_DEFAULT);
    Ogre::CompositionTargetPass* output = bare->createTechnique()->getOutputTargetPass();
    output->setInputMode(Ogre::CompositionTargetPass::IM_PREVIOUS);
    Ogre::CompositionPass* toneMap = output->createPass(Ogre::CompositionPass::PT_RENDERQUAD);
    toneMap->setMaterialName("HDR/ToneMap");
    toneMap->setIdentifier(HDRListener::kAdaptPass);
    Ogre::CompositorInstance* instance = compositors.addCompositor(viewport, "SkyScene/BareBloom");
    if (!check(instance != nullptr, "the bare bloom compositor is there"))
        return false;
    LuminanceWatch listener(instance, 60);
    instance->addListener(&listener);
    listener.notifyCompositor(instance);
    instance->setEnabled(true);
    renderFrames(root, 5);
    bool ok = check(!listener.hasKernel(), "no bloom kernel without the bloom target");
    ok &= check(listener.frames > 0 && listener.handed == LuminanceHistory::kFixedLuminance,
                "the fixed luminance without the luminance target (" + std::to_string(listener.handed) + ")");
    instance->removeListener(&listener);
    compositors.removeCompositor(viewport, "SkyScene/BareBloom");
    return ok;
}

// The largest difference of one colour channel between two pictures of one size, in levels.
int largestDifference(const Ogre::Image& a, const Ogre::Image& b)
{
    int largest = 0;
    for (unsigned y = 0; y < a.getHeight(); ++y)
        for (unsigned x = 0; x < a.getWidth(); ++x)
        {
            const Ogre::ColourValue p = a.getColourAt(x, y, 0), q = b.getColourAt(x, y, 0);
            for (float d : {p.r - q.r, p.g - q.g, p.b - q.b})
                largest = std::max(largest, static_cast<int>(std::lround(std::fabs(d) * 255.0f)));
        }
    return largest;
}

// The frame's triangle count for the statistics overlay: with the bloom, the speed blur or
// both the scene is drawn into their targets, and the count must still be the scene's.
bool statisticsCountTheEffectsFrame(Ogre::Root& root, Ogre::RenderWindow& window, Ogre::Viewport* viewport)
{
    renderFrames(root, 3);
    const size_t plain = DebugOverlay::frameStatistics(window).triangleCount;
    bool ok = check(plain > 100, "the plain view counts its triangles (" + std::to_string(plain) + ")");
    Ogre::CompositorManager& compositors = Ogre::CompositorManager::getSingleton();
    Ogre::CompositorInstance* hdr = compositors.addCompositor(viewport, "HDR", 0);
    Ogre::CompositorInstance* blur = compositors.addCompositor(viewport, "Motion Blur");
    if (!check(hdr && blur, "both effects are there"))
        return false;
    struct Case
    {
        const char* what;
        bool hdr, blur;
    };
    for (const Case& c : {Case{"the bloom", true, false}, Case{"the speed blur", false, true}, Case{"both", true, true}})
    {
        hdr->setEnabled(c.hdr);
        blur->setEnabled(c.blur);
        renderFrames(root, 3);
        const size_t counted = DebugOverlay::frameStatistics(window).triangleCount;
        // Each of the effects' own passes adds a screen quad of two triangles.
        ok &= check(counted >= plain && counted <= plain + 40,
                    std::string("with ") + c.what + " the frame counts the scene's triangles (" +
                        std::to_string(counted) + " against " + std::to_string(plain) + " without)");
    }
    compositors.removeCompositor(viewport, "Motion Blur");
    compositors.removeCompositor(viewport, "HDR");
    return ok;
}

// The speed blur at full strength while the view turns from the sky down onto the ground:
// once the view has held still long enough for the old picture to fade (0.9 a frame), the
// blurred picture is the plain one, with no trace of the sky it turned away from.
bool blurFadesAfterATurn(Ogre::Root& root, Ogre::RenderWindow& window, Ogre::Viewport* viewport,
                         Ogre::SceneNode* cameraNode, const std::string& prefix)
{
    Ogre::CompositorManager& compositors = Ogre::CompositorManager::getSingleton();
    Ogre::CompositorInstance* blur = compositors.addCompositor(viewport, "Motion Blur");
    if (!check(blur != nullptr, "the speed blur compositor is there"))
        return false;
    MotionBlurListener listener([] { return 300.0f; }, 0.9f, 110.0f, 300.0f);
    blur->addListener(&listener);
    blur->setEnabled(true);
    const Ogre::Quaternion before = cameraNode->getOrientation();
    cameraNode->pitch(Ogre::Degree(10));  // mostly sky
    renderFrames(root, 30);
    cameraNode->setOrientation(before);
    cameraNode->yaw(Ogre::Degree(60));
    cameraNode->pitch(Ogre::Degree(-12));  // the horizon near the top
    renderFrames(root, 150);  // 0.9^150: nothing left of the sky picture
    const Ogre::Image blurred = takeScreenshot(window, prefix + "_blur_turned.png");
    blur->setEnabled(false);
    renderFrames(root, 3);
    const Ogre::Image plain = takeScreenshot(window, prefix + "_plain_turned.png");
    blur->removeListener(&listener);
    compositors.removeCompositor(viewport, "Motion Blur");
    cameraNode->setOrientation(before);
    const int difference = largestDifference(blurred, plain);
    return check(difference <= 2, "the blurred view has let go of the sky it turned from (" +
                                      std::to_string(difference) + " levels off the plain view at most)");
}

int run(const std::string& pluginsFile, const std::string& mediaDir, const std::string& prefix)
{
    const std::string logFile = prefix + ".ogre.log";
    const std::unique_ptr<ToolEngine> engine = ToolEngine::start(pluginsFile, logFile, "skyscene", kWidth, kHeight);
    if (!engine)
        return 1;
    Ogre::Root& root = *engine->root;
    Ogre::RenderWindow& window = *engine->window;
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.addResourceLocation(mediaDir + "/sky", "FileSystem", "Sky");
    groups.addResourceLocation(mediaDir + "/compositors", "FileSystem", Ogre::RGN_DEFAULT);
    groups.initialiseAllResourceGroups();

    Ogre::SceneManager* scene = root.createSceneManager();
    scene->setAmbientLight(Ogre::ColourValue(0.3f, 0.3f, 0.3f));
    Ogre::Camera* camera = scene->createCamera("view");
    camera->setNearClipDistance(1.0f);
    camera->setFarClipDistance(6000.0f);
    camera->setAspectRatio(static_cast<float>(kWidth) / kHeight);
    Ogre::SceneNode* cameraNode = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, 20, 0));
    cameraNode->attachObject(camera);
    cameraNode->pitch(Ogre::Degree(8));  // a little sky above the horizon
    Ogre::Viewport* viewport = window.addViewport(camera);
    viewport->setBackgroundColour(Ogre::ColourValue::Black);

    Ogre::MaterialPtr groundMaterial = Ogre::MaterialManager::getSingleton().create("SkyScene/Ground", Ogre::RGN_DEFAULT);
    groundMaterial->getTechnique(0)->getPass(0)->setDiffuse(0.3f, 0.6f, 0.2f, 1.0f);
    groundMaterial->getTechnique(0)->getPass(0)->setAmbient(0.3f, 0.6f, 0.2f);
    Ogre::MeshManager::getSingleton().createPlane("SkySceneGround", Ogre::RGN_DEFAULT,
                                                  Ogre::Plane(Ogre::Vector3::UNIT_Y, 0), 8000, 8000, 1, 1, true, 1, 1, 1,
                                                  Ogre::Vector3::UNIT_Z);
    Ogre::Entity* ground = scene->createEntity("ground", "SkySceneGround");
    ground->setMaterial(groundMaterial);
    scene->getRootSceneNode()->createChildSceneNode()->attachObject(ground);

    bool ok = true;
    RaceSky sky;
    std::string error;
    ok &= check(sky.create(&root, scene, &window, error), "the advanced sky builds " + error);
    if (!ok)
        return 1;

    struct Moment
    {
        const char* name;
        double hour;
    };
    Ogre::ColourValue skyAt[3];
    const Moment moments[] = {{"noon", 12.0}, {"dusk", 17.5}, {"midnight", 0.0}};
    for (int i = 0; i < 3; ++i)
    {
        sky.getSkySystem()->getDayClock()->setCurrentTime(moments[i].hour * 3600.0);
        renderFrames(root, 5);
        const Ogre::Image shot = takeScreenshot(window, prefix + "_" + moments[i].name + ".png");
        skyAt[i] = meanColour(shot, kSkyRegion);
        std::cout << moments[i].name << ": sky " << describe(skyAt[i]) << ", ground "
                  << describe(meanColour(shot, kGroundRegion)) << "\n";
        if (i == 2)
        {
            const size_t stars = countPixels(shot, kSkyRegion, [](int r, int g, int b) { return r + g + b > 200; });
            ok &= check(stars > 5, "stars shine at midnight (" + std::to_string(stars) + " bright pixels)");
        }
    }
    ok &= check(skyAt[0].b > skyAt[0].r && skyAt[0].b > 0.4f, "the noon sky is blue");
    ok &= check(skyAt[1].r > skyAt[1].b * 0.8f, "the dusk sky glows warm");
    ok &= check(skyAt[2].r + skyAt[2].g + skyAt[2].b < 0.3f, "the night sky is dark");

    // The effects over the day sky, fed as the race feeds them.
    sky.getSkySystem()->getDayClock()->setCurrentTime(12 * 3600.0);
    Ogre::CompositorManager& compositors = Ogre::CompositorManager::getSingleton();
    Ogre::CompositorInstance* hdr = compositors.addCompositor(viewport, "HDR", 0);
    ok &= check(hdr != nullptr, "the HDR compositor is there");
    Ogre::CompositorInstance* blur = compositors.addCompositor(viewport, "Motion Blur");
    ok &= check(blur != nullptr, "the speed blur compositor is there");
    if (!hdr || !blur)
        return 1;
    HDRListener hdrListener(hdr, 60);
    hdr->addListener(&hdrListener);
    hdrListener.notifyViewportSize(viewport->getActualWidth(), viewport->getActualHeight());
    hdrListener.notifyCompositor(hdr);
    ok &= check(hdrListener.hasKernel(), "the bloom kernel is built from the compositor");
    float speed = 250.0f;
    MotionBlurListener blurListener([&speed] { return speed; }, 0.9f, 110.0f, 300.0f);
    blur->addListener(&blurListener);
    compositors.setCompositorEnabled(viewport, "HDR", true);
    compositors.setCompositorEnabled(viewport, "Motion Blur", true);
    renderFrames(root, 20);
    const Ogre::Image effects = takeScreenshot(window, prefix + "_effects.png");
    const Ogre::ColourValue effectSky = meanColour(effects, kSkyRegion);
    const Ogre::ColourValue effectGround = meanColour(effects, kGroundRegion);
    std::cout << "effects: sky " << describe(effectSky) << ", ground " << describe(effectGround) << "\n";
    ok &= check(effectSky.b > 0.2f && effectGround.g > 0.1f, "the effects still show the sky and the ground");
    compositors.removeCompositor(viewport, "Motion Blur");
    compositors.removeCompositor(viewport, "HDR");
    ok &= bloomWithoutLuminanceTarget(root, viewport);
    ok &= blurFadesAfterATurn(root, window, viewport, cameraNode, prefix);
    ok &= statisticsCountTheEffectsFrame(root, window, viewport);
    sky.destroy();
    ok &= check(!logHasProgramErrors(logFile), "no GPU program or compositor error in the engine's log");
    return ok ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: quillmor_skyscene <Plugins.cfg> <media folder> <screenshot prefix>\n";
        return 2;
    }
    try
    {
        return run(argv[1], argv[2], argv[3]);
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "skyscene: " << error.getFullDescription() << "\n";
        return 1;
    }
}
