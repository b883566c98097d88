// The car file reader: the shipped Roadster, the format's rules, and every kind of bad
// file refused with an error that names the file and the problem.
#include "XMLParser.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
const std::string kRoadster = std::string(QUILLMOR_SOURCE_DIR) + "/media/cars/Roadster.xml";

// The cameras a car needs; a test's own <Cams> and <CamSetup>, put before these, win.
const std::string kFollowCamera =
    "<Cams><C name=\"follow\"><Position/><LookAt/></C></Cams><CamSetup followCam=\"follow\"/>";

// A small valid car; the tests put parts into it.
std::string carFile(const std::string& inside, const std::string& root = "Car", const std::string& cameras = kFollowCamera)
{
    return "<" + root + " name=\"Red\" mass=\"900\" airresistance=\"0.2\">"
           "<Meshes><Graphic>red.mesh</Graphic><Physic>redHull.mesh</Physic></Meshes>" +
           inside + cameras + "</" + root + ">";
}

const std::string kWheel = "<Wheel type=\"drive\" radius=\"0.3\" suspension=\"0.2\" hasbreaks=\"true\">"
                           "<Position x=\"1\" y=\"2\" z=\"3\"/><Mesh>w.mesh</Mesh><Tire>t</Tire></Wheel>";
}

TEST(CarFile, TheShippedRoadsterLoadsWhole)
{
    auto car = XMLParser::getInstance()->loadCar(kRoadster);
    ASSERT_TRUE(car);
    const VehicleDesc& v = *car->vehicle;
    EXPECT_EQ("Roadster", car->name);
    EXPECT_EQ("Roadster", v.name);
    EXPECT_EQ("Roadster.mesh", v.graphicMesh);
    EXPECT_EQ("RoadsterHull.mesh", v.physicsMesh);
    ASSERT_EQ(4u, v.wheels.size());
    EXPECT_EQ(Wheel::kSteered, v.wheels[0].type);
    EXPECT_EQ(Wheel::kDriven, v.wheels[3].type);
    EXPECT_TRUE(v.wheels[3].hasBrakes);
    EXPECT_FLOAT_EQ(1.667f, v.wheels[0].tires.longitudinal.stiffnessFactor);
    EXPECT_FLOAT_EQ(0.45f, v.wheels[0].tires.lateralSlip.extremumValue);
    ASSERT_EQ(5u, v.gearbox.forwardRatios.size());
    EXPECT_FLOAT_EQ(3.5f * 3.7f, v.gearbox.forwardRatios[0]);
    EXPECT_FLOAT_EQ(-3.2f * 3.7f, v.gearbox.backwardRatio);
    EXPECT_FLOAT_EQ(7000.0f, v.motor.maxRpm);
    EXPECT_GT(v.steeringRestriction.getPointCount(), 2u);
    ASSERT_EQ(4u, car->motorSounds.size());
    EXPECT_EQ(2u, car->motorSounds[1].fadeSlopes.size());
    EXPECT_TRUE(car->motorSounds[1].pitchControl);
    EXPECT_EQ("../media/sounds/skid.ogg", car->skidSound.path);
    EXPECT_EQ("follow", car->followCamera);
    EXPECT_EQ("cockpit", car->cockpitCamera);
    EXPECT_EQ("Roadster/BrakeLight", car->brakeLightMaterial);
    XMLParser::getInstance()->deleteCarDesc(car);
    EXPECT_FALSE(car);
}

TEST(CarFile, GearsIncludeTheFinalDrive)
{
    TempFolder folder;
    const auto car = XMLParser::getInstance()->loadCar(folder.write(
        "car.xml", carFile("<Gearbox ratio=\"3.0\" backward=\"2.0\" gearUp=\"5000\"><G ratio=\"2.5\"/><G/><G ratio=\"1.5\"/></Gearbox>")));
    EXPECT_FLOAT_EQ(6.0f, car->vehicle->gearbox.backwardRatio);
    EXPECT_EQ((std::vector<float>{7.5f, 4.5f}), car->vehicle->gearbox.forwardRatios) << "a gear without a ratio adds none";
    EXPECT_FLOAT_EQ(5000.0f, car->vehicle->gearbox.gearUpRpm);
    EXPECT_FLOAT_EQ(4000.0f, car->vehicle->gearbox.gearDownRpm) << "the default stays";
    EXPECT_FLOAT_EQ(900.0f, car->vehicle->mass);
    EXPECT_FLOAT_EQ(0.2f, car->vehicle->airResistance);
}

TEST(CarFile, SoundEntriesAreReadByNameInAnyOrder)
{
    TempFolder folder;
    const auto car = XMLParser::getInstance()->loadCar(folder.write(
        "car.xml",
        carFile("<Sounds><Motor><S maxvalue=\"4000\" minvalue=\"1000\" path=\"e.ogg\">"
                "<FadeOut end=\"4000\" start=\"3000\"/><FadeIn start=\"1000\" end=\"1500\"/>"
                "<PitchManipulator stdvalue=\"2000\" factor=\"0.0005\"/></S></Motor>"
                "<Skid><SoundFile path=\"skid.ogg\"/></Skid></Sounds>")));
    ASSERT_EQ(1u, car->motorSounds.size());
    const SoundDesc& s = car->motorSounds[0];
    EXPECT_EQ("e.ogg", s.path);
    EXPECT_FLOAT_EQ(1000.0f, s.minValue);
    EXPECT_FLOAT_EQ(4000.0f, s.maxValue) << "an attribute before the one asked for is not lost";
    EXPECT_TRUE(s.pitchControl);
    EXPECT_FLOAT_EQ(0.0005f, s.pitchFactor);
    EXPECT_FLOAT_EQ(2000.0f, s.standardValue);
    // Fade-in first, then fade-out, whatever their order in the file.
    EXPECT_EQ((std::vector<float>{1.0f / 500.0f, -1.0f / 1000.0f}), s.fadeSlopes);
    EXPECT_EQ((std::vector<float>{1500.0f, 3000.0f}), s.fadeBreakpoints);
    EXPECT_EQ("skid.ogg", car->skidSound.path);
    EXPECT_TRUE(car->terrainSound.path.empty()) << "an absent single sound means none";
}

TEST(CarFile, CamerasRolesAndTyresFollowTheirLookups)
{
    TempFolder folder;
    const auto car = XMLParser::getInstance()->loadCar(folder.write(
        "car.xml",
        carFile("<CamSetup followCam=\"chase\" hoodCam=\"nowhere\"/>"
                "<Cams><C name=\"chase\" yaw=\"5\" smooth=\"true\"><Position x=\"-5\" y=\"2\"/><LookAt x=\"1\" y=\"0\" z=\"0\"/></C>"
                "<C yaw=\"1\"><Position/><LookAt/></C><C name=\"low\" smooth=\"True\"><Position/><LookAt/></C></Cams>"
                "<Tires><T name=\"t\" lateral=\"grip\" longitudinal=\"missing\"/></Tires>"
                "<TireFunctions><F name=\"grip\" extremumSlip=\"1\" extremumValue=\"0.9\" asymptoteSlip=\"4\" "
                "asymptoteValue=\"0.7\" stiffnessFactor=\"2\"/></TireFunctions>"
                "<Wheels>" + kWheel + "<Wheel type=\"hover\" hasbreaks=\"True\"><Position/><Mesh>w.mesh</Mesh><Tire>none</Tire></Wheel></Wheels>")));
    EXPECT_EQ(2u, car->cameras.size()) << "a camera without a name is dropped";
    EXPECT_EQ("chase", car->followCamera) << "roles are read after the cameras";
    EXPECT_TRUE(car->hoodCamera.empty()) << "a role naming no camera stays empty";
    const CarCamDesc& chase = car->cameras.at("chase");
    EXPECT_TRUE(chase.smooth);
    EXPECT_FALSE(car->cameras.at("low").smooth) << "only \"true\" turns smoothing on";
    EXPECT_FLOAT_EQ(5.0f, chase.yawDegrees);
    EXPECT_EQ(Ogre::Vector3(-5, 2, 0), chase.position) << "a missing coordinate is 0";

    ASSERT_EQ(2u, car->vehicle->wheels.size());
    const WheelDesc& driven = car->vehicle->wheels[0];
    const nxOgre::NxTireFunctionDesc standard;
    EXPECT_EQ(Ogre::Vector3(1, 2, 3), driven.position);
    EXPECT_FLOAT_EQ(0.9f, driven.tires.lateral.extremumValue) << "functions are read before sets, whatever the order";
    EXPECT_FLOAT_EQ(standard.extremumValue, driven.tires.longitudinal.extremumValue) << "an unknown function leaves the default";
    const WheelDesc& odd = car->vehicle->wheels[1];
    EXPECT_EQ(Wheel::kFree, odd.type) << "an unknown type runs free";
    EXPECT_FALSE(odd.hasBrakes) << "only \"true\" gives brakes";
    EXPECT_FLOAT_EQ(standard.stiffnessFactor, odd.tires.lateral.stiffnessFactor) << "an unknown tyre set leaves the defaults";
}

TEST(CarFile, BadFilesAreRefusedNamingTheFileAndTheProblem)
{
    struct Case
    {
        const char* what;
        std::string content;  // empty: no file at all
        const char* problem;  // part of the message
    };
    const std::string wheels = "<Wheels>" + kWheel + "</Wheels>";
    const Case cases[] = {
        {"missing file", "", "No such file or directory"},
        {"not XML", "<Car><Meshes>", "line"},
        {"wrong root", carFile("", "Truck"), "<Truck>"},
        {"no meshes", "<Car name=\"x\"/>", "<Meshes> is missing"},
        {"no physics mesh", "<Car><Meshes><Graphic>a.mesh</Graphic></Meshes></Car>", "<Physic> is missing"},
        {"empty graphic mesh", "<Car><Meshes><Graphic/><Physic>a</Physic></Meshes></Car>", "<Graphic> has no text"},
        {"comment in a list", carFile("<Wheels>" + kWheel + "<!-- spare -->" + "</Wheels>"), "a comment"},
        {"comment in a curve", carFile("<Motor><TorqueCurve><P x=\"1\" y=\"2\"/><!-- more --></TorqueCurve></Motor>"), "a comment"},
        {"fade of no length", carFile("<Sounds><Motor><S path=\"a.ogg\"><FadeIn start=\"900\" end=\"900\"/></S></Motor></Sounds>"),
         "must end after it starts"},
        {"reversed fade", carFile("<Sounds><Motor><S path=\"a.ogg\"><FadeOut start=\"900\" end=\"100\"/></S></Motor></Sounds>"),
         "must end after it starts"},
        {"sound without a path", carFile("<Sounds><Skid><SoundFile minvalue=\"1\"/></Skid></Sounds>"), "\"path\""},
        {"wheel without travel", carFile("<Wheels><Wheel suspension=\"0\"><Position/><Mesh>w</Mesh><Tire>t</Tire></Wheel></Wheels>"),
         "travel above 0"},
        {"wheel without radius", carFile("<Wheels><Wheel radius=\"0\"><Position/><Mesh>w</Mesh><Tire>t</Tire></Wheel></Wheels>"),
         "radius"},
        {"wheel without mesh", carFile("<Wheels><Wheel><Position/><Tire>t</Tire></Wheel></Wheels>"), "<Mesh> is missing"},
        {"wheel without position", carFile("<Wheels><Wheel><Mesh>w</Mesh><Tire>t</Tire></Wheel></Wheels>"), "<Position> is missing"},
        {"zero final ratio", carFile("<Gearbox backward=\"-3\"><G ratio=\"3\"/></Gearbox>" + wheels), "final drive"},
        {"camera without look-at", carFile("<Cams><C name=\"a\"><Position/></C></Cams>"), "<LookAt> is missing"},
        {"unusable tyre curve", carFile("<TireFunctions><F name=\"f\" extremumSlip=\"3\" asymptoteSlip=\"2\"/></TireFunctions>"),
         "extremumSlip"},
        {"mass not a number", "<Car mass=\"heavy\"><Meshes><Graphic>a</Graphic><Physic>b</Physic></Meshes></Car>", "not a number"},
        {"no cameras", carFile("", "Car", ""), "needs a follow camera"},
        {"follow role naming no camera", carFile("<Cams><C name=\"a\"><Position/><LookAt/></C></Cams><CamSetup followCam=\"b\"/>"),
         "needs a follow camera"},
        {"no mass", "<Car mass=\"0\"><Meshes><Graphic>a</Graphic><Physic>b</Physic></Meshes></Car>", "mass"},
    };
    TempFolder folder;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::string path = c.content.empty() ? folder.path() + "absent.xml" : folder.write("bad.xml", c.content);
        try
        {
            XMLParser::getInstance()->loadCar(path);
            ADD_FAILURE() << "loaded";
        }
        catch (const DataFileError& error)
        {
            EXPECT_EQ(path, error.getFile());
            EXPECT_EQ("Unable to read car!", error.getMessage());
            EXPECT_NE(std::string::npos, error.getProblem().find(c.problem)) << error.what();
        }
    }
}

TEST(CarFile, DamagedBytesNeverReadOutsideTheFile)
{
    // Found by fuzzing: with its UTF-8 decoding, the XML library read past its buffer here.
    const std::string path = std::string(QUILLMOR_TEST_DATA_DIR) + "/cars/tinyxml-overread.xml";
    try
    {
        XMLParser::getInstance()->loadCar(path);
    }
    catch (const DataFileError& error)
    {
        EXPECT_NE(std::string::npos, std::string(error.what()).find(path));
    }
}
