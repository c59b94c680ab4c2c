// The forms of a file's path that the program accepts (program text).
#pragma once

#include <initializer_list>
#include <string_view>

namespace tovani {

// A full path: a drive letter and ":\" ("X:\..."), not ending in "\".
bool IsFullPath(std::string_view path);
// The text after the path's last "." is, in any letter case of its ASCII
// letters, one of the extensions ("MID", "BMP"); an empty one never is.
bool HasExtension(std::string_view path, std::initializer_list<std::string_view> extensions);

}  // namespace tovani
