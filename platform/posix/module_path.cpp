// GetModuleDirectory and ModuleFileName.
#include "platform/posix/module_path.h"

#include <dlfcn.h>
#include <link.h>

#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/common/module_name.h"
#include "platform/module.h"
#include "platform/posix/native_path.h"

namespace hvx::os {

namespace {

constexpr std::u16string_view kWindowsSuffix = u".dll";
constexpr std::u16string_view kPrefix = u"lib";
constexpr std::u16string_view kSuffix = u".so";

// The file this code was loaded from. The main program's link map entry has an empty name,
// and the name dladdr reports for it is only argv[0], so the program is found through /proc.
std::string ThisModuleFile() {
    Dl_info info{};
    link_map* map = nullptr;
    auto* const self = reinterpret_cast<void*>(&ThisModuleFile);
    if (::dladdr1(self, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) != 0 &&
        map != nullptr && map->l_name != nullptr && map->l_name[0] != '\0') {
        return map->l_name;
    }
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.string();
}

std::string ComputeModuleDirectory() {
    const std::string file = ThisModuleFile();
    const auto slash = file.find_last_of('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

bool EndsWithFolded(std::u16string_view text, std::u16string_view suffix) {
    return text.size() >= suffix.size() &&
           detail::FoldModuleName(text.substr(text.size() - suffix.size())) == suffix;
}

bool IsSharedObjectName(std::u16string_view name) {
    return name.ends_with(kSuffix) || name.find(u".so.") != std::u16string_view::npos;
}

}  // namespace

namespace detail {

const std::string& NativeModuleDirectory() {
    static const std::string directory = ComputeModuleDirectory();
    return directory;
}

}  // namespace detail

std::u16string GetModuleDirectory() {
    return detail::FromNativePath(detail::NativeModuleDirectory());
}

// "mirel.dll" -> "libmirel.so". The name is lower-cased, as the files are built that way and
// Windows would not tell "Mirel.DLL" from "mirel.dll". A name that already is a shared object's
// file name, and any folder part, are kept as written.
std::u16string ModuleFileName(const char16_t* name) {
    if (name == nullptr) {
        return {};
    }
    const std::u16string_view text(name);
    const std::size_t baseStart = text.find_last_of(u'/') + 1;  // npos + 1 == 0
    std::u16string_view base = text.substr(baseStart);
    if (IsSharedObjectName(base)) {
        return std::u16string(text);
    }
    if (EndsWithFolded(base, kWindowsSuffix)) {
        base.remove_suffix(kWindowsSuffix.size());
    }
    std::u16string file(text.substr(0, baseStart));
    file += kPrefix;
    file += detail::FoldModuleName(base);
    file += kSuffix;
    return file;
}

}  // namespace hvx::os
