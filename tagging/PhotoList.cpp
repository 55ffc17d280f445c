#include "PhotoList.h"

#include <algorithm>

namespace tellurix::tagging {
namespace {

unsigned char upper(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

const std::string& textOf(const PhotoEntry& entry, PhotoColumn column) {
  switch (column) {
    case PhotoColumn::Date:
      return entry.date;
    case PhotoColumn::Latitude:
      return entry.latitude;
    case PhotoColumn::Longitude:
      return entry.longitude;
    case PhotoColumn::Name:
      break;
  }
  return entry.name;
}

}  // namespace

int lsvPhotoCompare(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char x = upper(a[i]);
    const unsigned char y = upper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int lsvPhotoCompare(const PhotoEntry& a, const PhotoEntry& b, PhotoColumn column) {
  return lsvPhotoCompare(textOf(a, column), textOf(b, column));
}

bool PhotoList::contains(std::string_view name) const {
  return std::any_of(rows_.begin(), rows_.end(), [name](const PhotoEntry& e) { return e.name == name; });
}

void PhotoList::append(std::string name, std::string date) {
  rows_.push_back(PhotoEntry{std::move(name), std::move(date), {}, {}});
}

void PhotoList::removeAt(std::size_t index) {
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
}

void PhotoList::setPosition(std::size_t index, const std::optional<PhotoPosition>& position) {
  PhotoEntry& entry = rows_[index];
  entry.latitude = position ? "(" + position->latitude + ")" : std::string();
  entry.longitude = position ? "(" + position->longitude + ")" : std::string();
}

void PhotoList::sortBy(PhotoColumn column) {
  sortColumn_ = column;
  // Stable, so rows with equal texts keep the order the user last saw.
  std::stable_sort(rows_.begin(), rows_.end(), [column](const PhotoEntry& a, const PhotoEntry& b) {
    return lsvPhotoCompare(a, b, column) < 0;
  });
}

}  // namespace tellurix::tagging
