#include "cli/PrintPluginLoader.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "common/Errors.h"

namespace modKestralMGA {

std::string PrintPluginFolder() {
  if (const char* folder = std::getenv(kPrintPluginFolderVariable); folder && *folder)
    return folder;
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path installed =
        (program.parent_path() / KESTRAL_INSTALLED_PLUGIN_FOLDER).lexically_normal();
    if (std::filesystem::exists(installed / kPrintPluginFile, error)) return installed.string();
  }
  return KESTRAL_BUILD_PLUGIN_FOLDER;
}

const PrintFunctions* LoadPrintFunctions(const std::string& name, const char* title,
                                         MessageSink& sink) {
  const std::string path = (std::filesystem::path(PrintPluginFolder()) / kPrintPluginFile).string();
  const auto refuse = [&](const std::string& why) -> const PrintFunctions* {
    sink.Message("Cannot write " + name + ": the printing plug-in " + path + " " + why, title,
                 MessageIcon::Exclamation);
    return nullptr;
  };
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return refuse("is missing");
  // A file of another kind is told in words of its own, the same in every language.
  char magic[4] = {};
  std::ifstream(path, std::ios::binary).read(magic, sizeof magic);
  if (std::string_view(magic, sizeof magic) != "\177ELF") return refuse("is not a shared object");
  // Kept open for the rest of the run: its functions may be called again.
  void* plugin = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!plugin) {
    // The loader's reason, without the path it starts with.
    std::string reason = ::dlerror();
    if (reason.starts_with(path + ": ")) reason.erase(0, path.size() + 2);
    return refuse("cannot be loaded: " + reason);
  }
  const auto entry = reinterpret_cast<PrintFunctionsEntry>(::dlsym(plugin, kPrintPluginEntry));
  const PrintFunctions* functions = entry ? entry() : nullptr;
  if (!functions || functions->Version != kPrintFunctionsVersion)
    return refuse("is not one of this version");
  return functions;
}

bool WriteRenderedFile(const std::string& path, const char* title, MessageSink& sink, FileOps& ops,
                       const std::function<bool(std::string& bytes)>& render) {
  std::string bytes;
  if (!render(bytes)) return false;
  try {
    AtomicWriteFile(path, bytes, ops);
    return true;
  } catch (const FileError& error) {
    sink.Message(error.what(), title, MessageIcon::Exclamation);
    return false;
  }
}

}  // namespace modKestralMGA
