#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace tellurix::tracklog {

// Values as printf's conversions print them in the C locale, whatever locale the program runs in.
struct Fixed {  // "%.<places>f"
  double value;
  int places;
};
struct Padded {  // "%<width>d": spaces before the number
  std::int64_t value;
  int width;
};
struct ZeroPadded {  // "%0<width>d": zeros between the sign and the digits
  std::int64_t value;
  int width;
};

// Room formatFixed needs besides the decimals: the integer part of any double (DBL_MAX has
// 309 digits), its sign and the point.
inline constexpr std::size_t kFixedRoom = 320;

// "%.<places>f" of `value` at `out`, which has room for kFixedRoom + places bytes; returns the
// end. Exact, without printf's or to_chars' multi-precision path for the usual values.
char* formatFixed(char* out, double value, int places);

class TextBuffer;

// A value type that knows how to print itself: `void appendTo(TextBuffer&) const`.
template <class T>
concept TextPiece = requires(const T& piece, TextBuffer& out) {
  piece.appendTo(out);
};

// The text of an output made of many lines, each written as its literal pieces with the values
// between them, so that a template reads as it prints:
//
//   out.line("\t\t<name>Path ", number, "</name>");
//
// The bytes gather in memory and go to the sink in blocks of about `block` bytes: a full log
// makes a hundred megabytes of lines, which printf and a stdio call per line would spend most
// of a report run on.
class TextBuffer {
 public:
  static constexpr std::size_t kFileBlock = std::size_t{256} * 1024;

  // Without a sink the text stays in memory for text().
  explicit TextBuffer(std::FILE* sink = nullptr, std::size_t block = kFileBlock);
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;
  TextBuffer(TextBuffer&&) = delete;
  TextBuffer& operator=(TextBuffer&&) = delete;
  ~TextBuffer();  // flushes

  // The pieces, then CR LF.
  template <class... Pieces>
  void line(const Pieces&... pieces) {
    add(pieces..., std::string_view("\r\n"));
  }
  // The pieces without a line end.
  template <class... Pieces>
  void add(const Pieces&... pieces) {
    // A full block goes out before the next pieces, so that what one call added stays
    // readable through recent() until the next call.
    if (sink_ != nullptr && size_ >= block_) flush();
    recentStart_ = size_;
    append(pieces...);
  }
  // The pieces in place: for a piece made of pieces.
  template <class... Pieces>
  void append(const Pieces&... pieces) {
    (put(pieces), ...);
  }
  // The bytes of the last line() or add() call.
  [[nodiscard]] std::string_view recent() const { return {data_.get() + recentStart_, size_ - recentStart_}; }

  // Writes what has gathered to the sink. False once any write to it has failed (the sink's
  // error flag says so too).
  bool flush();
  [[nodiscard]] bool failed() const { return failed_; }

  // The text not yet flushed; all of it for a buffer without a sink.
  [[nodiscard]] std::string_view text() const { return {data_.get(), size_}; }

  // Room for `bytes` more at the end, for a piece that prints itself in place; advance() past
  // what it wrote.
  char* room(std::size_t bytes) {
    if (capacity_ - size_ < bytes) grow(bytes);
    return data_.get() + size_;
  }
  void advance(char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }

  void put(std::string_view text) {
    std::memcpy(room(text.size()), text.data(), text.size());
    size_ += text.size();
  }
  void put(char c) {
    *room(1) = c;
    ++size_;
  }
  void put(int value);
  void put(unsigned value);
  void put(Fixed value);
  void put(Padded value);
  void put(ZeroPadded value);
  template <TextPiece Piece>
  void put(const Piece& piece) {
    piece.appendTo(*this);
  }

 private:
  void grow(std::size_t bytes);

  std::FILE* sink_;
  std::size_t block_;
  std::size_t capacity_;
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t recentStart_ = 0;
  bool failed_ = false;
};

// Where a writer's lines go: the caller's buffer, or a FILE the writer fills through a small
// buffer of its own, flushed when the call returns.
class TextOut {
 public:
  TextOut(TextBuffer& buffer) : buffer_(&buffer) {}  // NOLINT: either converts implicitly
  TextOut(std::FILE* file) : own_(std::in_place, file, kCallBlock), buffer_(&*own_) {}  // NOLINT
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;
  TextOut(TextOut&&) = delete;
  TextOut& operator=(TextOut&&) = delete;
  ~TextOut() = default;

  [[nodiscard]] TextBuffer& buffer() const { return *buffer_; }

 private:
  static constexpr std::size_t kCallBlock = 4096;

  std::optional<TextBuffer> own_;
  TextBuffer* buffer_;
};

}  // namespace tellurix::tracklog
