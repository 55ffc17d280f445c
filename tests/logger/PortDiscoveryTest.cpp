#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

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

// "Port" as the settings store reads Tellurix.ini; without one the attached bridge is used.
struct SettingsPortCase {
  const char* name;
  const char* text;  // the settings file
  const char* port;
};
void PrintTo(const SettingsPortCase& c, std::ostream* os) {
  *os << c.name;
}

class SettingsPortTest : public PortDiscoveryTest, public ::testing::WithParamInterface<SettingsPortCase> {};

TEST_P(SettingsPortTest, ReadsPortOfSectionSetting) {
  plugIn("ttyUSB0", "pl2303");
  testing::writeFile(places.settingsFile, GetParam().text);
  EXPECT_EQ(FindLoggerPort(places), GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsPortTest,
    ::testing::Values(
        SettingsPortCase{"crlf_lines", "[Setting]\r\nOver Speed=90\r\nPort=ttyUSB2\r\n", "ttyUSB2"},
        SettingsPortCase{"names_ignore_case_and_blanks", "[ setting ]\nport = /dev/ttyUSB1 \n",
                         "/dev/ttyUSB1"},
        SettingsPortCase{"quotes_are_dropped", "[Setting]\nPort=\"/tmp/a b\"\n", "/tmp/a b"},
        SettingsPortCase{"empty_quotes_are_no_port", "[Setting]\nPort=\"\"\n", "ttyUSB0"},
        SettingsPortCase{"other_section", "[Other]\nPort=ttyS0\n[Setting]\nUnit=KPH\n", "ttyUSB0"},
        SettingsPortCase{"first_key_wins", "[Setting]\nPort=ttyS1\nPort=ttyS2\n", "ttyS1"},
        SettingsPortCase{"comment", "[Setting]\n;Port=ttyS1\n", "ttyUSB0"},
        SettingsPortCase{"empty_file", "", "ttyUSB0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortDiscoveryTest, MissingSettingsFileLeavesDiscovery) {
  plugIn("ttyUSB0", "pl2303");
  places.settingsFile = dir.file("missing/Tellurix.ini");
  EXPECT_EQ(FindLoggerPort(places), "ttyUSB0");
}

}  // namespace
}  // namespace tellurix::platform
