#pragma once

// The picture formats of the join diagram's files and the title of their messages, free of Qt:
// the batch program checks a --diagram name before anything is drawn.
#include <optional>
#include <string>

namespace modKestralMGA {

// The title of the messages of a diagram that cannot be saved.
inline constexpr const char* kSaveDiagramErrorTitle = "Save diagram error";

// The kinds of picture, told by the file name's extension.
enum class DiagramFormat { Svg, Png };

// The format of a file named name: ".svg" or ".png" at its end, in any case; none otherwise.
std::optional<DiagramFormat> DiagramFormatOf(const std::string& name);

}  // namespace modKestralMGA
