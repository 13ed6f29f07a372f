#include "cli/MarkSources.h"

#include "common/PathResolve.h"
#include "marks/ImportText.h"
#include "marks/MarkCommands.h"
#include "plan/landxml/LandXmlMarks.h"
#include "plan/landxml/LandXmlPlan.h"

namespace modKestralMGA {

namespace {

// The file a mark list option opens: standard input for "-", otherwise the path resolved without
// regard to letter case.
std::string PathToOpen(const MarkSource& source) {
  return source.Path == kStandardStream ? "/dev/stdin" : ResolvePath(source.Path);
}

// How messages name the file: "standard input" for "-", otherwise the path as given.
std::string NameInMessages(const MarkSource& source) {
  return source.Path == kStandardStream ? kStandardInputName : source.Path;
}

bool ImportSource(const MarkSource& source, MarkList& list, MessageSink& sink) {
  const auto& c = source.Columns;
  ImportColumnNumbers columns = ReadImportColumnNumbers(c[0], c[1], c[2], c[3], c[4]);
  columns.DecimalComma = source.DecimalComma;
  return ImportDelimitedText(PathToOpen(source), NameInMessages(source), columns, list, sink) ==
         ImportOutcome::Read;
}

}  // namespace

bool ApplyMarkSources(const std::vector<MarkSource>& sources, MarkList& list, MessageSink& sink) {
  for (const MarkSource& source : sources) {
    switch (source.SourceKind) {
      case MarkSource::Kind::MarkDetails: {
        // A LandXML file adds its monuments that carry MGA coordinates.
        if (IsLandXmlPlan(source.Path)) {
          if (!ImportLandXmlMarks(PathToOpen(source), NameInMessages(source), list, sink)) {
            return false;
          }
          break;
        }
        const OpenResult opened =
            OpenMarkDetailsFile(PathToOpen(source), NameInMessages(source), list, sink);
        // A file refused outright, or whose reading stopped at a refused value, leaves the
        // command without the list it was asked to use.
        if (opened.Outcome != OpenOutcome::Read) return false;
        break;
      }
      case MarkSource::Kind::DelimitedText:
        if (!ImportSource(source, list, sink)) return false;
        break;
    }
  }
  return true;
}

}  // namespace modKestralMGA
