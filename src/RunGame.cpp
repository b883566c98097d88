// The game run with its error report.
#include "RunGame.h"

#include "GameManager.h"

#include <OGRE/OgreException.h>

#include <exception>
#include <iostream>
#include <string>

int runGame(GameManager& manager)
{
    int status = 0;
    try
    {
        manager.start();
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "An exception has occured: " << error.getFullDescription() << std::endl;
        status = 1;
    }
    catch (const std::string& message)
    {
        std::cerr << "Quillmor Error: " << message << std::endl;
        status = 1;
    }
    catch (const char* message)
    {
        // A plain text ("Unable to read map!") that no screen caught: reported like the others.
        std::cerr << "Quillmor Error: " << message << std::endl;
        status = 1;
    }
    catch (const std::exception& error)
    {
        std::cerr << "Quillmor Error: " << error.what() << std::endl;
        status = 1;
    }
    manager.shutdown();
    return status;
}
