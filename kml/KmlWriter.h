#pragma once

// The map export: stateless writers that append whole KML lines (CR LF) to a file the caller
// has opened and will close. A document is a head, any number of placemarks and paths, and a
// tail; which file gets which block, and in which order, is the caller's choice.
#include "KmlContext.h"
#include "KmlDocument.h"
#include "KmlText.h"
#include "Miles.h"
#include "PhotoPlacemark.h"
#include "PointPlacemarks.h"
#include "StopPlacemarks.h"
#include "TrackPath.h"
