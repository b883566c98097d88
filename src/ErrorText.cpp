// Exception texts.
#include "ErrorText.h"

#include <OGRE/OgreException.h>

#include <exception>

std::string currentErrorText(ErrorDetail detail)
{
    try
    {
        throw;
    }
    catch (const Ogre::Exception& error)
    {
        return detail == ErrorDetail::WithSource ? error.getFullDescription() : error.getDescription();
    }
    catch (const std::exception& error)  // the GUI library's too
    {
        return error.what();
    }
    catch (const char* text)
    {
        return text;
    }
    catch (const std::string& text)
    {
        return text;
    }
    catch (...)
    {
        return "unknown error";
    }
}
