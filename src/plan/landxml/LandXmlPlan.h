#pragma once

#include <string>
#include <string_view>

#include "common/Seams.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// Whether a plan identifier names a LandXML survey: it ends in ".xml" in any letter case.
bool IsLandXmlPlan(std::string_view planIdentifier);

// Reads the LandXML survey held in bytes (the file named name in messages) into plan.PlanLines
// (InUse 0), plan.Curves and plan.Names, as the lines and curve files of the same plan would give
// them:
// - every ReducedObservation and ReducedArcObservation, in the order the file lists them, is one
//   line from its setup's point (InstrumentSetup/InstrumentPoint pntRef) to its target setup's
//   point; a ReducedObservation gives its azimuth as a ddd.mmss bearing (999 without one) and its
//   horizDistance; a ReducedArcObservation gives the curve code 1000 + radius and its length
//   along the arc, and a chord: its chordAzimuth, turning left when rot is "ccw", of length
//   2 R sin(length / R / 2) (or the chordDistance its Feature gives, as the program's own
//   writer keeps a curve file's chord);
// - directions are read in the directionUnit (else angularUnit) of Units/Metric: "decimal
//   dd.mm.ss" as they stand, "decimal degrees", "radians" and "grads" converted to whole seconds;
//   distances in metres;
// - a CgPoint is numbered by its name when that is a whole number; a Monument standing on it whose
//   name the PSM key rule turns into a number above 4600 (6628/1234) gives it that key; one whose
//   name reads as a state's mark name (letters, then digits: "PM 12345", "SSM 1234") makes it a
//   named mark of plan.Names under a key of its own; other points are numbered -1, -2, ... as
//   met. CgPoint coordinates are not read.
// Throws FileError naming the element and its line for a file that is not well formed, holds a
// DOCTYPE, has no observation, gives an azimuth above 1000 (the code of a curve), gives units the
// program cannot read, refers to a setup or point it does not define, or gives a value that is not
// a number.
void ReadLandXmlPlan(std::string_view bytes, const std::string& name, Plan& plan);

// Reads the LandXML plan named planIdentifier (opened without regard to letter case) into plan as
// ReadLandXmlPlan does, then marks the usable lines. Hands a failure's description to sink under
// "Load Lines error" (exclamation) and returns false.
bool LoadLandXmlPlan(const std::string& planIdentifier, MessageSink& sink, Plan& plan);

}  // namespace modKestralMGA
