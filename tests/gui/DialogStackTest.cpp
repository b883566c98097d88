// The editor's dialog stack without a window: which dialog lies on top as they open and
// close, and what Escape and Enter do to it.
#include "gui/DialogStack.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Beside the enum, for the test's messages to name the dialogs.
static std::ostream& operator<<(std::ostream& out, EditorDialog dialog)
{
    const char* const names[] = {"Save", "Load", "Terrain", "Error", "Overwrite"};
    return out << names[static_cast<int>(dialog)];
}

namespace
{
using D = EditorDialog;
using Answer = DialogStack::Answer;

// A step: open or close a dialog.
struct Step
{
    bool open;
    EditorDialog dialog;
};
Step open(EditorDialog dialog)
{
    return {true, dialog};
}
Step close(EditorDialog dialog)
{
    return {false, dialog};
}
}

TEST(DialogStack, TheLastOpenedLiesOnTopAndClosingUncoversTheOneBelow)
{
    const struct Case
    {
        const char* name;
        std::vector<Step> steps;
        std::vector<EditorDialog> topDown;  // what is left open, from the top
    } cases[] = {
        {"none opened", {}, {}},
        {"the save dialog", {open(D::Save)}, {D::Save}},
        {"a refused name's error over the save dialog", {open(D::Save), open(D::Error)}, {D::Error, D::Save}},
        {"the error closed again", {open(D::Save), open(D::Error), close(D::Error)}, {D::Save}},
        {"replace? over the save dialog", {open(D::Save), open(D::Overwrite)}, {D::Overwrite, D::Save}},
        {"replaced, the save failed: the error over the save dialog",
         {open(D::Save), open(D::Overwrite), close(D::Overwrite), open(D::Error)}, {D::Error, D::Save}},
        {"saved: the save dialog closes under nothing", {open(D::Save), close(D::Save)}, {}},
        {"a dialog opened again moves to the top, once",
         {open(D::Load), open(D::Save), open(D::Load)}, {D::Load, D::Save}},
        {"one closed below the top leaves the top alone",
         {open(D::Save), open(D::Overwrite), close(D::Save)}, {D::Overwrite}},
        {"closing one not open changes nothing", {open(D::Terrain), close(D::Load)}, {D::Terrain}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        DialogStack dialogs;
        for (const Step& step : c.steps)
            step.open ? dialogs.open(step.dialog) : dialogs.close(step.dialog);
        for (EditorDialog expected : c.topDown)
        {
            ASSERT_TRUE(dialogs.top().has_value()) << "expected " << expected;
            EXPECT_EQ(*dialogs.top(), expected);
            EXPECT_TRUE(dialogs.isOpen(expected));
            dialogs.close(expected);
            EXPECT_FALSE(dialogs.isOpen(expected)) << expected << " was open twice";
        }
        EXPECT_TRUE(dialogs.empty());
        EXPECT_FALSE(dialogs.top().has_value());
    }
}

TEST(DialogStack, EscapeAndEnterAnswerTheDialogOnTop)
{
    const struct Case
    {
        const char* name;
        std::vector<EditorDialog> opened;  // in order
        Answer escape;
        Answer enter;
        EditorDialog answered;  // the dialog both keys act on
    } cases[] = {
        // With nothing open Escape leaves the editor and Enter does nothing.
        {"no dialog", {}, Answer::LeaveEditor, Answer::Nothing, D::Save},
        {"the save dialog: Back, Save", {D::Save}, Answer::Close, Answer::Confirm, D::Save},
        {"the load dialog: Back, Load", {D::Load}, Answer::Close, Answer::Confirm, D::Load},
        {"the terrain dialog: Back, OK", {D::Terrain}, Answer::Close, Answer::Confirm, D::Terrain},
        // The error has only OK; Escape gives it too, and the save dialog below stays.
        {"an error over the save dialog", {D::Save, D::Error}, Answer::Confirm, Answer::Confirm, D::Error},
        {"an error alone", {D::Error}, Answer::Confirm, Answer::Confirm, D::Error},
        // Enter is Replace; Escape closes the question without answering it.
        {"replace? over the save dialog", {D::Save, D::Overwrite}, Answer::Close, Answer::Confirm, D::Overwrite},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        DialogStack dialogs;
        for (EditorDialog dialog : c.opened)
            dialogs.open(dialog);
        const DialogStack::KeyAction escape = dialogs.onEscape(), enter = dialogs.onEnter();
        EXPECT_EQ(escape.answer, c.escape);
        EXPECT_EQ(enter.answer, c.enter);
        if (!c.opened.empty())
        {
            EXPECT_EQ(escape.dialog, c.answered);
            EXPECT_EQ(enter.dialog, c.answered);
        }
    }
}
