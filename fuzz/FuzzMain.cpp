// The libFuzzer entry of one fuzz target, chosen by KESTRAL_FUZZ_ENTRY when it is compiled.
#include <cstddef>
#include <cstdint>

#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return modKestralMGA::fuzz::KESTRAL_FUZZ_ENTRY(data, size);
}
