// The small pictures on the settings dialog's OK and Cancel buttons: a
// green check mark and a red cross, drawn at whatever size the monitor's
// scale asks for.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

enum class ButtonGlyph { Ok, Cancel };

inline constexpr std::uint32_t kGlyphOkColor = 0x008000;
inline constexpr std::uint32_t kGlyphCancelColor = 0xC00000;

// size x size pixels, rows top down, each 0xAARRGGBB with straight alpha;
// the strokes are anti-aliased. Empty for a size below 1.
std::vector<std::uint32_t> DrawButtonGlyph(ButtonGlyph glyph, int size);

}  // namespace velmora
