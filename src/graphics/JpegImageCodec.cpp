// JPEG files for the engine through libjpeg.
#include "graphics/JpegImageCodec.h"

#include <OGRE/OgreDataStream.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreImage.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>

namespace
{
constexpr unsigned kMaxTextureSide = 16384;  // pixels: a damaged file may claim any size

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg ends the process on an error unless told otherwise: jump back instead.
void onError(j_common_ptr info)
{
    ErrorManager* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// A warning means damaged data (a file cut short decodes with its missing rows made up):
// refused like an error. Trace messages (level 0 and up) are ignored.
void onMessage(j_common_ptr info, int level)
{
    if (level < 0)
        onError(info);
}

// Decodes into the image; false with the reason. Plain C data only between setjmp and the
// jumps, so nothing is skipped that needs destroying.
bool decodeJpeg(const unsigned char* bytes, unsigned long size, Ogre::Image& image, char* problem)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    if (setjmp(errors.jump))
    {
        std::strncpy(problem, errors.message, JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, size);
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxTextureSide ||
        info.image_height > kMaxTextureSide)
    {
        std::snprintf(problem, JMSG_LENGTH_MAX, "it claims a size of %u x %u", info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool grey = info.num_components == 1;
    info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);
    image.create(grey ? Ogre::PF_L8 : Ogre::PF_BYTE_RGB, info.output_width, info.output_height);
    const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * info.output_components;
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row = image.getData() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}
}

void JpegImageCodec::install()
{
    static JpegImageCodec jpg("jpg");
    static JpegImageCodec jpeg("jpeg");
    for (JpegImageCodec* codec : {&jpg, &jpeg})
    {
        if (Ogre::Codec::isCodecRegistered(codec->type))
        {
            Ogre::Codec* current = Ogre::Codec::getCodec(codec->type);
            if (current == codec)
                continue;
            codec->replaced = current;
            Ogre::Codec::unregisterCodec(current);
        }
        Ogre::Codec::registerCodec(codec);
    }
}

Ogre::String JpegImageCodec::magicNumberToFileExt(const char* magicNumber, size_t maxBytes) const
{
    return maxBytes >= 3 && std::memcmp(magicNumber, "\xFF\xD8\xFF", 3) == 0 ? "jpg" : "";
}

void JpegImageCodec::decode(const Ogre::DataStreamPtr& input, const Ogre::Any& output) const
{
    const std::string bytes = input->getAsString();
    char problem[JMSG_LENGTH_MAX] = "";
    Ogre::Image& image = *Ogre::any_cast<Ogre::Image*>(output);
    if (!decodeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), image, problem))
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                    "JPEG file '" + input->getName() + "' not decoded: " + problem, "JpegImageCodec::decode");
}

Ogre::DataStreamPtr JpegImageCodec::encode(const Ogre::Any&) const
{
    OGRE_EXCEPT(Ogre::Exception::ERR_NOT_IMPLEMENTED, "the game writes no JPEG files", "JpegImageCodec::encode");
}

void JpegImageCodec::encodeToFile(const Ogre::Any&, const Ogre::String&) const
{
    OGRE_EXCEPT(Ogre::Exception::ERR_NOT_IMPLEMENTED, "the game writes no JPEG files", "JpegImageCodec::encodeToFile");
}
