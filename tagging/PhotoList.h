#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PhotoPosition.h"

namespace tellurix::tagging {

// One row of the photo list.
struct PhotoEntry {
  std::string name;       // file name without folder; the row's key and its copy's name
  std::string date;       // capture time, later shifted by Apply Adjustment
  std::string latitude;   // "(" + "%.6f" + ")" when the track has a position, else empty
  std::string longitude;  // likewise

  friend bool operator==(const PhotoEntry&, const PhotoEntry&) = default;
};

// The list's columns, by index of the column header.
enum class PhotoColumn : int { Name = 0, Date = 1, Latitude = 2, Longitude = 3 };

// Byte by byte with a-z counted as A-Z; a text that begins the other sorts first.
int lsvPhotoCompare(std::string_view a, std::string_view b);

// The two rows' texts of `column`, compared as above.
int lsvPhotoCompare(const PhotoEntry& a, const PhotoEntry& b, PhotoColumn column);

// The photos in list order. Names are unique (compared case-sensitively); there is no limit
// on the number of rows.
class PhotoList {
 public:
  PhotoList() = default;
  PhotoList(const PhotoList&) = delete;
  PhotoList& operator=(const PhotoList&) = delete;

  [[nodiscard]] const std::vector<PhotoEntry>& rows() const { return rows_; }
  [[nodiscard]] std::size_t size() const { return rows_.size(); }
  [[nodiscard]] const PhotoEntry& row(std::size_t index) const { return rows_[index]; }

  [[nodiscard]] bool contains(std::string_view name) const;
  // Appends a row without a position; the caller has checked that the name is new.
  void append(std::string name, std::string date);
  void removeAt(std::size_t index);
  // No rows; the sort column stays.
  void clear() { rows_.clear(); }

  void setDate(std::size_t index, std::string date) { rows_[index].date = std::move(date); }
  // Latitude and Longitude as the list shows a lookup result.
  void setPosition(std::size_t index, const std::optional<PhotoPosition>& position);

  // Makes `column` the sort column and sorts ascending; every call sorts ascending again.
  void sortBy(PhotoColumn column);
  [[nodiscard]] PhotoColumn sortColumn() const { return sortColumn_; }

 private:
  std::vector<PhotoEntry> rows_;
  PhotoColumn sortColumn_ = PhotoColumn::Name;
};

}  // namespace tellurix::tagging
