// The text of whatever was thrown, as the GUI start-up logs it and the editor shows it.
#include "ErrorText.h"

#include <OGRE/OgreException.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace
{
std::string textOf(const std::function<void()>& raise, ErrorDetail detail)
{
    try
    {
        raise();
    }
    catch (...)
    {
        return currentErrorText(detail);
    }
    return "nothing thrown";
}
}

TEST(ErrorText, EveryKindOfThrowBecomesItsText)
{
    const struct Case
    {
        const char* name;
        std::function<void()> raise;
        std::string message;  // for the player
    } cases[] = {
        {"a data reader's error", [] { throw std::runtime_error("\"a.map\": no Map element"); },
         "\"a.map\": no Map element"},
        {"a thrown text", [] { throw "Requested terrain could not be found!"; }, "Requested terrain could not be found!"},
        {"a thrown string", [] { throw std::string("CEGUI startup error!!"); }, "CEGUI startup error!!"},
        {"anything else", [] { throw 42; }, "unknown error"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textOf(c.raise, ErrorDetail::Message), c.message);
        EXPECT_EQ(textOf(c.raise, ErrorDetail::WithSource), c.message) << "only the engine's texts differ";
    }
}

TEST(ErrorText, TheEngineNamesWhereItFailedOnlyInTheLog)
{
    const auto raise = [] {
        OGRE_EXCEPT(Ogre::Exception::ERR_FILE_NOT_FOUND, "Cannot locate resource Desert.cfg", "openResource");
    };
    EXPECT_EQ(textOf(raise, ErrorDetail::Message), "Cannot locate resource Desert.cfg");
    const std::string logged = textOf(raise, ErrorDetail::WithSource);
    EXPECT_NE(logged.find("Cannot locate resource Desert.cfg"), std::string::npos) << logged;
    EXPECT_NE(logged.find("openResource"), std::string::npos) << logged;
}
