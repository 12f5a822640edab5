#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/exception.h"
#include "platform/core/types.h"

namespace kw {

KW_DECLARE_EXCEPTION(EInOutError, Exception);

// Paths are kw::String. Both "/" and "\\" separate path segments everywhere in this module;
// at the system call every "\\" becomes "/".
inline constexpr Char kPathDelim = u'/';
bool IsPathDelimiter(Char c);
bool IsAbsolutePath(StringView path);
// The UTF-8 form handed to the operating system.
std::string ToNativePath(StringView path);

// --- File system ---------------------------------------------------------------------------
// Regular files only (symbolic links are followed).
bool FileExists(StringView fileName);
bool DirectoryExists(StringView dir);
// Creates the directory and every missing parent; true when it exists afterwards.
bool ForceDirectories(StringView dir);
bool DeleteFile(StringView fileName);
// Replaces an existing target, atomically within one file system.
bool RenameFile(StringView oldName, StringView newName);
// Without a trailing separator. Raises EInOutError when the system refuses.
String GetCurrentDir();
void SetCurrentDir(StringView dir);
// Directory of the running executable, with a trailing separator.
String ExeDir();
// Bare names of the regular files in `dir` matching `mask`, sorted without regard to case.
// A missing directory gives an empty list.
std::vector<String> ListFiles(StringView dir, StringView mask);
// Creates a new empty file named `prefix` plus a unique suffix in `dir` and returns its path.
// Raises EInOutError when no file can be created there.
String TempFileNameIn(StringView dir, StringView prefix);

// --- Path text -----------------------------------------------------------------------------
// "dir/sub/name.ext": path "dir/sub/", dir "dir/sub", name "name.ext", ext ".ext".
String ExtractFilePath(StringView fileName);
String ExtractFileDir(StringView fileName);
String ExtractFileName(StringView fileName);
// With the point; empty when the name part has none.
String ExtractFileExt(StringView fileName);
// `extension` includes the point; an empty one removes the extension.
String ChangeFileExt(StringView fileName, StringView extension);
// Appends "/" unless the text already ends with a separator (an empty text becomes "/").
String IncludeTrailingPathDelimiter(StringView path);
inline String AddPathBar(StringView path) {
    return IncludeTrailingPathDelimiter(path);
}
// Removes one trailing separator; the root "/" stays.
String ExcludeTrailingPathDelimiter(StringView path);
// Absolute form with "." and ".." resolved and "/" as the only separator; a trailing separator
// is kept. A relative name is taken against `dir` (itself taken against the current directory
// when relative). An empty name stays empty.
String ExpandFileName(StringView fileName);
String ExpandFileNameAgainst(StringView fileName, StringView dir);

// Wildcards "*" (any run) and "?" (one character), compared without regard to case.
// An empty mask matches everything.
bool MatchesMask(StringView name, StringView mask);

}  // namespace kw
