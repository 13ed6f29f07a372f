#include "cli/GeoJsonOutput.h"

#include "common/Errors.h"

namespace modKestralMGA {

bool GeoJsonOutput::Save(MessageSink& sink, FileOps& fileOps) const {
  if (!m_map.GeoJson || OnStandardOutput()) return true;
  try {
    AtomicWriteFile(*m_map.GeoJson, m_text, fileOps);
  } catch (const FileError& error) {
    sink.Message(error.what(), kSaveGeoJsonTitle, MessageIcon::Exclamation);
    return false;
  }
  return true;
}

}  // namespace modKestralMGA
