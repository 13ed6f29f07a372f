#include "cli/SaveCommand.h"

#include "cli/ExitStatus.h"
#include "cli/MarkSources.h"
#include "cli/StandardOutput.h"
#include "cli/StreamMessageSink.h"
#include "marks/MarkCommands.h"
#include "marks/MarkDetailsFile.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

int RunSaveCommand(const SaveArguments& arguments, std::ostream& out, std::ostream& err,
                   FileOps& fileOps) {
  StreamMessageSink sink(err);
  MarkList list;
  if (!ApplyMarkSources(arguments.MarkSources, list, sink)) return kExitFailed;
  if (!CheckListToSave(list, sink)) return kExitFailed;
  if (arguments.Out == kStandardStream) {
    return WriteOutputText(SaveDumpText(list), out) ? kExitDone : OutputWriteFailed(err);
  }
  if (!SaveMarkDetailsFile(arguments.Out, list, sink, fileOps)) return kExitFailed;
  return kExitDone;
}

}  // namespace modKestralMGA
