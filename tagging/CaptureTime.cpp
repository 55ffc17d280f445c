#include "CaptureTime.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>

namespace tellurix::tagging {
namespace {

using Bytes = std::span<const std::uint8_t>;

// A photo file read front to back in blocks: a camera file gives up its date within the
// first block, a file without one is scanned on in larger ones.
class PhotoBytes {
 public:
  PhotoBytes() = default;
  PhotoBytes(const PhotoBytes&) = delete;
  PhotoBytes& operator=(const PhotoBytes&) = delete;

  // Only regular files: a folder or a pipe is no photo and must not block the caller.
  bool open(const std::string& path) {
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_) return false;
    struct stat status {};
    if (fstat(fileno(file_.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
      file_.reset();
      return false;
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
    std::setvbuf(file_.get(), nullptr, _IONBF, 0);  // the blocks are our buffer
    return true;
  }

  [[nodiscard]] std::uint64_t size() const { return size_; }

  // The bytes from `offset` to the end of the block holding it; empty at the end of the file.
  Bytes from(std::uint64_t offset) {
    if (offset < blockStart_ || offset >= blockStart_ + blockLength_) load(offset);
    if (offset < blockStart_ || offset >= blockStart_ + blockLength_) return {};
    const auto skip = static_cast<std::size_t>(offset - blockStart_);
    return {block_ + skip, blockLength_ - skip};
  }

  // Up to `count` bytes at `offset` into `dest`; fewer at the end of the file.
  std::size_t readAt(std::uint64_t offset, std::uint8_t* dest, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
      const Bytes bytes = from(offset + done);
      if (bytes.empty()) break;
      const std::size_t n = std::min(bytes.size(), count - done);
      std::memcpy(dest + done, bytes.data(), n);
      done += n;
    }
    return done;
  }

 private:
  static constexpr std::size_t kFirstBlock = 4 * 1024;  // holds a camera's Exif header and date
  static constexpr std::size_t kBlock = 64 * 1024;

  // One buffer per thread for every file read: loading thousands of photos neither allocates
  // nor faults in fresh pages per file.
  static std::uint8_t* threadBuffer() {
    thread_local const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(kBlock);
    return buffer.get();
  }

  void load(std::uint64_t offset) {
    // The first block always starts at the front: the header check and both scans begin there.
    if (blockLength_ == 0 && position_ == 0 && offset < kFirstBlock) offset = 0;
    const bool continues = blockLength_ != 0 && offset == blockStart_ + blockLength_;
    const std::size_t wanted = continues ? kBlock : kFirstBlock;
    blockStart_ = offset;
    blockLength_ = 0;
    if (offset != position_) {
      if (offset > static_cast<std::uint64_t>(INT64_MAX) ||
          fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0) {
        return;
      }
    }
    blockLength_ = std::fread(block_, 1, wanted, file_.get());
    position_ = offset + blockLength_;
  }

  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;  // of the file, after the last read
  std::uint8_t* block_ = threadBuffer();
  std::uint64_t blockStart_ = 0;
  std::size_t blockLength_ = 0;
};

// The scan does not step back: an attempt compares bytes with the pattern from its first
// byte on, and after a mismatch the next attempt starts with the byte after the mismatching
// one. That byte is never tried as a first byte, so 03 03 90 holds no 03 90.
class PatternScan {
 public:
  explicit PatternScan(Bytes pattern) : pattern_(pattern) {}

  // Feeds the next bytes of the file; the number consumed up to the end of a match, or
  // nothing when all of them were consumed without one. An attempt may span two feeds.
  std::optional<std::size_t> feed(Bytes bytes) {
    if (pattern_.size() == 2 && pattern_[0] != pattern_[1]) return feedPair(bytes);
    std::size_t i = 0;
    while (i < bytes.size()) {
      if (matched_ == 0) {
        const void* first = std::memchr(bytes.data() + i, pattern_[0], bytes.size() - i);
        if (first == nullptr) return std::nullopt;
        i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(first) - bytes.data()) + 1;
        matched_ = 1;
      } else {
        matched_ = bytes[i] == pattern_[matched_] ? matched_ + 1 : 0;
        ++i;
      }
      if (matched_ == pattern_.size()) return i;
    }
    return std::nullopt;
  }

 private:
  // The same scan for two different bytes a b, without visiting every a (a file that lacks
  // the pair is read to its end, so this is the reader's hot loop). Only a pair "a b" can end
  // a match, and it does when its a starts an attempt: a run of a's that starts an attempt
  // pairs them off (a a fails on its second a), so the last a of the run starts one exactly
  // when the run before the b has odd length.
  std::optional<std::size_t> feedPair(Bytes bytes) {
    const std::uint8_t a = pattern_[0];
    const std::uint8_t b = pattern_[1];
    if (bytes.empty()) return std::nullopt;
    std::size_t i = 0;
    if (matched_ == 1) {  // an attempt left at the end of the last feed
      if (bytes[0] == b) return 1;
      matched_ = 0;
      i = 1;
    }
    for (;;) {  // bytes[i] starts an attempt
      const std::size_t pair = findPair(bytes, i, a, b);
      const std::size_t end = pair == kNone ? bytes.size() : pair + 1;
      std::size_t run = end;
      while (run > i && bytes[run - 1] == a) --run;
      const bool lastStartsAttempt = run < end && (end - 1 - run) % 2 == 0;
      if (pair == kNone) {
        matched_ = lastStartsAttempt ? 1 : 0;
        return std::nullopt;
      }
      if (lastStartsAttempt) return pair + 2;
      // The a was a failed second byte and the b cannot start an attempt: go on after them.
      i = pair + 2;
    }
  }

  static constexpr std::size_t kNone = SIZE_MAX;

  // The first j >= from with bytes[j] = a and bytes[j + 1] = b, sixteen places at a time.
  static std::size_t findPair(Bytes bytes, std::size_t from, std::uint8_t a, std::uint8_t b) {
    using Lanes = std::uint8_t __attribute__((vector_size(16)));
    const std::uint8_t* data = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t j = from;
    for (; j + 17 <= n; j += 16) {
      Lanes here;
      Lanes next;
      std::memcpy(&here, data + j, 16);
      std::memcpy(&next, data + j + 1, 16);
      const auto hits = (here == a) & (next == b);
      std::uint64_t low;
      std::uint64_t high;
      std::memcpy(&low, &hits, 8);
      std::memcpy(&high, reinterpret_cast<const char*>(&hits) + 8, 8);
      if ((low | high) != 0) {
        return j + (low != 0 ? static_cast<std::size_t>(__builtin_ctzll(low)) / 8
                             : 8 + static_cast<std::size_t>(__builtin_ctzll(high)) / 8);
      }
    }
    for (; j + 1 < n; ++j) {
      if (data[j] == a && data[j + 1] == b) return j;
    }
    return kNone;
  }

  Bytes pattern_;
  std::size_t matched_ = 0;
};

// The file offset just after the first match from `start` on; nothing when the file ends
// first (an attempt cut short by the end of the file fails).
std::optional<std::uint64_t> scanFor(PhotoBytes& file, std::uint64_t start, Bytes pattern) {
  PatternScan scan(pattern);
  for (std::uint64_t at = start;;) {
    const Bytes bytes = file.from(at);
    if (bytes.empty()) return std::nullopt;
    if (const auto used = scan.feed(bytes)) return at + *used;
    at += bytes.size();
  }
}

constexpr std::array<std::uint8_t, 4> kTiffHeader{0x49, 0x49, 0x2A, 0x00};
constexpr std::array<std::uint8_t, 2> kExifPointerTag{0x69, 0x87};
constexpr std::array<std::uint8_t, 2> kDateTimeOriginalTag{0x03, 0x90};

}  // namespace

std::optional<std::string> readCaptureTime(const std::string& path) {
  // The steps run in the order that reads least, with the same result: the format check
  // needs bytes 6 to 21 only, and the TIFF header, which a JFIF file without Exif lacks (its
  // search would read all of it), is searched for only when a date offset needs it.
  PhotoBytes file;
  if (!file.open(path)) return std::nullopt;

  // All reads land at the front of one zeroed buffer, so bytes a short read does not reach
  // keep what an earlier read left there.
  std::array<std::uint8_t, 20> buffer{};
  file.readAt(6, buffer.data(), 16);
  const bool exif = std::memcmp(buffer.data(), "Exif", 5) == 0;
  const bool jfif = std::memcmp(buffer.data(), "JFIF", 5) == 0;
  if (!exif && !jfif) return kNotAPhotoDate;

  const auto pointer = scanFor(file, 22, kExifPointerTag);
  if (!pointer) return kNoExifDate;
  const auto entry = scanFor(file, *pointer, kDateTimeOriginalTag);
  if (!entry) return kNoExifDate;

  // Type (2), count (4) and value offset (4) of the entry; the scan's last byte, 90, sits in
  // front if the file ends right after the tag.
  buffer[0] = kDateTimeOriginalTag[1];
  file.readAt(*entry, buffer.data(), 10);
  const std::uint32_t valueOffset = std::uint32_t{buffer[6]} | std::uint32_t{buffer[7]} << 8 |
                                    std::uint32_t{buffer[8]} << 16 | std::uint32_t{buffer[9]} << 24;
  // The value is counted from the TIFF header, which lies at or after the start of the file:
  // an offset past the end needs no header search.
  if (valueOffset >= file.size()) return kNoExifDate;
  const auto header = scanFor(file, 0, kTiffHeader);
  const std::uint64_t tiffBase = header ? *header - kTiffHeader.size() : 0;

  // Only the bytes the file holds count: a date cut short by the end of the file is not
  // padded with the directory bytes read before it.
  std::array<std::uint8_t, 21> date{};
  if (file.readAt(tiffBase + valueOffset, date.data(), 20) == 0) return kNoExifDate;
  date[4] = '/';
  date[7] = '/';
  const auto* text = reinterpret_cast<const char*>(date.data());
  return std::string(text, strnlen(text, 20));
}

}  // namespace tellurix::tagging
