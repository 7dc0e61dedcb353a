// Structural checks of picture files. Picture decoders fill in whatever a cut-off
// GIF, JPEG or PNG file lacks and report success, so a file cut short is caught
// here, from its block structure, before it is decoded.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace toolkit {

// Why the GIF, JPEG, PNG or bitmap file image `Data` is incomplete; "" when it is
// complete or of another kind (left to the decoder).
std::string IncompletePicture(std::span<const std::uint8_t> Data);

}  // namespace toolkit
