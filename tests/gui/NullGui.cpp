// The GUI library without a window, for the GUI tests.
#include "NullGui.h"

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Null/Renderer.h>

#include <string>

namespace
{
// The windows need the pictures' names only, not their pixels.
class NoPixelsCodec : public CEGUI::ImageCodec
{
public:
    NoPixelsCodec() : CEGUI::ImageCodec("no pixels") {}
    CEGUI::Texture* load(const CEGUI::RawDataContainer&, CEGUI::Texture* result) override { return result; }
};
}

void NullGui::start()
{
    if (CEGUI::System::getSingletonPtr())
        return;
    CEGUI::NullRenderer& renderer = CEGUI::NullRenderer::create();
    auto* resources = new CEGUI::DefaultResourceProvider();
    const std::string shared = QUILLMOR_CEGUI_DATA_DIR "/";
    // The built media: our layouts beside the pictures the media tool made.
    resources->setResourceGroupDirectory("gui", QUILLMOR_BUILD_DIR "/media/gui/");
    resources->setResourceGroupDirectory("imagesets", shared + "imagesets/");
    resources->setResourceGroupDirectory("fonts", shared + "fonts/");
    resources->setResourceGroupDirectory("looknfeel", shared + "looknfeel/");
    static NoPixelsCodec codec;
    CEGUI::System::create(renderer, resources, nullptr, &codec, nullptr, "", "/dev/null");
    CEGUI::ImageManager::setImagesetDefaultResourceGroup("imagesets");
    CEGUI::Font::setDefaultResourceGroup("fonts");
    CEGUI::Scheme::setDefaultResourceGroup("gui");
    CEGUI::WidgetLookManager::setDefaultResourceGroup("looknfeel");
    CEGUI::WindowManager::setDefaultResourceGroup("gui");
    CEGUI::SchemeManager::getSingleton().createFromFile("TaharezLookSkin.scheme");
    CEGUI::ImageManager::setImagesetDefaultResourceGroup("gui");
    CEGUI::ImageManager::getSingleton().loadImageset("MainMenu.imageset");
}
