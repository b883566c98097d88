// Which GPU programs the render system runs. On GL both are always there; tests pass
// other values to reach the fixed-function paths.
#pragma once

namespace sky
{
struct ShaderSupport
{
    bool vertexPrograms = false;
    bool fragmentPrograms = false;

    // What the engine's current render system reports; none without a render system.
    static ShaderSupport fromRenderSystem();
};
}
