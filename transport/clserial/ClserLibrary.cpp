#include "ClserLibrary.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <utility>

namespace velterra::clserial {

namespace {

// The value with a final ".dll" (any case) replaced by ".so"; unchanged when it has none.
std::string SharedObjectName(const std::string& value) {
    constexpr std::string_view kDll = ".dll";
    if (value.size() < kDll.size()) return value;
    std::string tail = value.substr(value.size() - kDll.size());
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (tail != kDll) return value;
    return value.substr(0, value.size() - kDll.size()) + ".so";
}

void AppendOnce(std::vector<std::string>& names, std::string name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(std::move(name));
    }
}

// The folder libclport.so was loaded from. Libraries beside the transport are found even when
// the search path cannot see them (a sanitizer's dlopen wrapper hides the transport's own
// run path from the dynamic loader).
std::filesystem::path TransportDirectory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LoadNames), &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    return std::filesystem::path(info.dli_fname).parent_path();
}

template <class Fn>
Fn Resolve(void* module, const char* name) {
    return reinterpret_cast<Fn>(dlsym(module, name));
}

}  // namespace

std::vector<std::string> LoadNames(const std::string& value,
                                   const std::filesystem::path& directory) {
    const std::string soName = SharedObjectName(value);
    const std::string libName = "lib" + soName;
    std::vector<std::string> names;
    if (!directory.empty()) {
        AppendOnce(names, (directory / value).string());
        AppendOnce(names, (directory / soName).string());
        AppendOnce(names, (directory / libName).string());
    }
    // Names without a slash make dlopen search the library path.
    if (soName.find('/') == std::string::npos) {
        AppendOnce(names, soName);
        AppendOnce(names, libName);
        const std::filesystem::path transport = TransportDirectory();
        if (!transport.empty()) {
            AppendOnce(names, (transport / soName).string());
            AppendOnce(names, (transport / libName).string());
        }
    }
    return names;
}

ClserLibrary& ClserLibrary::operator=(ClserLibrary&& other) noexcept {
    if (this != &other) {
        Release();
        module_ = std::exchange(other.module_, nullptr);
        serialInit = std::exchange(other.serialInit, nullptr);
        serialRead = std::exchange(other.serialRead, nullptr);
        serialWrite = std::exchange(other.serialWrite, nullptr);
        serialClose = std::exchange(other.serialClose, nullptr);
        setBaudRate = std::exchange(other.setBaudRate, nullptr);
    }
    return *this;
}

void ClserLibrary::Load(const std::string& value, const std::filesystem::path& directory) {
    Release();
    const std::vector<std::string> names = LoadNames(value, directory);
    // A library the process already holds is taken as it is (RTLD_NOLOAD still counts a
    // reference, which Release gives back), so two entries naming it get the same handle.
    for (const std::string& name : names) {
        module_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
        if (module_ != nullptr) return;
    }
    for (const std::string& name : names) {
        module_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module_ != nullptr) return;
    }
}

void ClserLibrary::ResolveEntryPoints() {
    if (module_ == nullptr) return;
    serialInit = Resolve<ClSerialInitFn>(module_, "clSerialInit");
    serialRead = Resolve<ClSerialReadFn>(module_, "clSerialRead");
    serialWrite = Resolve<ClSerialWriteFn>(module_, "clSerialWrite");
    serialClose = Resolve<ClSerialCloseFn>(module_, "clSerialClose");
    setBaudRate = Resolve<ClSetBaudRateFn>(module_, "clSetBaudRate");
    if (!serialInit || !serialRead || !serialWrite || !serialClose) Release();
}

void ClserLibrary::Release() {
    if (module_ != nullptr) dlclose(module_);
    module_ = nullptr;
    serialInit = nullptr;
    serialRead = nullptr;
    serialWrite = nullptr;
    serialClose = nullptr;
    setBaudRate = nullptr;
}

}  // namespace velterra::clserial
