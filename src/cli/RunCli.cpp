#include "cli/RunCli.h"

#include <exception>
#include <new>

#include "cli/BatchCommand.h"
#include "cli/CliArguments.h"
#include "cli/CompareCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/ExitStatus.h"
#include "cli/JoinsCommand.h"
#include "cli/OutputPaths.h"
#include "cli/SaveCommand.h"
#include "cli/StandardOutput.h"

namespace modKestralMGA {

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunCli(args, out, err, SystemFileOps());
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileOps& fileOps) {
  try {
    const CliArguments arguments = ParseCliArguments(args);
    CheckOutputsAreNotInputs(arguments);
    switch (arguments.Which) {
      case CliArguments::Command::Help:
      case CliArguments::Command::Version:
        if (!WriteOutputText(arguments.Text, out)) return OutputWriteFailed(err);
        return kExitDone;
      case CliArguments::Command::Compare:
        return RunCompareCommand(arguments.Compare, out, err, fileOps);
      case CliArguments::Command::Diagnose:
        return RunDiagnoseCommand(arguments.Compare, out, err, fileOps);
      case CliArguments::Command::Joins:
        return RunJoinsCommand(arguments.Joins, out, err, fileOps);
      case CliArguments::Command::Save:
        return RunSaveCommand(arguments.Save, out, err, fileOps);
      case CliArguments::Command::Batch:
        return RunBatchCommand(arguments.Batch, out, err, fileOps);
      case CliArguments::Command::Convert:
        return RunConvertCommand(arguments.Convert, out, err, fileOps);
    }
  } catch (const BadArguments& error) {
    err << kCliName << ": " << error.what() << '\n';
  } catch (const std::bad_alloc&) {
    err << kCliName << ": not enough memory\n";
  } catch (const std::exception& error) {
    err << kCliName << ": " << error.what() << '\n';
  }
  return kExitFailed;
}

}  // namespace modKestralMGA
