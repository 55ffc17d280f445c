#include "TextBuffer.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace tellurix::tracklog {
namespace {

constexpr int kMaxPlaces = 40;
constexpr int kMaxWidth = 64;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The digits of `v` ending at `end`, two at a time: the per-point dates and times print
// millions of them.
void writeDigits(char* end, std::uint64_t v) {
  while (v >= 100) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * (v % 100), 2);
    v /= 100;
  }
  if (v >= 10) {
    std::memcpy(end - 2, kDigitPairs + 2 * v, 2);
  } else {
    end[-1] = static_cast<char>('0' + v);
  }
}

// Both compilers have it on every 64-bit target; it is no standard type.
__extension__ using Wide = unsigned __int128;

constexpr std::uint64_t kPowersOfTen[] = {1,
                                          10,
                                          100,
                                          1000,
                                          10000,
                                          100000,
                                          1000000,
                                          10000000,
                                          100000000,
                                          1000000000,
                                          10000000000,
                                          100000000000,
                                          1000000000000,
                                          10000000000000,
                                          100000000000000,
                                          1000000000000000,
                                          10000000000000000,
                                          100000000000000000,
                                          1000000000000000000,
                                          10000000000000000000U};
constexpr int kFastPlaces = 18;

int digitCount(std::uint64_t v) {
  // log10 from the bit length, then one comparison to correct it.
  const int guess = static_cast<int>((std::bit_width(v) * 1233) >> 12);
  return guess + (v >= kPowersOfTen[guess] ? 1 : 0) + (v == 0 ? 1 : 0);
}

// value × 10^places rounded to a whole number, ties to even, as printf rounds the exact binary
// value; nothing where it does not fit 64 bits. A double is m × 2^e with m < 2^53, so with up
// to 18 places the product m × 10^places fits 128 bits and the rounding is exact.
std::optional<std::uint64_t> scaledMagnitude(double value, int places) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7FF || places < 0 || places > kFastPlaces) return std::nullopt;  // infinite, NaN
  const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int e = biased == 0 ? -1074 : biased - 1075;
  const Wide product = static_cast<Wide>(m) * kPowersOfTen[places];
  Wide scaled = 0;
  if (e >= 0) {
    if (e >= 64 || (product >> (64 - e)) != 0) return std::nullopt;
    scaled = product << e;
  } else if (e > -128) {
    const int shift = -e;
    scaled = product >> shift;
    const Wide rest = product & ((static_cast<Wide>(1) << shift) - 1);
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    if (rest > half || (rest == half && (scaled & 1) != 0)) scaled += 1;
  }  // below 2^-127 × 2^117: less than half, so 0
  if (scaled > std::numeric_limits<std::uint64_t>::max()) return std::nullopt;
  return static_cast<std::uint64_t>(scaled);
}

char* putPadded(char* out, std::int64_t value, int width, bool zeros) {
  const bool negative = value < 0;
  // The magnitude of the most negative value too.
  const std::uint64_t magnitude =
      negative ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
  const int digits = digitCount(magnitude);
  int padding = width - digits - (negative ? 1 : 0);
  if (negative && zeros) *out++ = '-';  // printf puts the zeros after the sign
  for (; padding > 0; --padding) *out++ = zeros ? '0' : ' ';
  if (negative && !zeros) *out++ = '-';
  writeDigits(out + digits, magnitude);
  return out + digits;
}

}  // namespace

char* formatFixed(char* out, double value, int places) {
  const std::optional<std::uint64_t> scaled = scaledMagnitude(value, places);
  if (!scaled) {
    const std::size_t bytes = kFixedRoom + static_cast<std::size_t>(std::max(places, 0));
    return std::to_chars(out, out + bytes, value, std::chars_format::fixed, places).ptr;
  }
  if (std::signbit(value)) *out++ = '-';  // -0.0 and what rounds to 0 keep their sign
  // The digits of the scaled value with the point set `places` from the right, and at least
  // one digit before it.
  char digits[24];
  const int count = digitCount(*scaled);
  writeDigits(digits + count, *scaled);
  const int whole = std::max(count - places, 0);
  if (whole == 0) {
    *out++ = '0';
  } else {
    std::memcpy(out, digits, static_cast<std::size_t>(whole));
    out += whole;
  }
  if (places == 0) return out;
  *out++ = '.';
  for (int i = count - whole; i < places; ++i) *out++ = '0';
  std::memcpy(out, digits + whole, static_cast<std::size_t>(count - whole));
  return out + (count - whole);
}

// A buffer without a sink starts small: it holds a name or a sentence more often than a file.
TextBuffer::TextBuffer(std::FILE* sink, std::size_t block)
    : sink_(sink),
      block_(block),
      capacity_(sink != nullptr ? block + kFixedRoom : kFixedRoom),
      data_(new char[capacity_]) {}

TextBuffer::~TextBuffer() {
  flush();
}

bool TextBuffer::flush() {
  if (sink_ != nullptr && size_ > 0) {
    if (std::fwrite(data_.get(), 1, size_, sink_) != size_) failed_ = true;
    size_ = 0;
    recentStart_ = 0;
  }
  return !failed_;
}

void TextBuffer::grow(std::size_t bytes) {
  const std::size_t capacity = std::max(capacity_ * 2, size_ + bytes);
  std::unique_ptr<char[]> data(new char[capacity]);
  std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = capacity;
}

void TextBuffer::put(int value) {
  advance(putPadded(room(kFixedRoom), value, 0, false));
}

void TextBuffer::put(unsigned value) {
  advance(putPadded(room(kFixedRoom), value, 0, false));
}

void TextBuffer::put(Fixed value) {
  const int places = std::clamp(value.places, 0, kMaxPlaces);
  advance(formatFixed(room(kFixedRoom + static_cast<std::size_t>(places)), value.value, places));
}

void TextBuffer::put(Padded value) {
  const int width = std::clamp(value.width, 0, kMaxWidth);
  advance(putPadded(room(kFixedRoom), value.value, width, false));
}

void TextBuffer::put(ZeroPadded value) {
  const int width = std::clamp(value.width, 0, kMaxWidth);
  advance(putPadded(room(kFixedRoom), value.value, width, true));
}

}  // namespace tellurix::tracklog
