#pragma once

// The batch program's way to the plug-in that renders the PDF report and the diagram's pictures
// through Qt (reports/ui/PrintPlugin.h), opened only when such an output is asked for.
#include <functional>
#include <string>

#include "common/AtomicFile.h"
#include "common/Seams.h"
#include "reports/ui/PrintPlugin.h"

namespace modKestralMGA {

// The environment variable that names the folder of the plug-in in place of the usual one.
inline constexpr const char* kPrintPluginFolderVariable = "KESTRALMGA_PLUGIN_DIR";

// The folder the plug-in is opened from: the folder named by KESTRALMGA_PLUGIN_DIR when it is
// set and not empty; otherwise the installed folder beside the program's real path
// (<prefix>/lib/kestralmga/plugins for <prefix>/bin/kestralmga-cli) when the plug-in is there, and
// the build's own folder of it when not.
std::string PrintPluginFolder();

// The plug-in's functions, the plug-in opened on first use (later uses find it open). A plug-in
// that is missing, cannot be loaded or is not one of this version shows "Cannot write <name>:
// <why>" under title (exclamation), name naming the output; then null.
const PrintFunctions* LoadPrintFunctions(const std::string& name, const char* title,
                                         MessageSink& sink);

// The bytes made by render (false after its message shown) written to the file at path
// (AtomicWriteFile over ops). A file that cannot be written shows "Cannot write <path>: <reason>"
// under title (exclamation). Returns whether the file was written.
bool WriteRenderedFile(const std::string& path, const char* title, MessageSink& sink, FileOps& ops,
                       const std::function<bool(std::string& bytes)>& render);

}  // namespace modKestralMGA
