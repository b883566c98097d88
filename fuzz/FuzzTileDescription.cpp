// Fuzzes the tile description reader, then places what it accepted in every rotation and
// walks it into a spline, so fuzzed points reach the path arithmetic too.
#include "FuzzInput.h"
#include "XMLParser.h"
#include "track/TrackGraph.h"
#include "track/TrackSpline.h"

#include <map>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<TrackObjectDesc> desc;
    try
    {
        desc = XMLParser::getInstance()->loadTrackObjectDesc(writeFuzzInput("tile.xml", data, size));
    }
    catch (const DataFileError&)
    {
        return 0;
    }
    TrackGraph graph;
    for (int rotation = 0; rotation < 4; ++rotation)
    {
        for (size_t i = 0; i < desc->lines.size(); ++i)
        {
            TileConnector connector;
            connector.setDirection(desc->lines[i].searchDirection);
            connector.rotate(rotation);
            for (const auto& name : desc->lines[i].pointNames)
            {
                const auto point = desc->points.find(name);
                if (point == desc->points.end())
                    continue;
                TrackNode node = point->second;
                node.place(rotation * 3, 0, rotation, desc->width, desc->height);
                graph.addNode(node);
                connector.addNode(node.getId());
            }
            if (rotation == 0 && i == 0)
                graph.setStart(connector);
            else if (rotation == 3 && i + 1 == desc->lines.size())
                graph.setEnd(connector);
            else
                graph.addConnector(connector);
        }
    }
    graph.buildPath();
    const TrackSpline* spline = graph.buildSpline();
    spline->getPointAt(spline->getLength() / 2);
    return 0;
}
