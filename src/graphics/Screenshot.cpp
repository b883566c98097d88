// Window contents to a PNG file.
#include "graphics/Screenshot.h"

#include "AtomicFile.h"
#include "graphics/PngImageCodec.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreRenderTarget.h>
#include <png.h>

#include <vector>

bool writeScreenshot(Ogre::RenderTarget& window, const std::string& path, std::string* problem)
{
    const std::uint32_t width = window.getWidth();
    const std::uint32_t height = window.getHeight();
    // Opaque, as the window shows it: the frame buffer's alpha is left over from blending (a
    // see-through night sky keeps some) and would make a viewer mix the picture with its page.
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
    try
    {
        window.copyContentsToMemory(Ogre::Box(0, 0, width, height),
                                    Ogre::PixelBox(width, height, 1, Ogre::PF_BYTE_RGB, pixels.data()));
    }
    catch (const Ogre::Exception& error)
    {
        if (problem)
            *problem = path + ": " + error.getDescription();
        return false;
    }
    std::string bytes, reason;
    if (!PngImageCodec::encodePixels(pixels.data(), width, height, PNG_FORMAT_RGB, bytes, reason))
    {
        if (problem)
            *problem = path + ": " + reason;
        return false;
    }
    return writeFileAtomically(path, bytes, problem);
}
