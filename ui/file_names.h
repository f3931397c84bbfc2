#pragma once
// File names as the save dialogs hand them over.

#include <string>

namespace velmora {

// path with "." + extension appended when its file name has no extension, as a save
// dialog's default extension does.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

} // namespace velmora
