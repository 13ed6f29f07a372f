#pragma once

#include <string>

#include "cli/CliArguments.h"
#include "common/AtomicFile.h"
#include "common/Seams.h"
#include "exchange/GeoJson.h"

namespace modKestralMGA {

// A command's --geojson output: composed once the command's joins are known, before anything is
// written, so that marks refused leave every output unwritten; then saved to its file, or written
// to standard output ("-") in place of the command's other output.
class GeoJsonOutput {
 public:
  explicit GeoJsonOutput(const MapOutput& map) : m_map(map) {}

  // Composes the text with compose(defaults) when --geojson is given. False when the marks are
  // refused (MapRefused): its message shown under "Save GeoJSON file error" (exclamation).
  template <typename Composer>
  bool Compose(Composer&& compose, MessageSink& sink) {
    if (!m_map.GeoJson) return true;
    try {
      m_text = compose(MapDefaults{m_map.Zone, m_map.Datum});
    } catch (const MapRefused& refused) {
      sink.Message(refused.what(), kSaveGeoJsonTitle, MessageIcon::Exclamation);
      return false;
    }
    return true;
  }

  // Writes the file named by --geojson (not "-") through fileOps, replacing it whole. False after
  // a failure: "Cannot write <path>: <reason>" under "Save GeoJSON file error" (exclamation).
  bool Save(MessageSink& sink, FileOps& fileOps) const;

  // True when the text goes to standard output.
  bool OnStandardOutput() const { return m_map.GeoJson == kStandardStream; }
  const std::string& Text() const { return m_text; }

 private:
  MapOutput m_map;
  std::string m_text;
};

}  // namespace modKestralMGA
