#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/IniFile.h"
#include "platform/PortDiscovery.h"
#include "support/TestFiles.h"

namespace tellurix::platform {
namespace {

namespace fs = std::filesystem;

// A small /sys/class/tty and /dev of our own.
class PortDiscoveryTest : public ::testing::Test {
 protected:
  PortDiscoveryTest() {
    fs::create_directories(dir.path() / "class");
    fs::create_directories(dir.path() / "dev");
    places.ttyClassFolder = (dir.path() / "class").string();
    places.deviceFolder = (dir.path() / "dev").string();
    places.settingsFile = dir.file("Tellurix.ini");
  }

  // A tty whose device is driven by `driver` (none: a tty without a device), plugged in now.
  void plugIn(const std::string& name, const std::string& driver) {
    const fs::path tty = dir.path() / "class" / name;
    fs::create_directories(tty);
    if (!driver.empty()) {
      const fs::path driverFolder = dir.path() / "drivers" / driver;
      fs::create_directories(driverFolder);
      fs::create_directories(tty / "device");
      fs::create_directory_symlink(driverFolder, tty / "device" / "driver");
    }
    testing::writeFile(dir.path() / "dev" / name, "");
    // Device times are coarse; what is plugged in next must be later.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }

  testing::TempDir dir;
  DiscoveryPlaces places;
};

TEST_F(PortDiscoveryTest, BridgeAttachedLastWinsOverItsName) {
  plugIn("ttyUSB1", "pl2303");
  plugIn("ttyUSB0", "pl2303");
  EXPECT_EQ(FindLoggerPort(places), "ttyUSB0");
}

TEST_F(PortDiscoveryTest, OtherDriversAndBareTtysAreNoBridge) {
  plugIn("ttyUSB3", "pl2303");
  plugIn("ttyACM0", "cdc_acm");
  plugIn("ttyS0", "");
  EXPECT_EQ(FindLoggerPort(places), "ttyUSB3");
}

TEST_F(PortDiscoveryTest, BridgeWithoutDeviceNodeIsSkipped) {
  plugIn("ttyUSB0", "pl2303");
  plugIn("ttyUSB1", "pl2303");
  fs::remove(dir.path() / "dev" / "ttyUSB1");
  EXPECT_EQ(FindLoggerPort(places), "ttyUSB0");
}

TEST_F(PortDiscoveryTest, NoBridgeGivesNothing) {
  plugIn("ttyACM0", "cdc_acm");
  EXPECT_EQ(FindLoggerPort(places), std::nullopt);
  places.ttyClassFolder = dir.file("missing");
  EXPECT_EQ(FindLoggerPort(places), std::nullopt);
}

TEST_F(PortDiscoveryTest, ExplicitPortOverridesDiscovery) {
  plugIn("ttyUSB0", "pl2303");
  testing::writeFile(places.settingsFile, "[Setting]\r\nPort=/dev/ttyLogger\r\n");
  EXPECT_EQ(FindLoggerPort(places), "/dev/ttyLogger");
  places.portOverride = "ttyS7";
  EXPECT_EQ(FindLoggerPort(places), "ttyS7") << "the environment comes before the settings";
  places.portOverride = "";
  EXPECT_EQ(FindLoggerPort(places), "/dev/ttyLogger") << "an empty variable sets nothing";
  testing::writeFile(places.settingsFile, "[Setting]\r\nPort=\r\n");
  EXPECT_EQ(FindLoggerPort(places), "ttyUSB0");
}

struct IniCase {
  const char* name;
  const char* text;
  std::optional<std::string> port;
};
void PrintTo(const IniCase& c, std::ostream* os) {
  *os << c.name;
}

class IniFileTest : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniFileTest, ReadsPortOfSectionSetting) {
  testing::TempDir dir;
  testing::writeFile(dir.path() / "Tellurix.ini", GetParam().text);
  EXPECT_EQ(readIniValue(dir.file("Tellurix.ini"), "Setting", "Port"), GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniFileTest,
    ::testing::Values(
        IniCase{"crlf_lines", "[Setting]\r\nOver Speed=90\r\nPort=ttyUSB2\r\n", std::string("ttyUSB2")},
        IniCase{"names_ignore_case_and_blanks", "[ setting ]\nport = /dev/ttyUSB1 \n",
                std::string("/dev/ttyUSB1")},
        IniCase{"quotes_are_dropped", "[Setting]\nPort=\"/tmp/a b\"\n", std::string("/tmp/a b")},
        IniCase{"other_section", "[Other]\nPort=ttyS0\n[Setting]\nUnit=KPH\n", std::nullopt},
        IniCase{"first_key_wins", "[Setting]\nPort=ttyS1\nPort=ttyS2\n", std::string("ttyS1")},
        IniCase{"comment", "[Setting]\n;Port=ttyS1\n", std::nullopt},
        IniCase{"empty_file", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileTest, MissingFileGivesNothing) {
  EXPECT_EQ(readIniValue("/nonexistent/Tellurix.ini", "Setting", "Port"), std::nullopt);
}

}  // namespace
}  // namespace tellurix::platform
