#pragma once

namespace velterra::bulk {

// Hands a text to the handler installed by tvr_SetMessageHandler, or writes it to standard
// error when none is installed. Used where the library itself must tell the user something.
void ShowLibraryMessage(const char* text);

}  // namespace velterra::bulk
