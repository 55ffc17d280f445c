#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ExifFixtures.h"
#include "TaggingFixtures.h"
#include "support/TestFiles.h"
#include "tagging/PhotoCommands.h"
#include "tracklog/Errors.h"

namespace tellurix::tagging {
namespace {

namespace fs = std::filesystem;

std::string photoDated(const std::string& exifDate) {
  fixtures::ExifLayout layout;
  layout.date = exifDate;
  return fixtures::exifJpeg(layout);
}

// A report folder with a track from 10:00:00 to 10:00:30 and a camera folder beside it.
class PhotoCommandsTest : public ::testing::Test {
 protected:
  PhotoCommandsTest() {
    session.names.reportFolder = dir.file("trips/2010-09-09") + "/";
    fs::create_directories(session.names.reportFolder);
    fs::create_directories(dir.path() / "camera");
    fixtures::fillTrack(session.store, {"2010/09/09 10:00:00", "2010/09/09 10:00:10", "2010/09/09 10:00:20",
                                        "2010/09/09 10:00:30"});
  }

  std::string camera(const std::string& name, const std::string& bytes) const {
    const std::string path = dir.file("camera/" + name);
    testing::writeFile(path, bytes);
    return path;
  }
  [[nodiscard]] fs::path copyOf(const std::string& name) const { return photoCopyPath(session.names, name); }

  LoadOutcome load(const std::vector<std::string>& paths) { return loadPhotos(list, paths, session, ui); }

  testing::TempDir dir;
  report::ReportSession session;
  PhotoList list;
  fixtures::RecordingTaggingUi ui;
};

TEST_F(PhotoCommandsTest, LoadCopiesEveryPhotoAndListsItsTimeAndPlace) {
  const auto outcome = load({camera("IMG_0001.JPG", photoDated("2010:09:09 10:00:05")),
                             camera("IMG_0002.JPG", photoDated("2010:09:09 11:00:00")),
                             camera("scan.png", "\x89PNG\r\n\x1A\n")});
  EXPECT_EQ(outcome, LoadOutcome::Complete);
  EXPECT_EQ(list.rows(),
            (std::vector<PhotoEntry>{{"IMG_0001.JPG", "2010/09/09 10:00:05", "(25.001000)", "(-121.001000)"},
                                     {"IMG_0002.JPG", "2010/09/09 11:00:00", "", ""},
                                     {"scan.png", "2000/01/01 10:10:10", "", ""}}));
  EXPECT_EQ(testing::readFile(copyOf("IMG_0001.JPG")), photoDated("2010:09:09 10:00:05"));
  EXPECT_TRUE(fs::exists(copyOf("scan.png")));
  EXPECT_EQ(ui.events, (std::vector<std::string>{"status Loading pictures...", "status Loading complete"}));
}

TEST_F(PhotoCommandsTest, RowsAreKeyedByTheirNameWithItsCase) {
  const std::string first = camera("a.jpg", photoDated("2010:09:09 10:00:05"));
  fs::create_directories(dir.path() / "other");
  const std::string sameName = dir.file("other/a.jpg");
  testing::writeFile(sameName, photoDated("2010:09:09 10:00:15"));
  load({first, first, sameName, camera("A.jpg", photoDated("2010:09:09 10:00:15"))});
  ASSERT_EQ(list.size(), 2U);
  EXPECT_EQ(list.row(0).name, "a.jpg");
  EXPECT_EQ(list.row(0).date, "2010/09/09 10:00:05");  // the skipped file did not replace the copy
  EXPECT_EQ(testing::readFile(copyOf("a.jpg")), photoDated("2010:09:09 10:00:05"));
  EXPECT_EQ(list.row(1).name, "A.jpg");
}

TEST_F(PhotoCommandsTest, LoadReplacesAnOlderCopy) {
  fs::create_directories(photoFolderOf(session.names));
  testing::writeFile(copyOf("a.jpg"), "left over from an earlier run");
  load({camera("a.jpg", photoDated("2010:09:09 10:00:05"))});
  EXPECT_EQ(testing::readFile(copyOf("a.jpg")), photoDated("2010:09:09 10:00:05"));
}

TEST_F(PhotoCommandsTest, ACopyOfAWriteProtectedPhotoIsWritableWhileTheOriginalStaysProtected) {
  const std::string original = camera("a.jpg", photoDated("2010:09:09 10:00:05"));
  const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(original, readOnly);
  load({original});
  EXPECT_EQ(fs::status(copyOf("a.jpg")).permissions(), readOnly | fs::perms::owner_write);
  EXPECT_EQ(fs::status(original).permissions(), readOnly);
}

TEST_F(PhotoCommandsTest, APhotoFromThePhotoFolderIsReadInPlace) {
  fs::create_directories(photoFolderOf(session.names));
  testing::writeFile(copyOf("a.jpg"), photoDated("2010:09:09 10:00:05"));
  EXPECT_EQ(load({copyOf("a.jpg").string()}), LoadOutcome::Complete);
  EXPECT_EQ(testing::readFile(copyOf("a.jpg")), photoDated("2010:09:09 10:00:05"));  // not truncated
  ASSERT_EQ(list.size(), 1U);
  EXPECT_EQ(list.row(0).date, "2010/09/09 10:00:05");
}

TEST_F(PhotoCommandsTest, AMissingFileEndsLoadWithTheNotice) {
  const auto outcome = load({camera("a.jpg", photoDated("2010:09:09 10:00:05")), dir.file("camera/gone.jpg"),
                             camera("c.jpg", photoDated("2010:09:09 10:00:15"))});
  EXPECT_EQ(outcome, LoadOutcome::FileNotFound);
  ASSERT_EQ(list.size(), 1U);
  EXPECT_EQ(list.row(0).name, "a.jpg");
  EXPECT_FALSE(fs::exists(copyOf("c.jpg")));
  EXPECT_EQ(ui.events,
            (std::vector<std::string>{"status Loading pictures...", "ok-cancel Notice|File not found"}));
}

TEST_F(PhotoCommandsTest, AFolderChosenAsAPhotoIsNotFound) {
  EXPECT_EQ(load({dir.file("camera") + "/"}), LoadOutcome::FileNotFound);
  EXPECT_EQ(list.size(), 0U);
  EXPECT_TRUE(fs::is_directory(photoFolderOf(session.names)));
}

// The photo folder cannot be made (a file of its name is in the way): no copy can be read,
// and the first photo ends Load with the notice. The file in the way stays.
TEST_F(PhotoCommandsTest, APhotoFolderThatCannotBeMadeEndsLoadWithTheNotice) {
  testing::writeFile(photoFolderOf(session.names), "not a folder");
  const auto outcome = load({camera("a.jpg", photoDated("2010:09:09 10:00:05"))});
  EXPECT_EQ(outcome, LoadOutcome::FileNotFound);
  EXPECT_EQ(list.size(), 0U);
  EXPECT_EQ(ui.events,
            (std::vector<std::string>{"status Loading pictures...", "ok-cancel Notice|File not found"}));
  EXPECT_EQ(testing::readFile(photoFolderOf(session.names)), "not a folder");
  EXPECT_EQ(testing::readFile(dir.file("camera/a.jpg")), photoDated("2010:09:09 10:00:05"));
}

TEST_F(PhotoCommandsTest, APartlyNumericDateEndsLoadAfterItsRow) {
  EXPECT_THROW(load({camera("a.jpg", photoDated("2010:09:09 1a:00:00")),
                     camera("b.jpg", photoDated("2010:09:09 10:00:05"))}),
               tracklog::ConversionError);
  ASSERT_EQ(list.size(), 1U);
  EXPECT_EQ(list.row(0), (PhotoEntry{"a.jpg", "2010/09/09 1a:00:00", "", ""}));
}

TEST_F(PhotoCommandsTest, RemoveDeletesTheSelectedRowsAndTheirCopies) {
  std::vector<std::string> paths;
  for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}) {
    paths.push_back(camera(name, photoDated("2010:09:09 10:00:05")));
  }
  load(paths);
  EXPECT_TRUE(removePhotos(list, {4, 0, 2, 9}, session.names));  // 9 is no row
  ASSERT_EQ(list.size(), 2U);
  EXPECT_EQ(list.row(0).name, "2.jpg");
  EXPECT_EQ(list.row(1).name, "4.jpg");
  for (const char* gone : {"1.jpg", "3.jpg", "5.jpg"}) EXPECT_FALSE(fs::exists(copyOf(gone))) << gone;
  for (const char* kept : {"2.jpg", "4.jpg"}) EXPECT_TRUE(fs::exists(copyOf(kept))) << kept;
  EXPECT_TRUE(fs::exists(dir.path() / "camera/1.jpg"));  // the originals stay
}

TEST_F(PhotoCommandsTest, RemoveWithoutSelectionDoesNothing) {
  load({camera("a.jpg", photoDated("2010:09:09 10:00:05"))});
  EXPECT_FALSE(removePhotos(list, {}, session.names));
  EXPECT_EQ(list.size(), 1U);
  EXPECT_TRUE(fs::exists(copyOf("a.jpg")));
}

}  // namespace
}  // namespace tellurix::tagging
