// Drives a car file through a scripted run on a flat floor and prints one CSV line per
// step: time, speed, engine rpm, gear, largest lateral slip, longitudinal slip of the
// driven wheels. The way we tune cars.
//
// usage: quillmor_cardrive <media folder> [car file in cars/] [script file]
// A script line is "seconds throttle brake steer [handbrake]", steer 1 full left; "#"
// starts a comment. Without a script: full throttle for 12 s, then full brake for 6 s.
#include "RoadsterDrive.h"

#include <OGRE/OgreException.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

namespace
{
struct Segment
{
    float seconds = 0.0f;
    RoadsterDrive::Inputs inputs;
};

// Null on a bad line, after saying which.
bool readScript(std::istream& in, const std::string& name, std::vector<Segment>& script)
{
    std::string line;
    for (int number = 1; std::getline(in, line); ++number)
    {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        Segment segment;
        int handbrake = 0;
        if (!(fields >> segment.seconds))
            continue;  // blank or comment
        if (!(fields >> segment.inputs.throttle >> segment.inputs.brake >> segment.inputs.steer) || segment.seconds < 0)
        {
            std::cerr << name << ": line " << number << ": expected \"seconds throttle brake steer [handbrake]\"\n";
            return false;
        }
        fields >> handbrake;
        segment.inputs.handbrake = handbrake != 0;
        segment.inputs.digitalSteer = false;
        script.push_back(segment);
    }
    return true;
}

float drivenLongitudinalSlip(const VehicleSR& vehicle)
{
    float largest = 0.0f;
    for (const auto& wheel : vehicle.getWheels())
        if (wheel->isDriven() && wheel->getContactData())
            largest = std::max(largest, std::fabs(wheel->getContactData()->longitudalSlip));
    return largest;
}
}

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4)
    {
        std::cerr << "usage: quillmor_cardrive <media folder> [car file in cars/] [script file]\n";
        return 2;
    }
    std::vector<Segment> script;
    if (argc == 4)
    {
        std::ifstream file(argv[3]);
        if (!file)
        {
            std::cerr << argv[3] << ": can't be read\n";
            return 1;
        }
        if (!readScript(file, argv[3], script))
            return 1;
    }
    else
    {
        script.push_back({12.0f, {1.0f, 0.0f, 0.0f, false, false}});
        script.push_back({6.0f, {0.0f, 1.0f, 0.0f, false, false}});
    }
    try
    {
        RoadsterDrive drive(argv[1], argc >= 3 ? argv[2] : "Roadster.xml");
        drive.run(1.0f);  // settle on the springs
        std::printf("time_s,speed_kmh,rpm,gear,lateral_slip,longitudinal_slip\n");
        const float start = drive.time();
        for (const Segment& segment : script)
        {
            drive.inputs = segment.inputs;
            drive.run(segment.seconds, [&] {
                const VehicleSR& v = drive.vehicle();
                std::printf("%.2f,%.2f,%.0f,%d,%.3f,%.3f\n", drive.time() - start, drive.forwardKmh(), v.getRpm(),
                            v.getGearbox()->getGear(), drive.largestLateralSlip(), drivenLongitudinalSlip(v));
                return true;
            });
        }
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << error.getFullDescription() << "\n";
        return 1;
    }
    catch (const std::exception& error)
    {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
