// The GUI library on its renderer that draws nothing, with our skin, fonts and layouts from the
// build's media: for the tests of layouts and list widgets. Started once per test binary.
#pragma once

namespace NullGui
{
// Starts the GUI system on the first call; later calls do nothing.
void start();
}
