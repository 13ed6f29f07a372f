#include "cli/MarkSources.h"

#include "common/PathResolve.h"
#include "marks/MarkCommands.h"

namespace modKestralMGA {

bool ApplyMarkSources(const std::vector<MarkSource>& sources, MarkList& list, MessageSink& sink,
                      std::ostream& err) {
  for (const MarkSource& source : sources) {
    switch (source.SourceKind) {
      case MarkSource::Kind::MarkDetails: {
        const OpenResult opened =
            OpenMarkDetailsFile(ResolvePath(source.Path), source.Path, list, sink);
        if (opened.Outcome == OpenOutcome::Refused) return false;
        break;
      }
      case MarkSource::Kind::DelimitedText:
        err << kCliName << ": --import is not available in this version\n";
        return false;
    }
  }
  return true;
}

}  // namespace modKestralMGA
