#pragma once

#include <QString>

#include "common/Seams.h"
#include "compare/AccuracyCriteria.h"

// The criteria the criterion box offers: the shipped ones, with those of the user's own file
// criteria.json in the program's configuration folder added when there is one. A file that is
// refused is told to sink (its message names the file and the entry at fault, "Accuracy criteria
// error", critical), and the shipped criteria stay.
modKestralMGA::CriteriaTable CriteriaWithUserFile(modKestralMGA::MessageSink& sink);

// The tool tip of the criterion box for criterion: its two formulas, what d is and its source
// note; empty for a text that is none of the criteria (nullptr).
QString CriterionToolTip(const modKestralMGA::AccuracyCriterion* criterion);
