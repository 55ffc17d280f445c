#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ExifFixtures.h"
#include "support/TestFiles.h"
#include "tagging/CaptureTime.h"

namespace tellurix::tagging {
namespace {

using namespace fixtures;

struct CaptureCase {
  const char* name;
  std::string bytes;
  std::string expected;
  // The DateTimeOriginal the file carries as a full Exif reader sees it ("" for none), checked
  // with exiftool so that the fixtures are what they claim to be. Not checked when null.
  const char* carried;
};
void PrintTo(const CaptureCase& c, std::ostream* os) {
  *os << c.name;
}

constexpr const char* kCarried = "2010:09:09 14:05:03";

std::string patched(std::string bytes, std::size_t at, const std::string& with) {
  return bytes.replace(at, with.size(), with);
}

// The value offset of the first DateTimeOriginal entry of a little-endian fixture set to `offset`.
std::string withDateOffset(std::string bytes, std::uint32_t offset) {
  const std::size_t entry = bytes.find(std::string("\x03\x90\x02\x00", 4));
  return patched(std::move(bytes), entry + 8, le32(offset));
}

std::vector<CaptureCase> captureCases() {
  std::vector<CaptureCase> cases;
  cases.push_back({"little_endian_exif", exifJpeg(), "2010/09/09 14:05:03", kCarried});
  {
    ExifLayout at196;
    at196.dateOffset = 196;  // C4 00 00 00: from the header at 12, the date lies at file offset 208
    const std::string bytes = exifJpeg(at196);
    cases.push_back({"value_offset_counts_from_tiff_header", bytes, "2010/09/09 14:05:03", kCarried});
  }
  {
    ExifLayout motorola;
    motorola.bigEndian = true;
    cases.push_back({"big_endian_exif_is_not_read", exifJpeg(motorola), kNoExifDate, kCarried});
  }
  cases.push_back({"jfif_without_exif", jpeg(jfifSegment()), kNoExifDate, ""});
  {
    ExifLayout later;
    later.date = "2011:02:03 04:05:06";
    // The TIFF header lands at 30, so an offset counted from 12 misses the date.
    cases.push_back({"jfif_then_exif_segment", jpeg(jfifSegment() + segment(0xE1, exifPayload(later))),
                     "2011/02/03 04:05:06", "2011:02:03 04:05:06"});
  }
  cases.push_back(
      {"png_whatever_it_holds",
       std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) + std::string(17, '\0') + "eXIf" + tiffBlock({}),
       kNotAPhotoDate, nullptr});
  cases.push_back(
      {"exif_not_the_first_segment",
       jpeg(segment(0xE2, std::string("ICC_PROFILE\0\x01\x01", 14)) + segment(0xE1, exifPayload({}))),
       kNotAPhotoDate, kCarried});
  cases.push_back({"empty_file", "", kNotAPhotoDate, nullptr});
  cases.push_back({"ten_bytes_ending_in_exif",
                   std::string("\xFF\xD8\xFF\xE1\x00\x10"
                               "Exif",
                               10),
                   kNoExifDate, nullptr});
  cases.push_back({"ten_bytes_ending_in_jfif",
                   std::string("\xFF\xD8\xFF\xE0\x00\x10"
                               "JFIF",
                               10),
                   kNoExifDate, nullptr});
  cases.push_back({"nine_bytes_ending_in_exi",
                   std::string("\xFF\xD8\xFF\xE1\x00\x10"
                               "Exi",
                               9),
                   kNotAPhotoDate, nullptr});
  cases.push_back({"exif_word_not_terminated", patched(exifJpeg(), 10, "x"), kNotAPhotoDate, ""});
  {
    // 49 49 49 2A 00 at 11 holds no header; the next one, in a later segment, is the base.
    const std::string second =
        std::string("II\x2A\0", 4) + std::string(52, '\0') + "2012:12:12 12:12:12" + '\0';
    std::string bytes = patched(exifJpeg(), 11, "I");
    bytes.insert(bytes.size() - 2, segment(0xE2, second));
    cases.push_back({"tiff_header_after_an_extra_49", bytes, "2012/12/12 12:12:12", kCarried});
    // 49 49 2A 49 49 2A 00: the fourth byte ends the first attempt and is no first byte itself.
    std::string overlapping = patched(exifJpeg(), 12, std::string("II\x2AII\x2A\0", 7));
    overlapping.insert(overlapping.size() - 2, segment(0xE2, second));
    cases.push_back({"tiff_header_overlapping_a_partial_one", overlapping, "2012/12/12 12:12:12", nullptr});
  }
  {
    // The entry before DateTimeOriginal ends in 03, so its tag reads 03 03 90.
    ExifLayout trap;
    trap.extraTag = 0x8832;
    trap.extraValue = 0x03000000;
    const std::string bytes = exifJpeg(trap);
    cases.push_back({"date_tag_after_03_without_later_pair", bytes, kNoExifDate, kCarried});
    std::string withLater = bytes;
    const std::size_t laterDate = withLater.size() - 2 + 4 + 12;  // after the segment's header and the entry
    withLater.insert(
        withLater.size() - 2,
        segment(0xE2, std::string("\x03\x90\x02\x00\x14\x00\x00\x00", 8) +
                          le32(static_cast<std::uint32_t>(laterDate - 12)) + "2013:03:03 03:03:03" + '\0'));
    cases.push_back({"date_tag_after_03_takes_the_later_pair", withLater, "2013/03/03 03:03:03", kCarried});
  }
  {
    ExifLayout trap;
    trap.make = "Cami";  // the Make value's last byte 69 runs into the pointer tag: 69 69 87
    cases.push_back({"exif_pointer_after_69", exifJpeg(trap), kNoExifDate, kCarried});
  }
  {
    ExifLayout gps;
    gps.exifPointerTag = 0x8825;  // a date tag without the Exif pointer before it
    cases.push_back({"date_tag_without_exif_pointer", exifJpeg(gps), kNoExifDate, ""});
  }
  {
    const std::string bytes = exifJpeg();
    cases.push_back({"value_offset_at_end_of_file",
                     withDateOffset(bytes, static_cast<std::uint32_t>(bytes.size() - 12)), kNoExifDate,
                     nullptr});
    cases.push_back({"value_offset_far_past_end", withDateOffset(bytes, 0xFFFFFFF0), kNoExifDate, nullptr});
    const std::size_t dateAt = 12 + kDateAfterDirectories;
    cases.push_back({"date_cut_short_by_end_of_file", bytes.substr(0, dateAt + 9), "2010/09/0", nullptr});
    // The entry's bytes are missing: the value offset would come from the bytes the header
    // check left behind (49 49 2A 00), far past the end.
    const std::size_t tagEnd = bytes.find(std::string("\x03\x90", 2)) + 2;
    cases.push_back({"file_ends_after_date_tag", bytes.substr(0, tagEnd), kNoExifDate, nullptr});
  }
  {
    ExifLayout blank;
    blank.date = std::string(19, ' ');
    cases.push_back({"camera_date_of_spaces", exifJpeg(blank), "    /  /           ", nullptr});
    ExifLayout full;
    full.date = "2010:09:09 14:05:03Z";  // no terminator within the 20 bytes read
    cases.push_back(
        {"twenty_characters_at_most", exifJpeg(full), "2010/09/09 14:05:03Z", "2010:09:09 14:05:03Z"});
  }
  return cases;
}

class CaptureTimeTest : public ::testing::TestWithParam<CaptureCase> {
 protected:
  testing::TempDir dir;
};

TEST_P(CaptureTimeTest, ReadsTheDateOrTheDefault) {
  const std::string path = dir.file("photo.jpg");
  testing::writeFile(path, GetParam().bytes);
  EXPECT_EQ(readCaptureTime(path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CaptureTimeTest, ::testing::ValuesIn(captureCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The reader's steps as they read, one byte at a time from the front, on bytes in memory; the
// two open ends decided as the reader decides them (nothing at the value offset: the no-date
// text; a date cut short: only the bytes there are).
std::string literalCaptureTime(const std::string& file) {
  std::array<unsigned char, 200> buffer{};
  std::size_t position = 0;
  bool atEnd = false;
  const auto read = [&](std::size_t count) {
    std::size_t got = 0;
    while (got < count && position < file.size())
      buffer[got++] = static_cast<unsigned char>(file[position++]);
    if (got < count) atEnd = true;
    return got;
  };
  const auto seek = [&](std::size_t to) {
    position = to;
    atEnd = false;
  };
  const auto scan = [&](std::initializer_list<unsigned char> pattern) {
    for (;;) {
      if (atEnd) return false;
      std::size_t matched = 0;
      for (;;) {
        read(1);
        if (buffer[0] != *(pattern.begin() + matched)) break;
        if (++matched == pattern.size()) return true;
      }
    }
  };
  std::size_t tiffBase = 0;
  if (scan({0x49, 0x49, 0x2A, 0x00})) tiffBase = position - 4;
  seek(6);
  read(16);
  const char* text = reinterpret_cast<const char*>(buffer.data());
  if (std::strcmp(text, "Exif") != 0 && std::strcmp(text, "JFIF") != 0) return kNotAPhotoDate;
  if (!scan({0x69, 0x87}) || !scan({0x03, 0x90})) return kNoExifDate;
  read(10);
  const std::size_t valueOffset = buffer[6] | buffer[7] << 8 | buffer[8] << 16 | std::size_t{buffer[9]} << 24;
  if (tiffBase + valueOffset >= file.size()) return kNoExifDate;
  seek(tiffBase + valueOffset);
  const std::size_t got = read(20);
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(got), buffer.begin() + 20, 0);
  buffer[4] = '/';
  buffer[7] = '/';
  return text;
}

// Files of bytes the scans care about (49, 2A, 00, 69, 87, 03, 90, digits) from a few bytes to
// past the reader's second block. The large ones hold their only 69 87 and 03 90 pairs, after
// runs of 69 or 03 of either parity, across the ends of the reader's first two blocks.
std::vector<std::string> scrambledFiles() {
  std::mt19937 random(20100909);
  const std::string alphabet("\x49\x2A\x00\x00\x00\x69\x69\x87\x03\x03\x90\x01\x30\x3A\xFF", 15);
  const auto plant = [&](std::string& bytes, std::size_t near, char repeated, const std::string& tail) {
    const std::size_t at = near - 3 + random() % 6;
    const std::string piece = std::string(1 + random() % 4, repeated) + tail;
    if (at + piece.size() <= bytes.size()) bytes.replace(at, piece.size(), piece);
  };
  std::vector<std::string> files;
  for (int n = 0; n < 400; ++n) {
    const bool large = n % 4 == 0;
    const std::size_t size = large ? 17000 + random() % 150000 : random() % 600;
    std::string bytes;
    switch (random() % 4) {
      case 0:
        bytes = std::string(
            "\xFF\xD8\xFF\xE1\x00\x10"
            "Exif\0\0",
            12);
        break;
      case 1:
        bytes = std::string(
            "\xFF\xD8\xFF\xE0\x00\x10"
            "JFIF\0",
            11);
        break;
      case 2:
        bytes = std::string(
            "\xFF\xD8\xFF\xE1\x00\x10"
            "Exif\0\0II\x2A\0",
            16);
        break;
      default:
        break;
    }
    while (bytes.size() < size) {
      if (!large) {
        bytes += alphabet[random() % alphabet.size()];
        continue;
      }
      const auto c = static_cast<char>(random());
      bytes += c == '\x87' || c == '\x90' ? '\x86' : c;
    }
    const auto offset = le32(static_cast<std::uint32_t>(random() % (bytes.size() + 40)));
    if (large) {
      // Block ends of 4 or 16 KiB first and 64 KiB blocks after it.
      const std::size_t first = random() % 2 == 0 ? 4096 : 16384;
      plant(bytes, first, '\x69', "\x87");
      const std::size_t second = first + 65536;
      plant(bytes, bytes.size() > second + 40 ? second : first + 16 + random() % (bytes.size() - first - 56),
            '\x03', std::string("\x90\x02\x00\x14\x00\x00\x00", 7) + offset);
    } else if (random() % 2 == 0 && bytes.size() > 40) {
      // A pointer and a date entry whose value offset lands near the end of the file, or past it.
      const std::string entry = std::string("\x69\x87\x04\x00\x03\x90\x02\x00\x14\x00\x00\x00", 12) + offset;
      bytes.replace(22 + random() % (bytes.size() - 38), entry.size(), entry);
      bytes.resize(size);
    }
    files.push_back(std::move(bytes));
  }
  return files;
}

TEST(CaptureTimeModel, TheReaderGivesWhatItsStepsReadOneByteAtATimeGive) {
  testing::TempDir dir;
  const std::string path = dir.file("photo.jpg");
  int datesRead = 0;
  for (const std::string& bytes : scrambledFiles()) {
    testing::writeFile(path, bytes);
    const std::string expected = literalCaptureTime(bytes);
    ASSERT_EQ(readCaptureTime(path), expected) << "file of " << bytes.size() << " bytes";
    if (expected != kNotAPhotoDate && expected != kNoExifDate) ++datesRead;
  }
  // Enough of the files reach a value for the comparison to cover the whole road.
  EXPECT_GT(datesRead, 30);
}

TEST(CaptureTimeFailure, AFileThatCannotBeOpenedGivesNoText) {
  testing::TempDir dir;
  EXPECT_EQ(readCaptureTime(dir.file("missing.jpg")), std::nullopt);
  EXPECT_EQ(readCaptureTime(dir.path().string()), std::nullopt);  // a folder is no photo
}

// The fixtures are real Exif: exiftool, which reads every byte order and follows the
// directories, finds in them the dates they were built with.
TEST(CaptureTimeFixtures, AgreeWithExiftool) {
  if (testing::runCommand("exiftool -ver").status != 0) GTEST_SKIP() << "exiftool is not installed";
  testing::TempDir dir;
  std::string files;
  std::map<std::string, std::string> carried;
  for (const CaptureCase& c : captureCases()) {
    if (c.carried == nullptr) continue;
    const std::string name = std::string(c.name) + ".jpg";
    testing::writeFile(dir.path() / name, c.bytes);
    files += " " + testing::shellQuoted(dir.file(name));
    carried[name] = c.carried;
  }
  const auto result = testing::runCommand("exiftool -T -m -FileName -DateTimeOriginal" + files);
  ASSERT_EQ(result.status, 0) << result.err;
  std::map<std::string, std::string> seen;
  std::size_t start = 0;
  while (start < result.out.size()) {
    const std::size_t end = result.out.find('\n', start);
    const std::string line = result.out.substr(start, end - start);
    const std::size_t tab = line.find('\t');
    const std::string date = line.substr(tab + 1);
    seen[line.substr(0, tab)] = date == "-" ? "" : date;
    start = end == std::string::npos ? result.out.size() : end + 1;
  }
  EXPECT_EQ(seen, carried);
}

TEST(CaptureTimeCommand, PrintsOneLinePerFile) {
  testing::TempDir dir;
  testing::writeFile(dir.path() / "a.jpg", exifJpeg());
  testing::writeFile(dir.path() / "b.jpg", jpeg(jfifSegment()));
  ExifLayout damaged;
  damaged.date = "2010:09:09\n14:05\r03";
  testing::writeFile(dir.path() / "c.jpg", exifJpeg(damaged));
  std::string command = testing::toolCommand("tools/cli/tellurix-cli") + " capture-time";
  for (const char* name : {"a.jpg", "gone.jpg", "b.jpg", "c.jpg"})
    command += " " + testing::shellQuoted(dir.file(name));
  const auto result = testing::runCommand(command);
  // The control bytes of a damaged date would break the one line per file.
  EXPECT_EQ(result.out, "2010/09/09 14:05:03\nFile not found\n2000/06/06 10:10:10\n2010/09/09?14:05?03\n");
  EXPECT_EQ(result.status, 1);  // a file was missing
}

}  // namespace
}  // namespace tellurix::tagging
