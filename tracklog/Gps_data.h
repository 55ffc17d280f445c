#pragma once

// The track log: decoded fixes, the point store, calendar and zone arithmetic, distances.
#include "Calendar.h"
#include "Errors.h"
#include "FieldSource.h"
#include "Geodesy.h"
#include "LogFile.h"
#include "LogRecord.h"
#include "TextFile.h"
#include "TrackPoint.h"
#include "TrackStore.h"
#include "WholeNumber.h"
#include "ZoneShift.h"
