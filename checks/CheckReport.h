// The check's findings and a wall between two holes, written for the command line: JSON for
// programs, plain lines for people. Lengths in the document's unit, points in block coordinates.
#pragma once

#include <string>

#include "checks/CircuitCheck.h"
#include "checks/Walls.h"
#include "model/Dump.h"

namespace qv {

// {"Wall": w, "Connected": b, "From": [x, y, z], "To": [x, y, z]}
TJson WallJson(const TWall& wall);

// {"MinWall", "Circuits", "Connections", "Shorts", "ThinWalls", "Unconnected", "BreakOuts"}
TJson CheckJson(const TCheckResult& result);

// The same findings as lines of text, with the unit's name.
std::string CheckText(const TCheckResult& result, bool inch);

// Lengths rounded to a millionth of the unit, so that rounding noise of the iteration does not show.
double ReportedLength(double value);

}  // namespace qv
