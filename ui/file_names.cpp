#include "ui/file_names.h"

namespace velmora {

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  const size_t slash = path.find_last_of('/');
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  // A leading dot names a hidden file, not an extension.
  const size_t dot = file.find_last_of('.');
  if (file.empty() || (dot != std::string::npos && dot > 0)) return path;
  return path + "." + extension;
}

} // namespace velmora
