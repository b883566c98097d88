// Loads the GUI's image files into engine textures for CEGUI. CEGUI's own Ogre codec
// keeps a copy of every decoded image that it never frees, which an engine restart
// would pile up; this one decodes into a temporary image and hands CEGUI the texture.
#pragma once

#include <CEGUI/ImageCodec.h>

class GuiImageCodec : public CEGUI::ImageCodec
{
public:
    GuiImageCodec();

    // Decodes data (PNG, JPEG...) and makes result show it; null when the data is no image.
    CEGUI::Texture* load(const CEGUI::RawDataContainer& data, CEGUI::Texture* result) override;
};
