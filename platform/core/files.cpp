#include "platform/core/files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/text/unicode.h"

namespace kw {

namespace {

// Index just past the last separator: where the name part starts.
std::size_t NameStart(StringView fileName) {
    for (std::size_t i = fileName.size(); i > 0; --i) {
        if (IsPathDelimiter(fileName[i - 1]))
            return i;
    }
    return 0;
}

bool StatPath(StringView path, struct stat& info) {
    return stat(ToNativePath(path).c_str(), &info) == 0;
}

// ASCII and Latin-1 letters, enough for file names and masks compared without regard to case.
Char FoldCase(Char c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<Char>(c - 0x20);
    return c;
}

bool LessIgnoringCase(const String& a, const String& b) {
    const auto byFold = [](Char x, Char y) { return FoldCase(x) < FoldCase(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byFold))
        return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), byFold))
        return false;
    return a < b;
}

std::vector<String> SplitSegments(StringView path) {
    std::vector<String> segments;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsPathDelimiter(path[i])) {
            segments.emplace_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return segments;
}

String NormalizeAbsolute(StringView path) {
    std::vector<String> kept;
    for (String& segment : SplitSegments(path)) {
        if (segment.empty() || segment == u".")
            continue;
        if (segment == u"..") {
            if (!kept.empty())
                kept.pop_back();
            continue;
        }
        kept.push_back(std::move(segment));
    }
    String result;
    for (const String& segment : kept)
        result += kPathDelim + segment;
    if (result.empty() || IsPathDelimiter(path.back()))
        result += kPathDelim;
    return result;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

[[noreturn]] void RaiseInOut(StringView what, StringView path) {
    throw EInOutError(String(what) + u" '" + String(path) + u"'");
}

}  // namespace

bool IsPathDelimiter(Char c) {
    return c == u'/' || c == u'\\';
}

bool IsAbsolutePath(StringView path) {
    return !path.empty() && IsPathDelimiter(path.front());
}

std::string ToNativePath(StringView path) {
    String native(path);
    std::replace(native.begin(), native.end(), u'\\', kPathDelim);
    return StringToUtf8(native);
}

bool FileExists(StringView fileName) {
    struct stat info {};
    return StatPath(fileName, info) && S_ISREG(info.st_mode);
}

bool DirectoryExists(StringView dir) {
    struct stat info {};
    return StatPath(dir, info) && S_ISDIR(info.st_mode);
}

bool ForceDirectories(StringView dir) {
    if (dir.empty())
        return false;
    const String full = ExcludeTrailingPathDelimiter(ExpandFileName(dir));
    if (DirectoryExists(full))
        return true;
    const String parent = ExtractFileDir(full);
    if (parent == full || !ForceDirectories(parent))
        return false;
    return mkdir(ToNativePath(full).c_str(), 0777) == 0 || DirectoryExists(full);
}

bool DeleteFile(StringView fileName) {
    return unlink(ToNativePath(fileName).c_str()) == 0;
}

bool RenameFile(StringView oldName, StringView newName) {
    return std::rename(ToNativePath(oldName).c_str(), ToNativePath(newName).c_str()) == 0;
}

String GetCurrentDir() {
    std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    if (!cwd)
        throw EInOutError(u"Cannot read the current directory");
    return Utf8ToString(cwd.get());
}

void SetCurrentDir(StringView dir) {
    if (chdir(ToNativePath(dir).c_str()) != 0)
        RaiseInOut(u"Cannot change to directory", dir);
}

String ExeDir() {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            throw EInOutError(u"Cannot find the executable's directory");
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return ExtractFilePath(Utf8ToString(buffer));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<String> ListFiles(StringView dir, StringView mask) {
    std::vector<String> names;
    std::unique_ptr<DIR, DirCloser> handle(opendir(ToNativePath(dir).c_str()));
    if (!handle)
        return names;
    const String prefix = AddPathBar(dir);
    while (const dirent* entry = readdir(handle.get())) {
        String name = Utf8ToString(entry->d_name);
        if (MatchesMask(name, mask) && FileExists(prefix + name))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

String TempFileNameIn(StringView dir, StringView prefix) {
    std::string pattern = ToNativePath(AddPathBar(dir) + String(prefix)) + "XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        RaiseInOut(u"Cannot create a temporary file in", dir);
    close(fd);
    return Utf8ToString(pattern);
}

String ExtractFilePath(StringView fileName) {
    return String(fileName.substr(0, NameStart(fileName)));
}

String ExtractFileDir(StringView fileName) {
    String path = ExtractFilePath(fileName);
    if (path.size() > 1 && !IsPathDelimiter(path[path.size() - 2]))
        path.pop_back();
    return path;
}

String ExtractFileName(StringView fileName) {
    return String(fileName.substr(NameStart(fileName)));
}

String ExtractFileExt(StringView fileName) {
    const StringView name = fileName.substr(NameStart(fileName));
    const std::size_t point = name.rfind(u'.');
    return point == StringView::npos ? String() : String(name.substr(point));
}

String ChangeFileExt(StringView fileName, StringView extension) {
    const std::size_t start = NameStart(fileName);
    const std::size_t point = fileName.substr(start).rfind(u'.');
    const StringView stem =
        point == StringView::npos ? fileName : fileName.substr(0, start + point);
    return String(stem) + String(extension);
}

String IncludeTrailingPathDelimiter(StringView path) {
    String result(path);
    if (result.empty() || !IsPathDelimiter(result.back()))
        result += kPathDelim;
    return result;
}

String ExcludeTrailingPathDelimiter(StringView path) {
    String result(path);
    if (result.size() > 1 && IsPathDelimiter(result.back()))
        result.pop_back();
    return result;
}

String ExpandFileName(StringView fileName) {
    return ExpandFileNameAgainst(fileName, GetCurrentDir());
}

String ExpandFileNameAgainst(StringView fileName, StringView dir) {
    if (fileName.empty())
        return String();
    if (IsAbsolutePath(fileName))
        return NormalizeAbsolute(fileName);
    const String base =
        IsAbsolutePath(dir) ? String(dir) : AddPathBar(GetCurrentDir()) + String(dir);
    return NormalizeAbsolute(AddPathBar(base) + String(fileName));
}

bool MatchesMask(StringView name, StringView mask) {
    if (mask.empty())
        return true;
    std::size_t n = 0, m = 0;
    std::size_t starMask = StringView::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == u'?' || FoldCase(mask[m]) == FoldCase(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != StringView::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

}  // namespace kw
