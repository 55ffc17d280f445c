#pragma once

#include <string_view>

#include "tracklog/TextBuffer.h"

namespace tellurix::kml {

// The head of a document that holds paths: the root, one open folder named `name`, and the
// "linestyle" style that paths and MaxSpeed placemarks refer to (17 lines).
void writeTripDocumentHead(tracklog::TextOut out, std::string_view name);

// The head of a lighter point document: the root, one open folder named `name`, and the
// "LabelStyle" style of the label placemarks (13 lines). It defines no "linestyle".
void writeLabelDocumentHead(tracklog::TextOut out, std::string_view name);

// Closes the folder and the root opened by either head.
void writeDocumentTail(tracklog::TextOut out);

}  // namespace tellurix::kml
