#pragma once

namespace velterra {

// Fixed texts of the application core, spelled as the program shows and uses them.
namespace CoreText {

// The application title, shown after the document title in the window's caption.
inline constexpr const char* kApplicationTitle = "Velterra";

// Files of the start-up directory.
inline constexpr const char* kModelTableFile = "CAM_VL.ini";
inline constexpr const char* kNamedCommandFile = "Command.ini";
inline constexpr const char* kDefaultMenuDatabase = "default_menu.mdb";

// Display name of a block or row whose entry could not be parsed.
inline constexpr const char* kUnknownName = "[Unknown]";

}  // namespace CoreText

}  // namespace velterra
