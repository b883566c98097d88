// The car file reader: one car file into a CarDesc with its VehicleDesc, wheels, motor,
// gearbox, cameras and sounds. Attributes are read by name, so their order never matters.
#include "XMLParser.h"

#include "LogStream.h"
#include "track/XmlFieldReader.h"

#include <tinyxml.h>

#include <limits>
#include <map>

namespace
{
const char* const kCarError = "Unable to read car!";
constexpr float kHuge = std::numeric_limits<float>::max();

using TireFunctionTable = std::map<std::string, nxOgre::NxTireFunctionDesc>;
using TireSetTable = std::map<std::string, Wheel::TireFunctions>;

// The children of a list element; anything but an element (a comment, stray text) is refused,
// so that nothing in a list is skipped without a word.
std::vector<const TiXmlElement*> listItems(const XmlFieldReader& reader, const TiXmlElement& list)
{
    std::vector<const TiXmlElement*> items;
    for (const TiXmlNode* node = list.FirstChild(); node; node = node->NextSibling())
    {
        const TiXmlElement* item = node->ToElement();
        if (!item)
            reader.fail(&list, std::string("<") + list.Value() + "> may hold only elements, but holds " +
                                   (node->ToComment() ? "a comment" : "text") + " (line " + std::to_string(node->Row()) +
                                   ")");
        items.push_back(item);
    }
    return items;
}

float real(const XmlFieldReader& reader, const TiXmlElement& element, const char* name, float fallback = 0.0f)
{
    return reader.optionalReal(element, name, fallback, -kHuge, kHuge);
}

Ogre::Vector3 readVector(const XmlFieldReader& reader, const TiXmlElement& element)
{
    return Ogre::Vector3(real(reader, element, "x"), real(reader, element, "y"), real(reader, element, "z"));
}

bool isTrue(const TiXmlElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value && std::string(value) == "true";
}

void readCurve(const XmlFieldReader& reader, const TiXmlElement& list, LinearCurve& curve)
{
    for (const TiXmlElement* point : listItems(reader, list))
        curve.addPoint(real(reader, *point, "x"), real(reader, *point, "y"));
}

// A fade's start and end; the end must lie after the start or its slope is meaningless.
std::pair<float, float> readFade(const XmlFieldReader& reader, const TiXmlElement& fade)
{
    const float start = real(reader, fade, "start"), end = real(reader, fade, "end");
    if (!(end > start))
        reader.fail(&fade, "<" + std::string(fade.Value()) + "> must end after it starts (start " +
                               std::to_string(start) + ", end " + std::to_string(end) + ")");
    return {start, end};
}

SoundDesc readSoundDesc(const XmlFieldReader& reader, const TiXmlElement& element)
{
    SoundDesc sound;
    sound.path = reader.requiredString(element, "path");
    sound.minValue = real(reader, element, "minvalue");
    sound.maxValue = real(reader, element, "maxvalue");
    if (const TiXmlElement* pitch = element.FirstChildElement("PitchManipulator"))
    {
        sound.pitchControl = true;
        sound.pitchFactor = real(reader, *pitch, "factor");
        sound.standardValue = real(reader, *pitch, "stdvalue", 1.0f);
    }
    if (const TiXmlElement* fadeIn = element.FirstChildElement("FadeIn"))
    {
        const auto [start, end] = readFade(reader, *fadeIn);
        sound.fadeSlopes.push_back(1.0f / (end - start));
        sound.fadeBreakpoints.push_back(end);
    }
    if (const TiXmlElement* fadeOut = element.FirstChildElement("FadeOut"))
    {
        const auto [start, end] = readFade(reader, *fadeOut);
        sound.fadeSlopes.push_back(-1.0f / (end - start));
        sound.fadeBreakpoints.push_back(start);
    }
    return sound;
}

void readSoundList(const XmlFieldReader& reader, const TiXmlElement& sounds, const char* name, std::vector<SoundDesc>& out)
{
    if (const TiXmlElement* list = sounds.FirstChildElement(name))
        for (const TiXmlElement* item : listItems(reader, *list))
            out.push_back(readSoundDesc(reader, *item));
}

void readSingleSound(const XmlFieldReader& reader, const TiXmlElement& sounds, const char* name, SoundDesc& out)
{
    if (const TiXmlElement* holder = sounds.FirstChildElement(name))
        out = readSoundDesc(reader, reader.child(*holder, "SoundFile"));
}

void readSounds(const XmlFieldReader& reader, const TiXmlElement& sounds, CarDesc& car)
{
    readSoundList(reader, sounds, "Motor", car.motorSounds);
    readSoundList(reader, sounds, "CarCrash", car.carCrashSounds);
    readSoundList(reader, sounds, "WheelCrash", car.wheelCrashSounds);
    readSingleSound(reader, sounds, "CrashTouch", car.crashTouchSound);
    readSingleSound(reader, sounds, "Skid", car.skidSound);
    readSingleSound(reader, sounds, "Terrain", car.terrainSound);
}

void readCameras(const XmlFieldReader& reader, const TiXmlElement& cams, CarDesc& car)
{
    for (const TiXmlElement* item : listItems(reader, cams))
    {
        CarCamDesc camera;
        if (const char* name = item->Attribute("name"))
            camera.name = name;
        camera.yawDegrees = real(reader, *item, "yaw");
        camera.smooth = isTrue(*item, "smooth");
        camera.position = readVector(reader, reader.child(*item, "Position"));
        camera.lookAt = readVector(reader, reader.child(*item, "LookAt"));
        if (camera.name.empty())
            debugLog() << reader.getFile() << ": line " << item->Row() << ": a camera without a name is left out\n";
        else
            car.cameras[camera.name] = camera;
    }
}

void readCameraSetup(const XmlFieldReader& reader, const TiXmlElement& setup, CarDesc& car)
{
    const std::pair<const char*, std::string*> roles[] = {{"followCam", &car.followCamera},
                                                          {"bumperCam", &car.bumperCamera},
                                                          {"hoodCam", &car.hoodCamera},
                                                          {"cockpitCam", &car.cockpitCamera}};
    for (const auto& [attribute, role] : roles)
    {
        const char* value = setup.Attribute(attribute);
        if (!value)
            continue;
        if (car.cameras.count(value))
            *role = value;
        else
            debugLog() << reader.getFile() << ": line " << setup.Row() << ": " << attribute << " names no camera \""
                       << value << "\"\n";
    }
}

void readGearbox(const XmlFieldReader& reader, const TiXmlElement& element, GearboxDesc& gearbox)
{
    gearbox.finalRatio = real(reader, element, "ratio");
    if (gearbox.finalRatio == 0.0f)
        reader.fail(&element, "the gearbox needs a final drive \"ratio\" other than 0");
    gearbox.backwardRatio = real(reader, element, "backward", gearbox.backwardRatio) * gearbox.finalRatio;
    gearbox.gearUpRpm = real(reader, element, "gearUp", gearbox.gearUpRpm);
    gearbox.gearDownRpm = real(reader, element, "gearDown", gearbox.gearDownRpm);
    for (const TiXmlElement* gear : listItems(reader, element))
        if (XmlFieldReader::has(*gear, "ratio"))
            gearbox.forwardRatios.push_back(real(reader, *gear, "ratio") * gearbox.finalRatio);
}

void readMotor(const XmlFieldReader& reader, const TiXmlElement& element, MotorDesc& motor)
{
    motor.maxRpm = real(reader, element, "maxRpm", motor.maxRpm);
    motor.minRpm = real(reader, element, "minRpm", motor.minRpm);
    if (const TiXmlElement* curve = element.FirstChildElement("TorqueCurve"))
        readCurve(reader, *curve, motor);
}

TireFunctionTable readTireFunctions(const XmlFieldReader& reader, const TiXmlElement* list)
{
    TireFunctionTable functions;
    if (!list)
        return functions;
    for (const TiXmlElement* item : listItems(reader, *list))
    {
        nxOgre::NxTireFunctionDesc f;
        f.extremumSlip = real(reader, *item, "extremumSlip", f.extremumSlip);
        f.extremumValue = real(reader, *item, "extremumValue", f.extremumValue);
        f.asymptoteSlip = real(reader, *item, "asymptoteSlip", f.asymptoteSlip);
        f.asymptoteValue = real(reader, *item, "asymptoteValue", f.asymptoteValue);
        f.stiffnessFactor = real(reader, *item, "stiffnessFactor", f.stiffnessFactor);
        // A curve that can't be evaluated gives no grip at all: refuse it rather than drive on ice.
        if (!f.isValid())
            reader.fail(item, "tyre function needs 0 < extremumSlip < asymptoteSlip");
        const char* name = item->Attribute("name");
        if (name && *name)
            functions[name] = f;
    }
    return functions;
}

TireSetTable readTireSets(const XmlFieldReader& reader, const TiXmlElement* list, const TireFunctionTable& functions)
{
    TireSetTable sets;
    if (!list)
        return sets;
    for (const TiXmlElement* item : listItems(reader, *list))
    {
        Wheel::TireFunctions set;
        const std::pair<const char*, nxOgre::NxTireFunctionDesc*> roles[] = {
            {"longitudinal", &set.longitudinal}, {"lateral", &set.lateral}, {"lateralslip", &set.lateralSlip},
            {"parklongitudinal", &set.parkLongitudinal}, {"parklateral", &set.parkLateral}};
        for (const auto& [role, function] : roles)
        {
            const char* functionName = item->Attribute(role);
            if (!functionName)
                continue;
            const auto found = functions.find(functionName);
            if (found != functions.end())
                *function = found->second;
            else
                debugLog() << reader.getFile() << ": line " << item->Row() << ": " << role << " names no tyre function \""
                           << functionName << "\"; the default road tyre takes its place\n";
        }
        const char* name = item->Attribute("name");
        if (name && *name)
            sets[name] = set;
    }
    return sets;
}

int wheelType(const XmlFieldReader& reader, const TiXmlElement& wheel)
{
    const char* value = wheel.Attribute("type");
    if (!value)
        return Wheel::kFree;
    const std::string type = value;
    if (type == "free")
        return Wheel::kFree;
    if (type == "drive")
        return Wheel::kDriven;
    if (type == "steer")
        return Wheel::kSteered;
    if (type == "driveandsteer")
        return Wheel::kDrivenAndSteered;
    debugLog() << reader.getFile() << ": line " << wheel.Row() << ": unknown wheel type \"" << type
               << "\", the wheel runs free\n";
    return Wheel::kFree;
}

WheelDesc readWheel(const XmlFieldReader& reader, const TiXmlElement& item, const TireSetTable& tireSets)
{
    WheelDesc wheel;
    wheel.type = wheelType(reader, item);
    // Springs are scaled by (travel + radius) / travel: both must be there and positive.
    wheel.radius = reader.optionalReal(item, "radius", wheel.radius, 0.0f, kHuge);
    wheel.suspensionTravel = reader.optionalReal(item, "suspension", wheel.suspensionTravel, 0.0f, kHuge);
    if (wheel.radius <= 0.0f)
        reader.fail(&item, "a wheel needs a radius above 0");
    if (wheel.suspensionTravel <= 0.0f)
        reader.fail(&item, "a wheel needs a \"suspension\" travel above 0");
    wheel.hasBrakes = isTrue(item, "hasbreaks");
    wheel.position = readVector(reader, reader.child(item, "Position"));
    if (const TiXmlElement* spring = item.FirstChildElement("Spring"))
    {
        wheel.spring = real(reader, *spring, "resitution", wheel.spring);
        wheel.damper = real(reader, *spring, "damping", wheel.damper);
        wheel.springTarget = real(reader, *spring, "bias", wheel.springTarget);
    }
    wheel.mesh = reader.text(reader.child(item, "Mesh"));
    const std::string tireName = reader.text(reader.child(item, "Tire"));
    const auto tires = tireSets.find(tireName);
    if (tires != tireSets.end())
        wheel.tires = tires->second;
    else
        debugLog() << reader.getFile() << ": line " << item.Row() << ": the wheel's tyre set \"" << tireName
                   << "\" is not defined; it keeps the default road tyres\n";
    return wheel;
}

void readVehicle(const XmlFieldReader& reader, const TiXmlElement& root, VehicleDesc& vehicle)
{
    reader.onlyChildren(root, {"CamSetup", "Cams", "CenterOfMass", "Effects", "Gearbox", "Meshes", "Motor", "Sounds",
                               "Steering", "TireFunctions", "Tires", "Wheels"});
    vehicle.mass = reader.optionalReal(root, "mass", vehicle.mass, 0.0f, kHuge);
    if (vehicle.mass <= 0.0f)
        reader.fail(&root, "the car's mass must be above 0");
    vehicle.airResistance = real(reader, root, "airresistance");
    if (const TiXmlElement* centre = root.FirstChildElement("CenterOfMass"))
        vehicle.centerOfMass = readVector(reader, *centre);
    const TiXmlElement& meshes = reader.child(root, "Meshes");
    vehicle.graphicMesh = reader.text(reader.child(meshes, "Graphic"));
    vehicle.physicsMesh = reader.text(reader.child(meshes, "Physic"));
    if (const TiXmlElement* gearbox = root.FirstChildElement("Gearbox"))
        readGearbox(reader, *gearbox, vehicle.gearbox);
    if (const TiXmlElement* motor = root.FirstChildElement("Motor"))
        readMotor(reader, *motor, vehicle.motor);
    if (const TiXmlElement* steering = root.FirstChildElement("Steering"))
    {
        if (const TiXmlElement* restriction = steering->FirstChildElement("SteerRestriction"))
            readCurve(reader, *restriction, vehicle.steeringRestriction);
        if (const TiXmlElement* speed = steering->FirstChildElement("SteerSpeed"))
            readCurve(reader, *speed, vehicle.steeringSpeed);
    }
    // Tyre functions before tyre sets, whatever their order in the file.
    const TireFunctionTable functions = readTireFunctions(reader, root.FirstChildElement("TireFunctions"));
    const TireSetTable tireSets = readTireSets(reader, root.FirstChildElement("Tires"), functions);
    if (const TiXmlElement* wheels = root.FirstChildElement("Wheels"))
        for (const TiXmlElement* item : listItems(reader, *wheels))
            vehicle.wheels.push_back(readWheel(reader, *item, tireSets));
}
}

std::unique_ptr<CarDesc> XMLParser::loadCar(const std::string& path)
{
    const XmlFieldReader reader(path, kCarError);
    const auto document = reader.load();
    const TiXmlElement& root = reader.root(*document, "Car");
    auto car = std::make_unique<CarDesc>();
    if (const char* name = root.Attribute("name"))
        car->name = car->vehicle->name = name;
    readVehicle(reader, root, *car->vehicle);
    if (const TiXmlElement* sounds = root.FirstChildElement("Sounds"))
        readSounds(reader, *sounds, *car);
    // Cameras before their roles, whatever their order in the file.
    if (const TiXmlElement* cams = root.FirstChildElement("Cams"))
        readCameras(reader, *cams, *car);
    if (const TiXmlElement* setup = root.FirstChildElement("CamSetup"))
        readCameraSetup(reader, *setup, *car);
    // The race camera starts at the follow camera: a car without one can't be raced.
    if (car->followCamera.empty())
        reader.fail(&root, "the car needs a follow camera: <CamSetup followCam> must name one of its <Cams>");
    if (const TiXmlElement* effects = root.FirstChildElement("Effects"))
        if (const TiXmlElement* brakeLights = effects->FirstChildElement("BrakeLights"))
            if (const char* material = brakeLights->Attribute("material"))
                car->brakeLightMaterial = material;
    return car;
}
