#pragma once

#include <string>

#include "plan/CurveFile.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// The LandXML 1.2 text of a plan read from its lines and curve files, whose points are built
// (BuildPlanPoints): units metres and "decimal dd.mm.ss"; one CgPoint per plan point, named by
// its number, with its plan coordinates (northing, easting) when placed; a Monument of type "PSM"
// on every point above 4600; one InstrumentSetup per point; and, in the order of the lines, a
// ReducedObservation per line (its bearing value as azimuth, 999 and the other codes as they
// stand) or a ReducedArcObservation per curve (radius, arc length, the chord's bearing that the
// curve file gives as chordAzimuth, rot "ccw" for a curve turning left, and the curve file's
// chord length kept in a Feature when it differs from 2 R sin(arc / R / 2)). A curve without a
// usable chord gets chordAzimuth 999. Every number is written so that it reads back exactly, so
// that ReadLandXmlPlan gives the same lines and chords. surveyName names the survey, date
// (YYYY-MM-DD) dates the file.
std::string LandXmlText(const Plan& plan, CurveIndex& curves, const std::string& surveyName,
                        const std::string& date);

}  // namespace modKestralMGA
